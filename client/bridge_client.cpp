// Win32 side of the bridge client: the client window, sends with timeouts and
// a message pump that waits for the console's notifications.
#include "client/bridge_client.h"

#include <windows.h>

#include "bridge/bridge.h"
#include "client/bridge_turns.h"
#include "client/key_map.h"
#include "client/stream_files.h"
#include "client/window_search.h"

namespace {

LRESULT CALLBACK clientWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* client = reinterpret_cast<BridgeClient*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (client && (message == WM_BRIDGE_INPUT || message == WM_BRIDGE_PAUSE || message == WM_BRIDGE_INTERRUPT)) {
        client->onNotification(message);
        return 0;
    }
    if (client && (message == RELAYED_PRINT || message == RELAYED_CANCEL))
        return static_cast<LRESULT>(client->onRelayedOffer(message, wParam, lParam));
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
// How often a wait looks whether the console's window still exists.
constexpr DWORD ALIVE_CHECK_MS = 100;

// Any console window, or the one of the given process.
HWND findConsoleWindow(unsigned long processId) {
    WindowQuery query;
    query.className = CONSOLE_WINDOW_CLASS;
    query.title = CONSOLE_WINDOW_CLASS;
    query.processId = processId;
    return static_cast<HWND>(findTopWindow(query));
}

}  // namespace

BridgeClient::~BridgeClient() {
    close();
    closeTurns(exchangeMutex, notificationMutex);
}

BridgeResult BridgeClient::open(unsigned timeoutMs) {
    if (window) return {};
    if (!registerClientClass()) return BridgeError::clientWindow;
    if (const BridgeResult turn = takeNotificationTurn(timeoutMs); !turn) return turn;
    // Never shown: a visible client window would take the activation from the
    // console, which stops drawing while inactive.
    window = CreateWindowExA(0, CLIENT_WINDOW_CLASS, "korvane client", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             GetModuleHandleA(nullptr), this);
    if (!window) {
        close();
        return BridgeError::clientWindow;
    }
    if (relay) SetPropA(static_cast<HWND>(window), RELAY_PROPERTY, reinterpret_cast<HANDLE>(1));
    return {};
}

BridgeResult BridgeClient::takeNotificationTurn(unsigned timeoutMs) {
    if (holdsNotifications) return {};
    const BridgeResult turn = waitTurn(notificationMutex, NOTIFICATION_MUTEX_NAME, timeoutMs);
    holdsNotifications = turn && notificationMutex != nullptr;
    return turn;
}

void BridgeClient::close() {
    if (window) {
        RemovePropA(static_cast<HWND>(window), RELAY_PROPERTY);
        DestroyWindow(static_cast<HWND>(window));
    }
    window = nullptr;
    if (holdsNotifications) ReleaseMutex(static_cast<HANDLE>(notificationMutex));
    holdsNotifications = false;
}

BridgeResult BridgeClient::findConsole(unsigned timeoutMs, unsigned long processId) {
    const DWORD start = GetTickCount();
    HWND found = findConsoleWindow(processId);
    while (!found) {
        if (GetTickCount() - start >= timeoutMs) return BridgeError::noConsole;
        pumpMessages();
        Sleep(50);
        found = findConsoleWindow(processId);
    }
    if (!windowAnswers(found, replyTimeoutMs))
        return IsWindow(found) ? BridgeError::noAnswer : BridgeError::consoleGone;
    console = found;
    return {};
}

bool BridgeClient::consoleAlive() const { return console && IsWindow(static_cast<HWND>(console)); }

unsigned long BridgeClient::consoleProcessId() const {
    DWORD processId = 0;
    if (console) GetWindowThreadProcessId(static_cast<HWND>(console), &processId);
    return processId;
}

BridgeResult BridgeClient::send(unsigned message) {
    if (!console) return BridgeError::noConsole;
    const Exchange exchange(*this);
    if (!exchange.result()) return exchange.result();
    return sendMessage(message, 0, 0);
}

BridgeResult BridgeClient::sendMessage(unsigned message, unsigned long long wParam, long long lParam) {
    if (!console) return BridgeError::noConsole;
    if (!consoleAlive()) return BridgeError::consoleGone;
    DWORD_PTR result = 0;
    // SMTO_NORMAL: the console's notifications, sent while it handles this
    // message, reach our window during the wait.
    if (SendMessageTimeoutA(static_cast<HWND>(console), message, static_cast<WPARAM>(wParam),
                            static_cast<LPARAM>(lParam), SMTO_NORMAL, replyTimeoutMs, &result))
        return {};
    return consoleAlive() ? BridgeError::noAnswer : BridgeError::consoleGone;
}

BridgeResult BridgeClient::print(const std::string& text, unsigned flags) {
    if (!console) return BridgeError::noConsole;
    const Exchange exchange(*this);
    if (!exchange.result()) return exchange.result();
    if (!writeStreamOut(text)) return BridgeError::streamOut;
    return printStreamFile(flags);
}

BridgeResult BridgeClient::printFile(unsigned flags) {
    if (!console) return BridgeError::noConsole;
    const Exchange exchange(*this);
    if (!exchange.result()) return exchange.result();
    return printStreamFile(flags);
}

