// The printf forms of TextPainter: format into a heap buffer exactly as long
// as the result (measured by a first pass), draw it, free it.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "framework/text/text_painter.h"

namespace {

// Null when the format cannot be formatted or memory runs out.
char* formatText(const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) {
        return nullptr;
    }
    const std::size_t size = static_cast<std::size_t>(length) + 1;
    char* buffer = static_cast<char*>(std::malloc(size));
    if (buffer) {
        std::vsnprintf(buffer, size, format, args);
    }
    return buffer;
}

}  // namespace

void TextPainter::printAt(int x, int y, const char* format, ...) {
    va_list args;
    va_start(args, format);
    char* text = formatText(format, args);
    va_end(args);
    if (text) {
        drawText(text, x, y);
        std::free(text);
    }
}

void TextPainter::printInRect(int left, int top, int right, int bottom, const char* format, ...) {
    va_list args;
    va_start(args, format);
    char* text = formatText(format, args);
    va_end(args);
    if (text) {
        drawTextInRect(text, left, top, right, bottom);
        std::free(text);
    }
}
