// What the console does for each request of its client.
#include "bridge/bridge_requests.h"

#include <cstdio>
#include <cstdlib>

#include "commands/file_helpers.h"
#include "console/console.h"

void bridgePrint(Console& console, const char* path) {
    const std::int64_t size = fileSize(path);
    if (size < 0) return;
    const std::size_t capacity = static_cast<std::size_t>(size) + 1 < 2 ? 2 : static_cast<std::size_t>(size) + 1;
    char* text = static_cast<char*>(std::malloc(capacity));
    if (!text) return;
    // The file may have vanished between its size and its read.
    if (readFile(path, text, capacity)) console << text;
    std::free(text);
}

bool handleBridgeRequest(Console& console, unsigned message) {
    switch (message) {
    case WM_BRIDGE_INPUT:
        console.clientInput = true;
        console.beginInput();
        return true;
    case WM_BRIDGE_PRINT: bridgePrint(console); return true;
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
