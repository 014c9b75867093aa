// Appending to the fixed buffer without ever passing its capacity, and
// dropping text at its front while keeping the input start on its character.
#include <cstring>

#include "console/console.h"
#include "console/platform.h"
#include "console/text_helpers.h"

namespace {

// The character at index i of the old text followed by the new characters.
char joinedAt(const char* old, std::size_t oldLength, const char* added, std::size_t i) {
    return i < oldLength ? old[i] : added[i - oldLength];
}

// Where the kept text starts when only the newest `keep` characters fit: at
// the first line start inside that window, or, when the window holds a single
// unfinished line, at the window's start.
std::size_t keptStart(const char* old, std::size_t oldLength, const char* added, std::size_t total, std::size_t keep) {
    const std::size_t window = total - keep;
    if (window == 0 || joinedAt(old, oldLength, added, window - 1) == '\n') return window;
    if (window < oldLength) {
        const void* hit = std::memchr(old + window, '\n', oldLength - window);
        if (hit) return static_cast<std::size_t>(static_cast<const char*>(hit) - old) + 1;
    }
    const std::size_t from = window > oldLength ? window - oldLength : 0;
    const std::size_t addedLength = total - oldLength;
    const void* hit = std::memchr(added + from, '\n', addedLength - from);
    if (hit) return oldLength + static_cast<std::size_t>(static_cast<const char*>(hit) - added) + 1;
    return window;
}

}  // namespace

void Console::append(const char* chars, std::size_t n) {
    // Part of the buffer appended to itself: the moves below would overwrite
    // it before it is copied, so it is copied out first.
    if (chars >= text && chars < text + CONSOLE_BUFFER_SIZE) {
        char own[CONSOLE_BUFFER_SIZE];
        const std::size_t inside = static_cast<std::size_t>(text + CONSOLE_BUFFER_SIZE - chars);
        if (n > inside) n = inside;
        std::memcpy(own, chars, n);
        append(own, n);
        return;
    }
    settle();
    if (n > 0) platform::screenChanged();
    const std::size_t oldLength = static_cast<std::size_t>(textLength);
    if (n <= static_cast<std::size_t>(CONSOLE_CAPACITY) - oldLength) {
        std::memcpy(text + oldLength, chars, n);
        text[oldLength + n] = '\0';
        textLength = static_cast<int>(oldLength + n);
        lineBreaks += countBreaks(chars, n);
        return;
    }

    const std::size_t total = oldLength + n;
    const std::size_t start = keptStart(text, oldLength, chars, total, CONSOLE_CAPACITY);
    // What does not fit goes to the history, as trimming's lines do.
    if (start < oldLength) {
        history.addText(text, start, wrapWidth);
    } else {
        history.addText(text, oldLength, wrapWidth);
        history.addText(chars, start - oldLength, wrapWidth);
    }
    std::size_t kept = 0;
    if (start < oldLength) {
        kept = oldLength - start;
        std::memmove(text, text + start, kept);
        std::memcpy(text + kept, chars, n);
        kept += n;
    } else {
        kept = total - start;
        std::memcpy(text, chars + (start - oldLength), kept);
    }
    text[kept] = '\0';
    textLength = static_cast<int>(kept);
    lineBreaks = countBreaks(text, kept);
    inputStart = start >= static_cast<std::size_t>(inputStart) ? 0 : inputStart - static_cast<int>(start);
}

void Console::dropLines(int n, int breaks) {
    // n characters that end in a break, holding `breaks` breaks.
    history.addText(text, static_cast<std::size_t>(n), wrapWidth);
    std::memmove(text, text + n, static_cast<std::size_t>(textLength - n) + 1);
    textLength -= n;
    lineBreaks -= breaks;
    inputStart = inputStart > n ? inputStart - n : 0;
}

void Console::cutAt(int index) {
    settle();
    if (index < 0 || index >= textLength) return;
    lineBreaks -= countBreaks(text + index, static_cast<std::size_t>(textLength - index));
    text[index] = '\0';
    textLength = index;
    platform::screenChanged();
}
