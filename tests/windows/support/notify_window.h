#pragma once
// A hidden window that collects the notification messages sockets send it,
// and waits for one with a time limit while it pumps the thread's messages.
#include <winsock.h>

#include <vector>

struct Notification {
    UINT message;
    WPARAM wParam;  // the socket
    LPARAM lParam;  // event in the low word, error in the high word
    int event() const { return WSAGETSELECTEVENT(lParam); }
    int error() const { return WSAGETSELECTERROR(lParam); }
};

class NotifyWindow {
public:
    NotifyWindow();
    ~NotifyWindow();
    NotifyWindow(const NotifyWindow&) = delete;
    NotifyWindow& operator=(const NotifyWindow&) = delete;

    HWND handle() const { return window; }
    // Pumps messages until a notification of that message and event has
    // arrived and takes it out of `received`; false after timeoutMs.
    bool waitFor(UINT message, int event, int timeoutMs, Notification* got = nullptr);
    // Pumps messages for that long, collecting what arrives.
    void pump(int milliseconds);

    std::vector<Notification> received;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool take(UINT message, int event, Notification* got);
    HWND window = nullptr;
};
