// What the console does for each request of its client.
#include "bridge/bridge_requests.h"

#include <cstdio>
#include <cstring>

#include "console/console.h"
#include "console/terminal_print.h"

TerminalPrint& bridgeTerminal() {
    static TerminalPrint terminal;
    return terminal;
}

namespace {

// Where the screen line of the open input line begins: after the last line
// break in front of its start that wrapping did not put there.
int inputLineStart(const Console& console) {
    int breaksToSkip = console.inputWrapBreaks;
    for (int at = console.inputStart - 1; at >= 0; --at) {
        if (console.text[at] != '\n') continue;
        if (breaksToSkip-- == 0) return at + 1;
    }
    return 0;
}

// The input line, from the start of its screen line (its prompt) to the end
// of the buffer, taken off while a print goes in above it.
struct DetachedLine {
    char chars[CONSOLE_BUFFER_SIZE];
    int length = 0;
    int typed = 0;  // of which typed after the input start
};

void detachInputLine(Console& console, DetachedLine& line) {
    const int total = console.length();
    const int start = inputLineStart(console);
    const int inputStart =
        console.inputStart < start ? start : (console.inputStart > total ? total : console.inputStart);
    line.length = total - start;
    line.typed = total - inputStart;
    std::memcpy(line.chars, console.text + start, static_cast<std::size_t>(line.length));
    console.text[start] = '\0';
    console.recount();
}

void reattachInputLine(Console& console, const DetachedLine& line) {
    const int total = console.length();
    if (total > 0 && console.text[total - 1] != '\n') console.append("\n", 1);
    console.append(line.chars, static_cast<std::size_t>(line.length));
    console.inputStart = console.length() - line.typed;
}

}  // namespace

void bridgePrint(Console& console, const char* path, unsigned long long flags) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return;
    // Kept off the heap: a print cannot fail for want of memory.
    static DetachedLine line;
    const bool above = (flags & BRIDGE_PRINT_ABOVE_INPUT) != 0 && console.inputOpen;
    if (above) detachInputLine(console, line);
    // Streamed in chunks: the buffer keeps only the newest text anyway, so a
    // file of any size costs one pass and no copy of its own size.
    static char chunk[64 * 1024];
    std::size_t n;
    if (flags & BRIDGE_PRINT_TERMINAL) {
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bridgeTerminal().print(console, chunk, n);
    } else {
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
            const void* zero = std::memchr(chunk, '\0', n);
            if (zero) n = static_cast<std::size_t>(static_cast<const char*>(zero) - chunk);
            console.append(chunk, n);
            if (zero) break;  // a zero byte ends the text
        }
    }
    std::fclose(file);
    if (above) reattachInputLine(console, line);
    console.trimLines();
}

bool handleBridgeRequest(Console& console, unsigned message, unsigned long long wParam) {
    switch (message) {
    case WM_BRIDGE_INPUT:
        console.clientInput = true;
        console.beginInput();
        return true;
    case WM_BRIDGE_PRINT: bridgePrint(console, STREAM_OUT_PATH, wParam); return true;
    case WM_BRIDGE_PROMPT: console.showPrompt(); return true;
    case WM_BRIDGE_CANCEL:
        console.cancelInput();
        std::printf("\n");
        std::fflush(stdout);
        return true;
    case WM_BRIDGE_CLEAR: console.clear(); return true;
    case WM_BRIDGE_PAUSE:
        console.clientPause = true;
        console.pause();
        return true;
    default: return false;
    }
}
