#pragma once
// The client side of the stream bridge: a hidden top-level window of the
// client class, which the console notifies, and the requests a client sends
// to the console's window. Requests and keys are sent, not posted, so each is
// handled by the console before the call returns and their order is fixed.
// Every send has a timeout and every wait watches the console's window: a
// console that stopped answering or went away cannot hang the caller. Each
// call returns a BridgeResult, whose message says what went wrong. One client
// per thread; it uses the thread's queue.
//
// Several clients at once: each exchange (writing c:\stream.o and asking for
// its print, or sending a request, until the console has answered) holds a
// mutex shared by every client, and the client window exists only while its
// client holds a second one, since the console notifies one window. A client
// killed while holding either leaves it abandoned, and the next one takes it
// over. Waits for either handle the messages sent to this thread meanwhile.
#include <cstddef>
#include <string>

#include "client/bridge_result.h"

class BridgeClient {
public:
    // Called from the client's window procedure for each notification, after
    // it has been counted. Requests sent from here reach the console while it
    // is still waiting for its notification to return.
    using NotificationHandler = void (*)(BridgeClient& client, unsigned message, void* context);
    // Prints another client's text for it (see relayPrints). Requests sent
    // from here are part of that client's exchange; the result is that
    // client's result.
    using PrintRelay = BridgeResult (*)(BridgeClient& client, const std::string& text, void* context);
    // Takes another client's cancel of the line we wait for (see relayCancels),
    // inside that client's exchange; the result is that client's result.
    using CancelRelay = BridgeResult (*)(BridgeClient& client, void* context);

    // A wait without a time limit.
    static constexpr unsigned NO_TIME_LIMIT = 0xFFFFFFFFu;

    BridgeClient() = default;
    ~BridgeClient();
    BridgeClient(const BridgeClient&) = delete;
    BridgeClient& operator=(const BridgeClient&) = delete;

    // Waits for this client's turn to receive notifications, then creates the
    // client window: timedOut when another client kept its window that long,
    // consoleGone when a console found earlier went away meanwhile,
    // clientWindow when the window cannot be made.
    BridgeResult open(unsigned timeoutMs = NO_TIME_LIMIT);
    // Only the wait for the turn, so that the window can be made later, just
    // before the request whose answer it receives; close gives the turn up.
    BridgeResult takeNotificationTurn(unsigned timeoutMs);
    // Destroys the client window, and so gives up the turn: the console's
    // notifications then go to the next client that opens one, or nowhere.
    void close();
    bool isOpen() const { return window != nullptr; }

    // Waits until the console's window exists and answers a message. With a
    // process id, only that process's console window counts. noConsole when
    // no window appeared in time (0: look once), noAnswer when one exists but
    // did not answer within the reply timeout.
    BridgeResult findConsole(unsigned timeoutMs, unsigned long processId = 0);
    // True while the console's window found last still exists.
    bool consoleAlive() const;
    // The console's process id, 0 when no console was found.
    unsigned long consoleProcessId() const;

    // Requests, each handled by the console before the call returns:
    // noConsole before a console was found, consoleGone once its window went
    // away, noAnswer when it did not answer within the reply timeout.
    BridgeResult send(unsigned message);
    // Any window message, with its parameters, handled before the call returns.
    BridgeResult sendMessage(unsigned message, unsigned long long wParam, long long lParam);
    // Any window message, queued for the console's loop; returns at once.
    BridgeResult postMessage(unsigned message, unsigned long long wParam, long long lParam);
    // Writes the stream file, then asks for it to be printed, with
    // WM_BRIDGE_PRINT's flags (BRIDGE_PRINT_TERMINAL, BRIDGE_PRINT_ABOVE_INPUT).
    // While another client relays prints (exec), that client prints it among
    // its own output, as plain text.
    BridgeResult print(const std::string& text, unsigned flags = 0);
    BridgeResult printFile(unsigned flags = 0);  // the same for the stream file as it is
    BridgeResult requestLine();
    BridgeResult prompt();
    // While another client waits for a line with relayCancels set, the cancel
    // is handed to it instead of closing its line.
    BridgeResult cancel();
    BridgeResult clear();
    BridgeResult requestPause();

    // Waits for the console's notification that a line is ready, then reads
    // it. Waits take NO_TIME_LIMIT or milliseconds.
    BridgeResult waitLine(std::string& line, unsigned timeoutMs);
    // Asks for a line and waits for it.
    BridgeResult readLine(std::string& line, unsigned timeoutMs);
    // Waits for the console's notification that the client's pause has ended.
    BridgeResult waitPauseEnd(unsigned timeoutMs);
    // Handles pending messages until a notification of this kind has arrived
    // that no earlier wait took, and takes it: timedOut when the time ran
    // out, consoleGone when the console's window went away meanwhile,
    // interrupted when the console sent WM_BRIDGE_INTERRUPT (Ctrl+C),
    // cancelled after cancelWait. A notification that arrived during the send
    // of the key that caused it counts.
    BridgeResult waitNotification(unsigned message, unsigned timeoutMs);
    // Makes the current or next wait end as cancelled.
    void cancelWait() { ++cancelsReceived; }

