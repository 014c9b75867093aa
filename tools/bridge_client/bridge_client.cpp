// Win32 side of the bridge client: the client window, sends with timeouts and
// a message pump that waits for the console's notifications.
#include "tools/bridge_client/bridge_client.h"

#include <windows.h>

#include "bridge/bridge.h"
#include "tools/bridge_client/key_map.h"
#include "tools/bridge_client/stream_files.h"

namespace {

LRESULT CALLBACK clientWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* client = reinterpret_cast<BridgeClient*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (client && (message == WM_BRIDGE_INPUT || message == WM_BRIDGE_PAUSE)) {
        client->onNotification(message);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool registerClientClass() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = clientWindowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = CLIENT_WINDOW_CLASS;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

constexpr DWORD SHIFT_SETTLE_MS = 100;

// Handles everything waiting for this thread, sent messages included.
void pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct WindowSearch {
    unsigned long processId;
    HWND found;
};

BOOL CALLBACK matchConsoleWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    char name[64];
    if (!GetClassNameA(window, name, sizeof name) || lstrcmpA(name, CONSOLE_WINDOW_CLASS) != 0) return TRUE;
    if (!GetWindowTextA(window, name, sizeof name) || lstrcmpA(name, CONSOLE_WINDOW_CLASS) != 0) return TRUE;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) return TRUE;
    search->found = window;
    return FALSE;
}

// Any console window, or the one of the given process.
HWND findConsoleWindow(unsigned long processId) {
    if (processId == 0) return FindWindowA(CONSOLE_WINDOW_CLASS, CONSOLE_WINDOW_CLASS);
    WindowSearch search = {processId, nullptr};
    EnumWindows(matchConsoleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

BridgeClient::~BridgeClient() { close(); }

bool BridgeClient::open() {
    if (window) return true;
    if (!registerClientClass()) return false;
    // Never shown: a visible client window would take the activation from the
    // console, which stops drawing while inactive.
    window = CreateWindowExA(0, CLIENT_WINDOW_CLASS, "korvane client", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             GetModuleHandleA(nullptr), this);
    return window != nullptr;
}

void BridgeClient::close() {
    if (window) DestroyWindow(static_cast<HWND>(window));
    window = nullptr;
}

bool BridgeClient::findConsole(unsigned timeoutMs, unsigned long processId) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND found = findConsoleWindow(processId);
        DWORD_PTR result = 0;
        if (found && SendMessageTimeoutA(found, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result)) {
            console = found;
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) return false;
        pumpMessages();
        Sleep(50);
    }
}

bool BridgeClient::consoleAlive() const { return console && IsWindow(static_cast<HWND>(console)); }

unsigned long BridgeClient::consoleProcessId() const {
    DWORD processId = 0;
    if (console) GetWindowThreadProcessId(static_cast<HWND>(console), &processId);
    return processId;
}

bool BridgeClient::send(unsigned message) { return sendMessage(message, 0, 0); }

bool BridgeClient::sendMessage(unsigned message, unsigned long long wParam, long long lParam) {
    if (!consoleAlive()) return false;
    DWORD_PTR result = 0;
    // SMTO_NORMAL: the console's notifications, sent while it handles this
    // message, reach our window during the wait.
    return SendMessageTimeoutA(static_cast<HWND>(console), message, static_cast<WPARAM>(wParam),
                               static_cast<LPARAM>(lParam), SMTO_NORMAL, replyTimeoutMs, &result) != 0;
}

bool BridgeClient::print(const std::string& text) { return writeStreamOut(text) && printFile(); }
bool BridgeClient::printFile() { return send(WM_BRIDGE_PRINT); }
bool BridgeClient::requestLine() { return send(WM_BRIDGE_INPUT); }
bool BridgeClient::prompt() { return send(WM_BRIDGE_PROMPT); }
bool BridgeClient::cancel() { return send(WM_BRIDGE_CANCEL); }
bool BridgeClient::clear() { return send(WM_BRIDGE_CLEAR); }
bool BridgeClient::requestPause() { return send(WM_BRIDGE_PAUSE); }

bool BridgeClient::waitNotification(unsigned message, unsigned timeoutMs) {
    const int* received = message == WM_BRIDGE_INPUT ? &linesReceived : &pausesReceived;
    int* taken = message == WM_BRIDGE_INPUT ? &linesTaken : &pausesTaken;
    const DWORD start = GetTickCount();
    for (;;) {
        pumpMessages();
        if (*received > *taken) {
            ++*taken;
            return true;
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

bool BridgeClient::waitLine(std::string& line, unsigned timeoutMs) {
    return waitNotification(WM_BRIDGE_INPUT, timeoutMs) && readStreamIn(line);
}

bool BridgeClient::readLine(std::string& line, unsigned timeoutMs) {
    return requestLine() && waitLine(line, timeoutMs);
}

bool BridgeClient::waitPauseEnd(unsigned timeoutMs) { return waitNotification(WM_BRIDGE_PAUSE, timeoutMs); }

void BridgeClient::discardNotifications() {
    pumpMessages();
    linesTaken = linesReceived;
    pausesTaken = pausesReceived;
}

bool BridgeClient::postMessage(unsigned message, unsigned long long wParam, long long lParam) {
    return consoleAlive() && PostMessageA(static_cast<HWND>(console), message, static_cast<WPARAM>(wParam),
                                          static_cast<LPARAM>(lParam)) != 0;
}

bool BridgeClient::key(unsigned virtualKey) { return sendMessage(WM_KEYDOWN, virtualKey, 1); }

bool BridgeClient::shiftedKey(unsigned virtualKey) {
    INPUT shift[2] = {};
    shift[0].type = shift[1].type = INPUT_KEYBOARD;
    shift[0].ki.wVk = shift[1].ki.wVk = VK_SHIFT;
    shift[1].ki.dwFlags = KEYEVENTF_KEYUP;
    if (SendInput(1, &shift[0], sizeof(INPUT)) != 1) return false;
    const bool handled = key(virtualKey);
    SendInput(1, &shift[1], sizeof(INPUT));
    return handled;
}

bool BridgeClient::type(const std::string& text) {
    for (char c : text)
        if (keyForCharacter(c) == 0 && shiftedKeyForCharacter(c) == 0) return false;
    bool caps = false;
    bool shifted = false;
    for (char c : text) {
        const bool capital = c >= 'A' && c <= 'Z';
        const bool letter = capital || (c >= 'a' && c <= 'z');
        if (letter && capital != caps) {
            if (!key(KEY_CAPS_LOCK)) return false;
            caps = capital;
        }
        const unsigned plain = keyForCharacter(c);
        shifted = shifted || plain == 0;
        if (!(plain ? key(plain) : shiftedKey(shiftedKeyForCharacter(c)))) return false;
    }
    // Let the console take the Shift key messages that the real input queued:
    // one arriving after a later request had started a pause would end it.
    if (shifted) Sleep(SHIFT_SETTLE_MS);
    return !caps || key(KEY_CAPS_LOCK);
}

void BridgeClient::setNotificationHandler(NotificationHandler newHandler, void* context) {
    handler = newHandler;
    handlerContext = context;
}

void BridgeClient::onNotification(unsigned message) {
    if (message == WM_BRIDGE_INPUT) ++linesReceived;
    if (message == WM_BRIDGE_PAUSE) ++pausesReceived;
    if (handler) handler(*this, message, handlerContext);
}
