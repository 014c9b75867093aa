#include "framework/net/socket.h"

#include <utility>

namespace {

sockaddr_in addressOf(unsigned long address, int port) {
    if (port == Socket::DEFAULT_PORT) {
        port = 7;
    }
    sockaddr_in record{};
    record.sin_family = AF_INET;
    record.sin_port = htons(static_cast<u_short>(port));
    record.sin_addr.s_addr = address;
    return record;
}

// Closes a socket that is held and marks it gone, so that no later call can
// reach a socket the platform has since handed out under the same value.
int closeHeld(SOCKET& handle) {
    int result = closesocket(handle);
    handle = INVALID_SOCKET;
    return result;
}

}  // namespace

Socket::~Socket() {
    if (handle != INVALID_SOCKET) {
        closeHeld(handle);
    }
}

Socket::Socket(Socket&& other) noexcept
    : handle(std::exchange(other.handle, INVALID_SOCKET)), window(other.window), message(other.message) {}

Socket& Socket::operator=(Socket&& other) noexcept {
    if (this != &other) {
        if (handle != INVALID_SOCKET) {
            closeHeld(handle);
        }
        handle = std::exchange(other.handle, INVALID_SOCKET);
        window = other.window;
        message = other.message;
    }
    return *this;
}

int Socket::create(HWND targetWindow, unsigned notificationMessage) {
    if (handle != INVALID_SOCKET) {
        closeHeld(handle);
    }
    window = targetWindow;
    message = notificationMessage;
    handle = socket(AF_INET, SOCK_STREAM, 0);
    return WSAAsyncSelect(handle, window, message, EVENTS);
}

int Socket::listen(int port) {
    sockaddr_in address = addressOf(INADDR_ANY, port);
    // A failed bind shows in the listen that follows.
    bind(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return ::listen(handle, BACKLOG);
}

int Socket::connect(const char* address, int port) {
    // inet_addr reads dotted-decimal text only; anything else gives INADDR_NONE.
    sockaddr_in record = addressOf(address ? inet_addr(address) : INADDR_NONE, port);
    return ::connect(handle, reinterpret_cast<const sockaddr*>(&record), sizeof record);
}

SOCKET Socket::accept() {
    // Only a listening socket is replaced. An FD_ACCEPT that was posted again
    // for a connection still waiting can reach a program after the first
    // accept; accept on the connection then held fails and leaves it open.
    BOOL listening = FALSE;
    int optionSize = sizeof listening;
    if (handle != INVALID_SOCKET &&
        (getsockopt(handle, SOL_SOCKET, SO_ACCEPTCONN, reinterpret_cast<char*>(&listening), &optionSize) != 0 ||
         !listening)) {
        WSASetLastError(WSAEINVAL);
        return INVALID_SOCKET;
    }
    sockaddr_in peer{};
    int size = sizeof peer;
    SOCKET accepted = ::accept(handle, reinterpret_cast<sockaddr*>(&peer), &size);
    // The socket replaced is no longer reachable through this object.
    if (handle != INVALID_SOCKET) {
        closeHeld(handle);
    }
    handle = accepted;
    return accepted;
}

int Socket::send(const char* data, int length) { return ::send(handle, data, length, 0); }

int Socket::receive(char* buffer, int size) { return recv(handle, buffer, size, 0); }

unsigned Socket::getMessage() const { return message; }

int Socket::close() { return closeHeld(handle); }