BridgeResult BridgeClient::printStreamFile(unsigned flags) {
    BridgeResult relayed;
    if (offerToRelayer(RELAYED_PRINT, relayed)) return relayed;
    return sendMessage(WM_BRIDGE_PRINT, flags, 0);
}
BridgeResult BridgeClient::requestLine() { return send(WM_BRIDGE_INPUT); }
BridgeResult BridgeClient::prompt() { return send(WM_BRIDGE_PROMPT); }
BridgeResult BridgeClient::cancel() {
    if (!console) return BridgeError::noConsole;
    const Exchange exchange(*this);
    if (!exchange.result()) return exchange.result();
    BridgeResult relayed;
    if (offerToRelayer(RELAYED_CANCEL, relayed)) return relayed;
    return sendMessage(WM_BRIDGE_CANCEL, 0, 0);
}
BridgeResult BridgeClient::clear() { return send(WM_BRIDGE_CLEAR); }
BridgeResult BridgeClient::requestPause() { return send(WM_BRIDGE_PAUSE); }

BridgeResult BridgeClient::waitNotification(unsigned message, unsigned timeoutMs) {
    const int* received = message == WM_BRIDGE_INPUT ? &linesReceived : &pausesReceived;
    int* taken = message == WM_BRIDGE_INPUT ? &linesTaken : &pausesTaken;
    const DWORD start = GetTickCount();
    for (;;) {
        pumpMessages();
        if (*received > *taken) {
            ++*taken;
            return {};
        }
        if (interruptsReceived > interruptsTaken) {
            ++interruptsTaken;
            return BridgeError::interrupted;
        }
        if (cancelsReceived > cancelsTaken) {
            ++cancelsTaken;
            return BridgeError::cancelled;
        }
        if (!console) return BridgeError::noConsole;
        if (!consoleAlive()) return BridgeError::consoleGone;
        DWORD slice = ALIVE_CHECK_MS;
        if (timeoutMs != NO_TIME_LIMIT) {
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= timeoutMs) return BridgeError::timedOut;
            if (timeoutMs - elapsed < slice) slice = timeoutMs - elapsed;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
    }
}

BridgeResult BridgeClient::waitLine(std::string& line, unsigned timeoutMs) {
    const BridgeResult waited = waitNotification(WM_BRIDGE_INPUT, timeoutMs);
    if (!waited) return waited;
    return readStreamIn(line) ? BridgeResult() : BridgeError::streamIn;
}

BridgeResult BridgeClient::readLine(std::string& line, unsigned timeoutMs) {
    const BridgeResult requested = requestLine();
    return requested ? waitLine(line, timeoutMs) : requested;
}

BridgeResult BridgeClient::waitPauseEnd(unsigned timeoutMs) { return waitNotification(WM_BRIDGE_PAUSE, timeoutMs); }

BridgeResult BridgeClient::endLineRequest() {
    const BridgeResult entered = key(KEY_ENTER);
    discardNotifications();
    return entered;
}

BridgeResult BridgeClient::endPause() {
    const BridgeResult pressed = key(KEY_SHIFT);
    discardNotifications();
    return pressed;
}

void BridgeClient::discardNotifications() {
    pumpMessages();
    linesTaken = linesReceived;
    pausesTaken = pausesReceived;
    interruptsTaken = interruptsReceived;
    cancelsTaken = cancelsReceived;
}

BridgeResult BridgeClient::postMessage(unsigned message, unsigned long long wParam, long long lParam) {
    if (!console) return BridgeError::noConsole;
    if (!consoleAlive()) return BridgeError::consoleGone;
    return PostMessageA(static_cast<HWND>(console), message, static_cast<WPARAM>(wParam),
                        static_cast<LPARAM>(lParam))
               ? BridgeResult()
               : BridgeError::noAnswer;
}

BridgeResult BridgeClient::key(unsigned virtualKey) { return sendMessage(WM_KEYDOWN, virtualKey, 1); }

BridgeResult BridgeClient::keyWithModifier(unsigned modifier, unsigned virtualKey) {
    INPUT held[2] = {};
    held[0].type = held[1].type = INPUT_KEYBOARD;
    held[0].ki.wVk = held[1].ki.wVk = static_cast<WORD>(modifier);
    held[1].ki.dwFlags = KEYEVENTF_KEYUP;
    if (SendInput(1, &held[0], sizeof(INPUT)) != 1) return BridgeError::noAnswer;
    const BridgeResult handled = key(virtualKey);
    SendInput(1, &held[1], sizeof(INPUT));
    return handled;
}

BridgeResult BridgeClient::shiftedKey(unsigned virtualKey) { return keyWithModifier(VK_SHIFT, virtualKey); }
BridgeResult BridgeClient::controlKey(unsigned virtualKey) { return keyWithModifier(VK_CONTROL, virtualKey); }

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
    return !caps || static_cast<bool>(key(KEY_CAPS_LOCK));
}

void BridgeClient::handleMessages() { pumpMessages(); }

void BridgeClient::setNotificationHandler(NotificationHandler newHandler, void* context) {
    handler = newHandler;
    handlerContext = context;
}

void BridgeClient::onNotification(unsigned message) {
    if (message == WM_BRIDGE_INPUT) ++linesReceived;
    if (message == WM_BRIDGE_PAUSE) ++pausesReceived;
    if (message == WM_BRIDGE_INTERRUPT) ++interruptsReceived;
    if (handler) handler(*this, message, handlerContext);
}
