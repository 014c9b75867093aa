#pragma once
// The client side of the stream bridge: a hidden top-level window of the
// client class, which the console notifies, and the requests a client sends
// to the console's window. Requests and keys are sent, not posted, so each is
// handled by the console before the call returns and their order is fixed.
// Every send and every wait has a timeout: a console that stopped answering
// cannot hang the caller. One client per thread; it uses the thread's queue.
#include <cstddef>
#include <string>

class BridgeClient {
public:
    // Called from the client's window procedure for each notification, after
    // it has been counted. Requests sent from here reach the console while it
    // is still waiting for its notification to return.
    using NotificationHandler = void (*)(BridgeClient& client, unsigned message, void* context);

    BridgeClient() = default;
    ~BridgeClient();
    BridgeClient(const BridgeClient&) = delete;
    BridgeClient& operator=(const BridgeClient&) = delete;

    // Creates the client window; false when it cannot be made.
    bool open();
    // Destroys the client window: the console's notifications then go nowhere.
    void close();
    bool isOpen() const { return window != nullptr; }

    // Waits until the console's window exists and answers a message. With a
    // process id, only that process's console window counts.
    bool findConsole(unsigned timeoutMs, unsigned long processId = 0);
    // True while the console's window found last still exists.
    bool consoleAlive() const;
    // The console's process id, 0 when no console was found.
    unsigned long consoleProcessId() const;

    // Requests: false when there is no console or it did not answer in time.
    bool send(unsigned message);
    // Any window message, with its parameters, handled before the call returns.
    bool sendMessage(unsigned message, unsigned long long wParam, long long lParam);
    // Any window message, queued for the console's loop; returns at once.
    bool postMessage(unsigned message, unsigned long long wParam, long long lParam);
    bool print(const std::string& text);  // writes the stream file, then asks for it to be printed
    bool printFile();                     // asks to print the stream file as it is
    bool requestLine();
    bool prompt();
    bool cancel();
    bool clear();
    bool requestPause();

    // Waits for the console's notification that a line is ready, then reads it.
    bool waitLine(std::string& line, unsigned timeoutMs);
    // Asks for a line and waits for it.
    bool readLine(std::string& line, unsigned timeoutMs);
    // Waits for the console's notification that the client's pause has ended.
    bool waitPauseEnd(unsigned timeoutMs);
    // Handles pending messages until a notification of this kind has arrived
    // that no earlier wait took, and takes it; false on timeout. A
    // notification that arrived during the send of the key that caused it
    // counts.
    bool waitNotification(unsigned message, unsigned timeoutMs);

    // Keys: one WM_KEYDOWN per key.
    bool key(unsigned virtualKey);
    // Types text; capital letters with the console's caps toggle, the shifted
    // punctuation of the digit row and the OEM keys with Shift held. False,
    // with nothing typed, when a character has no key.
    bool type(const std::string& text);
    // One key with Shift held: Shift goes down and up as real input, which
    // also sends the console key messages of its own for Shift.
    bool shiftedKey(unsigned virtualKey);

    // Notifications received so far, taken by a wait or not.
    int lineNotifications() const { return linesReceived; }
    int pauseNotifications() const { return pausesReceived; }
    // Forgets notifications that no wait took.
    void discardNotifications();

    void setNotificationHandler(NotificationHandler handler, void* context);
    // Longest wait for the console to handle one request or key (default 10 s).
    void setReplyTimeout(unsigned ms) { replyTimeoutMs = ms; }

    // Handles the client window's messages; used by its window procedure.
    void onNotification(unsigned message);

private:
    void* window = nullptr;
    void* console = nullptr;
    int linesReceived = 0;
    int linesTaken = 0;
    int pausesReceived = 0;
    int pausesTaken = 0;
    unsigned replyTimeoutMs = 10000;
    NotificationHandler handler = nullptr;
    void* handlerContext = nullptr;
};
