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

void bridgePrint(Console& console, const char* path, unsigned long long flags) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return;
    // Streamed in chunks: the buffer keeps only the newest text anyway, so a
    // file of any size costs one pass and no copy of its own size.
    static char chunk[64 * 1024];
    std::size_t n;
    if (flags & BRIDGE_PRINT_TERMINAL) {
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bridgeTerminal().print(console, chunk, n);
        std::fclose(file);
        return;
    }
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        const void* zero = std::memchr(chunk, '\0', n);
        if (zero) n = static_cast<std::size_t>(static_cast<const char*>(zero) - chunk);
        console.append(chunk, n);
        if (zero) break;  // a zero byte ends the text
    }
    std::fclose(file);
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
