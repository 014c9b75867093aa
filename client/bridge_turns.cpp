// Turns among clients: the named mutexes, waited for with the thread's sent
// messages handled, and the relay of prints to the client with a line open.
#include "client/bridge_turns.h"

#include <windows.h>

#include "bridge/bridge.h"
#include "client/bridge_client.h"
#include "client/stream_files.h"

namespace {

// How often a wait for a turn looks whether the console's window still exists.
constexpr DWORD TURN_CHECK_MS = 100;

}  // namespace

void closeTurns(void*& exchange, void*& notifications) {
    for (void** handle : {&exchange, &notifications}) {
        if (*handle) CloseHandle(static_cast<HANDLE>(*handle));
        *handle = nullptr;
    }
}

BridgeResult BridgeClient::waitTurn(void*& mutex, const char* name, unsigned timeoutMs) {
    if (!mutex) mutex = CreateMutexA(nullptr, FALSE, name);
    // Without the mutex the exchange runs unguarded, as a lone client's would.
    if (!mutex) return {};
    HANDLE handle = static_cast<HANDLE>(mutex);
    // Mostly free: taken without a look at the message queue.
    const DWORD free = WaitForSingleObject(handle, 0);
    if (free == WAIT_OBJECT_0 || free == WAIT_ABANDONED) return {};
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD slice = TURN_CHECK_MS;
        if (timeoutMs != NO_TIME_LIMIT) {
            const DWORD elapsed = GetTickCount() - start;
            slice = elapsed >= timeoutMs ? 0 : (timeoutMs - elapsed < slice ? timeoutMs - elapsed : slice);
        }
        // The holder may be waiting for us (a relayed print, a notification of
        // the console's): messages sent to this thread are handled meanwhile.
        const DWORD woke = MsgWaitForMultipleObjects(1, &handle, FALSE, slice, QS_SENDMESSAGE);
        // Abandoned: its holder ended without giving it back; it is ours now.
        if (woke == WAIT_OBJECT_0 || woke == WAIT_ABANDONED_0 || woke == WAIT_FAILED) return {};
        if (woke == WAIT_OBJECT_0 + 1) {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            continue;
        }
        if (console && !consoleAlive()) return BridgeError::consoleGone;
        if (timeoutMs != NO_TIME_LIMIT && GetTickCount() - start >= timeoutMs) return BridgeError::timedOut;
    }
}

BridgeClient::Exchange::Exchange(BridgeClient& client) : client(client) {
    // Inside a relayed print the other client holds the turn for us.
    if (client.exchangesLent > 0) return;
    taken = client.waitTurn(client.exchangeMutex, EXCHANGE_MUTEX_NAME, client.turnTimeoutMs);
    locked = static_cast<bool>(taken) && client.exchangeMutex != nullptr;
}

BridgeClient::Exchange::~Exchange() {
    if (locked) ReleaseMutex(static_cast<HANDLE>(client.exchangeMutex));
}

void BridgeClient::relayPrints(PrintRelay newRelay, void* context) {
    relay = newRelay;
    relayContext = context;
    if (!window) return;
    if (relay)
        SetPropA(static_cast<HWND>(window), RELAY_PROPERTY, reinterpret_cast<HANDLE>(1));
    else
        RemovePropA(static_cast<HWND>(window), RELAY_PROPERTY);
}

bool BridgeClient::relayToAnotherClient() {
    if (exchangesLent > 0) return false;
    HWND other = nullptr;
    while ((other = FindWindowExA(nullptr, other, CLIENT_WINDOW_CLASS, nullptr)) != nullptr) {
        if (other == window || !GetPropA(other, RELAY_PROPERTY)) continue;
        DWORD_PTR printed = 0;
        // One that does not answer in time leaves the print to us.
        if (SendMessageTimeoutA(other, RELAYED_PRINT, 0, 0, SMTO_NORMAL, replyTimeoutMs, &printed) && printed == 1)
            return true;
    }
    return false;
}

bool BridgeClient::onRelayedPrint() {
    std::string text;
    if (!relay || !readStreamOut(text)) return false;
    ++exchangesLent;
    relay(*this, text, relayContext);
    --exchangesLent;
    return true;
}