    // The console cannot withdraw a line request or a pause: a pending line
    // request is ended by an Enter (the line typed so far is delivered to us
    // and dropped), a pause by a key that types nothing (Shift). Both leave
    // the input line closed; the caller decides what follows (a prompt).
    BridgeResult endLineRequest();
    BridgeResult endPause();

    // Keys: one WM_KEYDOWN per key.
    BridgeResult key(unsigned virtualKey);
    // Types text; capital letters with the console's caps toggle, the shifted
    // punctuation of the digit row and the OEM keys with Shift held. Fails,
    // with nothing typed, when a character has no key.
    bool type(const std::string& text);
    // One key with Shift held: Shift goes down and up as real input, which
    // also sends the console key messages of its own for Shift.
    BridgeResult shiftedKey(unsigned virtualKey);
    // The same with Control held (Ctrl+C: controlKey('C')).
    BridgeResult controlKey(unsigned virtualKey);

    // Longest wait for the turn of one exchange (default: no limit); a wait
    // that runs out is timedOut, and nothing of the exchange was done.
    void setTurnTimeout(unsigned ms) { turnTimeoutMs = ms; }

    // Holds the turn for several requests that belong together, such as a
    // print and the prompt that follows it. Nests.
    class Exchange {
    public:
        explicit Exchange(BridgeClient& client);
        ~Exchange();
        Exchange(const Exchange&) = delete;
        Exchange& operator=(const Exchange&) = delete;
        // Why the turn was not had; success when it was.
        const BridgeResult& result() const { return taken; }

    private:
        BridgeClient& client;
        BridgeResult taken;
        bool locked = false;
    };

    // While set (the window must be open), other clients' prints are handed
    // to the relay instead of being printed at once, so that a client with a
    // line request pending can keep them out of the typed line. nullptr ends it.
    void relayPrints(PrintRelay relay, void* context);
    // The same for other clients' cancels, while our line request is pending.
    void relayCancels(CancelRelay relay, void* context);

    // Notifications received so far, taken by a wait or not.
    int lineNotifications() const { return linesReceived; }
    int pauseNotifications() const { return pausesReceived; }
    // Forgets notifications that no wait took.
    void discardNotifications();

    // Handles the messages waiting for this thread, the console's
    // notifications among them, and returns at once.
    void handleMessages();

    void setNotificationHandler(NotificationHandler handler, void* context);
    // Longest wait for the console to handle one request or key (default 10 s).
    void setReplyTimeout(unsigned ms) { replyTimeoutMs = ms; }

    // Handles the client window's messages; used by its window procedure.
    void onNotification(unsigned message);
    // Another client's print or cancel offered to us (RELAYED_PRINT,
    // RELAYED_CANCEL with the offer's sender and number): 1 when we took it.
    long long onRelayedOffer(unsigned message, unsigned long long sender, long long number);

private:
    BridgeResult keyWithModifier(unsigned modifier, unsigned virtualKey);
    BridgeResult printStreamFile(unsigned flags);  // inside an exchange
    BridgeResult waitTurn(void*& mutex, const char* name, unsigned timeoutMs);
    // Inside an exchange: offers the print or cancel to a client with its line
    // open; true when one did it, with its result.
    bool offerToRelayer(unsigned message, BridgeResult& result);
    BridgeResult doOffer(unsigned message);

    void* window = nullptr;
    void* console = nullptr;
    int linesReceived = 0;
    int linesTaken = 0;
    int pausesReceived = 0;
    int pausesTaken = 0;
    int interruptsReceived = 0;
    int interruptsTaken = 0;
    int cancelsReceived = 0;
    int cancelsTaken = 0;
    void* exchangeMutex = nullptr;
    void* notificationMutex = nullptr;
    bool holdsNotifications = false;
    int exchangesLent = 0;  // another client's exchange runs through our relay
    unsigned turnTimeoutMs = NO_TIME_LIMIT;
    PrintRelay relay = nullptr;
    void* relayContext = nullptr;
    CancelRelay cancelRelay = nullptr;
    void* cancelContext = nullptr;
    unsigned replyTimeoutMs = 10000;
    NotificationHandler handler = nullptr;
    void* handlerContext = nullptr;
};
