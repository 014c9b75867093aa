// Turns among clients: the named mutexes, waited for with the thread's sent
// messages handled, and the relay of prints to the client with a line open.
#include "client/bridge_turns.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "bridge/bridge.h"
#include "client/bridge_client.h"
#include "client/relay_offer.h"
#include "client/stream_files.h"

namespace {

// How often a wait for a turn looks whether the console's window still exists.
constexpr DWORD TURN_CHECK_MS = 100;
// How often a sender whose offer was claimed looks whether it is done.
constexpr DWORD OFFER_CHECK_MS = 10;
// Numbers the offers of this process, whichever client makes them.
std::atomic<unsigned> offersMade{0};

std::string offerName(unsigned long long sender, long long number) {
    return "korvane_relay_offer_" + std::to_string(sender) + "_" + std::to_string(number);
}

// The shared record of one offer, mapped for as long as this object lives.
class SharedOffer {
public:
    SharedOffer(const std::string& name, bool create) {
        SetLastError(ERROR_SUCCESS);
        mapping = create ? CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(RelayOffer),
                                              name.c_str())
                         : OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
        // A name taken already is some other offer's record, not ours.
        if (mapping && create && GetLastError() == ERROR_ALREADY_EXISTS) {
            CloseHandle(mapping);
            mapping = nullptr;
        }
        if (mapping)
            offer = static_cast<RelayOffer*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(RelayOffer)));
    }
    ~SharedOffer() {
        if (offer) UnmapViewOfFile(offer);
        if (mapping) CloseHandle(mapping);
    }
    SharedOffer(const SharedOffer&) = delete;
    SharedOffer& operator=(const SharedOffer&) = delete;

    RelayOffer* offer = nullptr;  // a new record is zero: open

private:
    HANDLE mapping = nullptr;
};

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

void BridgeClient::relayCancels(CancelRelay newRelay, void* context) {
    cancelRelay = newRelay;
    cancelContext = context;
}

bool BridgeClient::offerToRelayer(unsigned message, BridgeResult& result) {
    if (exchangesLent > 0) return false;
    HWND other = nullptr;
    while ((other = FindWindowExA(nullptr, other, CLIENT_WINDOW_CLASS, nullptr)) != nullptr) {
        if (other == window || !GetPropA(other, RELAY_PROPERTY)) continue;
        const DWORD sender = GetCurrentProcessId();
        const unsigned number = ++offersMade;  // NOLINT: one atomic increment
        SharedOffer shared(offerName(sender, number), true);
        if (!shared.offer) continue;
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(other, message, sender, static_cast<LPARAM>(number), SMTO_NORMAL, replyTimeoutMs, &answer);
        // Not claimed, whether declined or not handled in time: it is ours
        // again, and a late relayer finds it withdrawn.
        if (withdrawOffer(*shared.offer)) continue;
        // Claimed: the relayer does it inside our exchange, however long it takes.
        while (!offerDone(*shared.offer, result)) {
            if (!IsWindow(other)) {
                if (!offerDone(*shared.offer, result)) result = BridgeError::noAnswer;
                break;
            }
            if (console && !consoleAlive()) {
                result = BridgeError::consoleGone;
                break;
            }
            if (MsgWaitForMultipleObjects(0, nullptr, FALSE, OFFER_CHECK_MS, QS_SENDMESSAGE) == WAIT_OBJECT_0) {
                MSG msg;
                PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            }
        }
        return true;
    }
    return false;
}

long long BridgeClient::onRelayedOffer(unsigned message, unsigned long long sender, long long number) {
    const bool print = message == RELAYED_PRINT;
    if (print ? !relay : !cancelRelay) return 0;
    SharedOffer shared(offerName(sender, number), false);
    if (!shared.offer || !claimOffer(*shared.offer)) return 0;  // withdrawn: the sender did it
    ++exchangesLent;
    completeOffer(*shared.offer, doOffer(message));
    --exchangesLent;
    return 1;
}

BridgeResult BridgeClient::doOffer(unsigned message) {
    if (message != RELAYED_PRINT) return cancelRelay(*this, cancelContext);
    std::string text;
    if (!readStreamOut(text)) return BridgeError::streamOut;
    return relay(*this, text, relayContext);
}
