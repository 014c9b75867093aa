#pragma once
// A Winsock 1.1 stream socket (TCP over IPv4) whose events arrive as window
// messages: `message` is sent to `window` with the socket in wParam and the
// event (FD_READ, FD_ACCEPT, FD_CONNECT or FD_CLOSE) in the low word and the
// error in the high word of lParam. Registration makes the socket
// non-blocking, so no call waits. Winsock must already be started (the
// program's WinsockStartup objects do it); a Socket neither starts nor stops
// it.
//
// Every operation answers the platform's own result. One Socket serves one
// connection: accept replaces the listening socket with the accepted one and
// closes the listening socket.
//
// A notification can name a socket the Socket no longer holds: an FD_ACCEPT
// posted again for a second waiting peer arrives after accept has replaced
// the listening socket, and an event may come late for a socket closed since.
// The window procedure compares wParam with `handle` and ignores the rest.
#include <winsock.h>

class Socket {
public:
    // Every socket registers these events: FD_READ | FD_ACCEPT | FD_CONNECT | FD_CLOSE.
    static constexpr long EVENTS = FD_READ | FD_ACCEPT | FD_CONNECT | FD_CLOSE;
    static constexpr int BACKLOG = 5;
    // Passed as a port, stands for the echo port 7.
    static constexpr int DEFAULT_PORT = -1;

    SOCKET handle = INVALID_SOCKET;  // invalid until create, and again after close
    HWND window = nullptr;
    unsigned message = 0;

    Socket() = default;
    // Closes a socket still held.
    ~Socket();
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    // Moving hands the socket over; the source is left invalid.
    Socket(Socket&& other) noexcept;
    Socket& operator=(Socket&& other) noexcept;

    // A new stream socket for the window and message (a socket held before
    // is closed first); answers WSAAsyncSelect's result, 0 on success.
    int create(HWND targetWindow, unsigned notificationMessage);
    // Binds to every local address on the port and listens; answers listen's result.
    int listen(int port);
    // Starts connecting to the dotted-decimal IPv4 address; usually answers
    // SOCKET_ERROR with WSAEWOULDBLOCK, and FD_CONNECT tells the outcome.
    int connect(const char* address, int port);
    // On a listening socket: the accepted connection, now held in `handle`,
    // or INVALID_SOCKET (also stored); the listening socket is closed either
    // way. On any other socket (a connection): INVALID_SOCKET with
    // WSAEINVAL, and the socket held stays open and held.
    SOCKET accept();
    int send(const char* data, int length);
    // Bytes received, 0 once the peer has closed, or SOCKET_ERROR.
    int receive(char* buffer, int size);
    unsigned getMessage() const;
    // closesocket's result; `handle` is invalid afterwards.
    int close();
};
