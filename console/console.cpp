// The buffer and its output operations: reset, append, formatted print, the
// input line and the pause.
#include "console/console.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "console/format_text.h"
#include "console/platform.h"
#include "console/text_helpers.h"

void Console::load() {
    clear();
    font = platform::createConsoleFont();
    backColor = DEFAULT_BACK_COLOR;
    textColor = DEFAULT_TEXT_COLOR;
    wrapWidth = DEFAULT_WRAP_WIDTH;
    inputOpen = false;
    paused = false;
    batchMode = false;
    clientInput = false;
    clientPause = false;
    inputStart = 0;
    commandLine = nullptr;
    batchDepth = 0;
    inputWrapBreaks = 0;
    history.reserve();
    view.toLive();
    selection.clear();
    paste.drop();
    pasteStopped = false;
}

// Everything the screen shows comes from the buffer, the colours, the font
// and whether the input line is open: each change of them tells the platform
// (the setters, clear and the input line's opening and closing here; append
// and cutAt, through which all text comes and goes; Enter in the line editor).
void Console::setBackColor(ColorRef color) {
    backColor = color;
    platform::screenChanged();
}
void Console::setTextColor(ColorRef color) {
    textColor = color;
    platform::screenChanged();
}
void Console::setFont(FontHandle handle) {
    font = handle;
    platform::screenChanged();
}

int Console::scanLength() const {
    const void* end = std::memchr(text, 0, CONSOLE_BUFFER_SIZE);
    // A buffer without its terminator is treated as full.
    return end ? static_cast<int>(static_cast<const char*>(end) - text) : CONSOLE_CAPACITY;
}

void Console::recount() {
    textLength = scanLength();
    text[textLength] = '\0';  // a buffer that lost its terminator ends at its capacity
    lineBreaks = countBreaks(text, static_cast<std::size_t>(textLength));
}

void Console::write(const char* string) {
    // Measured first: the string may be part of the buffer.
    append(string, std::strlen(string));
    trimLines();
}

void Console::printf(const char* format, ...) {
    if (inputOpen) return;  // discarded, not kept for later

    char small[256];
    va_list args;
    va_start(args, format);
    // The common formats skip the runtime's printf engine, which is slow
    // where the program runs.
    const int simple = formatSimple(small, sizeof small, format, args);
    if (simple >= 0) {
        va_end(args);
        append(small, static_cast<std::size_t>(simple));
        trimLines();
        return;
    }
    va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (needed < 0) {
        va_end(again);
        return;
    }
    if (static_cast<std::size_t>(needed) < sizeof small) {
        va_end(again);
        write(small);
        return;
    }
    char* big = new (std::nothrow) char[static_cast<std::size_t>(needed) + 1];
    if (big) {
        std::vsnprintf(big, static_cast<std::size_t>(needed) + 1, format, again);
        write(big);
        delete[] big;
    } else {
        write(OUT_OF_MEMORY_TEXT);
    }
    va_end(again);
}

void Console::clear() {
    text[0] = '\0';
    textLength = 0;
    lineBreaks = 0;
    // The input line now starts at the (empty) end of the buffer.
    if (inputStart > 0) inputStart = 0;
    inputWrapBreaks = 0;
    platform::screenChanged();
}

void Console::beginInput() {
    inputOpen = true;
    inputStart = length();
    inputWrapBreaks = 0;
    platform::screenChanged();
}

void Console::cancelInput() {
    if (!inputOpen) return;
    inputOpen = false;
    platform::screenChanged();
    // The breaks wrapping put in front of the typed text go with the prompt.
    const int cut = inputStart - PROMPT_CUT - inputWrapBreaks;
    inputWrapBreaks = 0;
    cutAt(cut < 0 ? 0 : cut);
}

void Console::showPrompt() {
    trimLines();
    if (batchMode) return;
    printf("%s", PROMPT_TEXT);
    beginInput();
}

void Console::pause() {
    printf("%s", PAUSE_TEXT);
    paused = true;
}
