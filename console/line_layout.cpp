// Keeping the buffer displayable: at most 39 lines, none longer than the
// wrap width allows.
#include <cstring>

#include "console/console.h"

void Console::trimLines() {
    // The count is kept as text comes and goes: nothing to scan when the
    // buffer has room for more lines.
    settle();
    if (lineBreaks <= MAX_LINE_BREAKS) return;

    // Drop as many of the oldest lines as it takes to leave MAX_LINE_BREAKS.
    int toDrop = lineBreaks - MAX_LINE_BREAKS;
    const char* p = text;
    const char* const end = text + textLength;
    for (;; ++p) {
        p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        if (--toDrop == 0) break;
    }
    dropLines(static_cast<int>(p - text) + 1, lineBreaks - MAX_LINE_BREAKS);
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
    settle();
    const int total = length();
    if (total >= WRAP_MIN_LENGTH && needsWrap(text, total, wrapWidth)) {
        wrapInPlace();
    }
    // Wrapping adds lines, and so can a typed line break: the newest line
    // must stay the lowest one on the screen.
    trimLines();
}

void Console::wrapInPlace() {
    const int total = length();
    // Length of the open input line up to its end or its next break.
    int inputLength = 0;
    if (inputOpen && inputStart >= 0 && inputStart < total) {
        const void* lineEnd = std::memchr(text + inputStart, '\n', static_cast<std::size_t>(total - inputStart));
        inputLength = (lineEnd ? static_cast<int>(static_cast<const char*>(lineEnd) - text) : total) - inputStart;
    }
    // Where cancelInput would cut: breaks put behind it and up to the input
    // start go with the prompt.
    const int promptCut = inputOpen ? inputStart - PROMPT_CUT - inputWrapBreaks : -1;

    // Every character gains at most one break in front of it, and the input
    // line one more: twice the buffer always holds the result.
    char wrapped[2 * CONSOLE_BUFFER_SIZE + 2];
    int wrapBreaks = inputWrapBreaks;
    std::size_t out = 0;
    int column = 0;
    int movedInputStart = inputStart;
    for (int i = 0; i < total; ++i) {
        const char c = text[i];
        const std::size_t before = out;
        // A break inside the typed line would be handed over with it on
        // Enter: break in front of the line instead.
        if (i == inputStart && column > 0 && column + inputLength >= wrapWidth) {
            wrapped[out++] = '\n';
            column = 0;
        }
        column = c == '\n' ? 0 : column + 1;
        if (column >= wrapWidth) {
            wrapped[out++] = '\n';
            column = 1;
        }
        if (inputOpen && i > promptCut && i <= inputStart) wrapBreaks += static_cast<int>(out - before);
        // The input start follows its character, after any break put in front of it.
        if (i == inputStart) movedInputStart = static_cast<int>(out);
        wrapped[out++] = c;
    }
    if (inputStart >= total) movedInputStart = static_cast<int>(out);

    clear();
    inputStart = movedInputStart;
    append(wrapped, out);
    inputWrapBreaks = wrapBreaks;
}
