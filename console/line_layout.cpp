// Keeping the buffer displayable: at most 39 lines, none longer than the
// wrap width allows.
#include <cstring>
#include <vector>

#include "console/console.h"

void Console::trimLines() {
    const int total = length();
    int breaks = 0;
    for (const char* p = text; (p = static_cast<const char*>(std::memchr(p, '\n', text + total - p))); ++p) ++breaks;
    if (breaks <= MAX_LINE_BREAKS) return;

    // Drop as many of the oldest lines as it takes to leave MAX_LINE_BREAKS.
    int toDrop = breaks - MAX_LINE_BREAKS;
    const char* p = text;
    for (;; ++p) {
        p = static_cast<const char*>(std::memchr(p, '\n', text + total - p));
        if (--toDrop == 0) break;
    }
    dropFront(static_cast<int>(p - text) + 1);
}

namespace {

// True when some line reaches the wrap width, that is when wrapping would
// insert at least one break.
bool needsWrap(const char* text, int length, int width) {
    int column = 0;
    for (int i = 0; i < length; ++i) {
        column = text[i] == '\n' ? 0 : column + 1;
        if (column >= width) return true;
    }
    return false;
}

}  // namespace

void Console::wrapLines() {
    const int total = length();
    if (total < WRAP_MIN_LENGTH) return;
    if (!needsWrap(text, total, wrapWidth)) return;

    // Length of the open input line up to its end or its next break.
    int inputLength = 0;
    if (inputOpen && inputStart >= 0 && inputStart < total) {
        const void* lineEnd = std::memchr(text + inputStart, '\n', static_cast<std::size_t>(total - inputStart));
        inputLength = (lineEnd ? static_cast<int>(static_cast<const char*>(lineEnd) - text) : total) - inputStart;
    }

    std::vector<char> wrapped;
    wrapped.reserve(static_cast<std::size_t>(total) * 2);
    int column = 0;
    int movedInputStart = inputStart;
    for (int i = 0; i < total; ++i) {
        const char c = text[i];
        // A break inside the typed line would be handed over with it on
        // Enter: break in front of the line instead.
        if (i == inputStart && column > 0 && column + inputLength >= wrapWidth) {
            wrapped.push_back('\n');
            column = 0;
        }
        column = c == '\n' ? 0 : column + 1;
        if (column >= wrapWidth) {
            wrapped.push_back('\n');
            column = 1;
        }
        // The input start follows its character, after any break put in front of it.
        if (i == inputStart) movedInputStart = static_cast<int>(wrapped.size());
        wrapped.push_back(c);
    }
    if (inputStart >= total) movedInputStart = static_cast<int>(wrapped.size());

    text[0] = '\0';
    inputStart = movedInputStart;
    append(wrapped.data(), wrapped.size());
}
