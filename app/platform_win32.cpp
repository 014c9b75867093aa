// The console core's platform effects, made with the real Win32 calls.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "app/globals.h"
#include "bridge/bridge.h"
#include "console/platform.h"
#include "framework/text/font.h"

namespace platform {

bool notifyClient(unsigned message) {
    // Looked up every time: the client may come and go.
    HWND client = FindWindowA(CLIENT_WINDOW_CLASS, nullptr);
    SendMessageA(client, message, 0, 0);
    return client != nullptr;
}

void openWithShell(const char* program, const char* parameters) {
    ShellExecuteA(nullptr, "open", program, parameters, nullptr, SW_SHOW);
}

bool findFile(const char* name) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(name, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

bool shiftHeld() { return GetAsyncKeyState(VK_SHIFT) != 0; }

// Only the "down" bits: the "pressed since the last query" bit of
// GetAsyncKeyState would make a Control released long ago count. The
// thread's key state is the one of the key message being handled (a quick
// Ctrl+C whose Control is already up again); the asynchronous one sees a
// Control sent as input just before a key that is sent, not posted.
bool controlHeld() {
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0 || (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
}

void closeDisplay() { display.close(); }

void screenChanged() { display.invalidate(); }

FontHandle createConsoleFont() { return createFont("Arial", 12); }

}  // namespace platform
