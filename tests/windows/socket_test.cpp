// Socket against real peers on 127.0.0.1: socat from Debian, started and
// stopped by the test, and, where two ends of our own are the point, a second
// Socket. Every port is chosen free at run time; every wait has a limit.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/winsock_startup.h"
#include "framework/net/socket.h"
#include "notify_window.h"
#include "unix_peer.h"

namespace {

// Winsock for the whole executable, as the program's global objects start it.
WinsockStartup winsock;

constexpr UINT SOCKET_MESSAGE = WM_USER + 40;
constexpr int WAIT_MS = 5000;

std::string text(const char* buffer, int length) {
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

int localPort(SOCKET handle) {
    sockaddr_in address{};
    int size = sizeof address;
    if (getsockname(handle, reinterpret_cast<sockaddr*>(&address), &size) != 0) return -1;
    return ntohs(address.sin_port);
}

// Receives on FD_READ notifications until `expected` bytes have come in.
std::string receiveAtLeast(Socket& socket, NotifyWindow& window, size_t expected) {
    std::string got;
    char buffer[256];
    while (got.size() < expected && window.waitFor(SOCKET_MESSAGE, FD_READ, WAIT_MS)) {
        int n = socket.receive(buffer, sizeof buffer);
        got += text(buffer, n);
    }
    return got;
}

class SocketTest : public ::testing::Test {
protected:
    NotifyWindow window;

    // An echo server of socat on a free port, listening when this returns.
    int startEchoServer(UnixPeer& peer) {
        int port = freePort();
        EXPECT_GT(port, 0);
        EXPECT_TRUE(peer.start("exec socat TCP-LISTEN:" + std::to_string(port) + ",reuseaddr EXEC:cat"));
        EXPECT_TRUE(waitPortHeld(port, true, WAIT_MS)) << "socat did not listen on " << port;
        return port;
    }

    // Creates and connects `socket` to the port, and waits for FD_CONNECT.
    void connectTo(Socket& socket, int port) {
        ASSERT_EQ(socket.create(window.handle(), SOCKET_MESSAGE), 0);
        int result = socket.connect("127.0.0.1", port);
        if (result != 0) {
            ASSERT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
        }
        Notification connected{};
        ASSERT_TRUE(window.waitFor(SOCKET_MESSAGE, FD_CONNECT, WAIT_MS, &connected));
        ASSERT_EQ(connected.error(), 0);
        ASSERT_EQ(connected.wParam, socket.handle);
    }
};

TEST_F(SocketTest, ANewSocketHoldsTheInvalidHandleAndReachesNothing) {
    Socket socket;
    EXPECT_EQ(socket.handle, INVALID_SOCKET);
    char buffer[4];
    EXPECT_EQ(socket.send("x", 1), SOCKET_ERROR);
    EXPECT_EQ(socket.receive(buffer, sizeof buffer), SOCKET_ERROR);
    EXPECT_EQ(socket.accept(), INVALID_SOCKET);
}

TEST_F(SocketTest, ListenAcceptsAPeerAndBytesFlowBothWaysUntilThePeerCloses) {
    Socket server;
    ASSERT_EQ(server.create(window.handle(), SOCKET_MESSAGE), 0);
    EXPECT_EQ(server.getMessage(), SOCKET_MESSAGE);
    EXPECT_EQ(server.window, window.handle());
    int port = freePort();
    ASSERT_EQ(server.listen(port), 0);
    const SOCKET listening = server.handle;

    UnixPeer client;
    ASSERT_TRUE(client.start("exec socat TCP:127.0.0.1:" + std::to_string(port) +
                             " SYSTEM:'echo hello; read line; echo got-$line'"));
    Notification accepted{};
    ASSERT_TRUE(window.waitFor(SOCKET_MESSAGE, FD_ACCEPT, WAIT_MS, &accepted));
    EXPECT_EQ(accepted.wParam, listening);
    EXPECT_EQ(accepted.error(), 0);

    SOCKET connection = server.accept();
    ASSERT_NE(connection, INVALID_SOCKET);
    EXPECT_EQ(server.handle, connection);

    EXPECT_EQ(receiveAtLeast(server, window, 6), "hello\n");
    EXPECT_EQ(server.send("ping\n", 5), 5);
    EXPECT_EQ(receiveAtLeast(server, window, 9), "got-ping\n");

    ASSERT_TRUE(window.waitFor(SOCKET_MESSAGE, FD_CLOSE, WAIT_MS));
    char buffer[16];
    EXPECT_EQ(server.receive(buffer, sizeof buffer), 0);
    EXPECT_EQ(server.close(), 0);
    EXPECT_EQ(server.handle, INVALID_SOCKET);
}

TEST_F(SocketTest, ConnectReportsFdConnectThenDataFlows) {
    UnixPeer echo;
    int port = startEchoServer(echo);
    Socket client;
    ASSERT_NO_FATAL_FAILURE(connectTo(client, port));
    EXPECT_EQ(client.send("echo me", 7), 7);
    EXPECT_EQ(receiveAtLeast(client, window, 7), "echo me");
    EXPECT_EQ(client.close(), 0);
}

// accept closes the listening socket it replaces, also when no connection
// came; on a Socket that holds a connection it fails and leaves it working.
TEST_F(SocketTest, AcceptReplacesOnlyAListeningSocket) {
    {
        SCOPED_TRACE("nothing pending");
        Socket server;
        ASSERT_EQ(server.create(window.handle(), SOCKET_MESSAGE), 0);
        int port = freePort();
        ASSERT_EQ(server.listen(port), 0);
        EXPECT_EQ(server.accept(), INVALID_SOCKET);
        EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
        EXPECT_EQ(server.handle, INVALID_SOCKET);
        EXPECT_FALSE(portHeld(port)) << "the listening socket was left open";
        EXPECT_EQ(server.accept(), INVALID_SOCKET);
    }
    {
        // Two peers connect close together: accepting the first posts
        // FD_ACCEPT again for the second, naming the listening socket that
        // accept has just closed.
        SCOPED_TRACE("a second peer's FD_ACCEPT after the first accept");
        Socket server;
        ASSERT_EQ(server.create(window.handle(), SOCKET_MESSAGE), 0);
        int port = freePort();
        ASSERT_EQ(server.listen(port), 0);
        const SOCKET listening = server.handle;
        UnixPeer echo;
        ASSERT_TRUE(echo.start("exec socat TCP:127.0.0.1:" + std::to_string(port) + " EXEC:cat"));
        ASSERT_TRUE(window.waitFor(SOCKET_MESSAGE, FD_ACCEPT, WAIT_MS));
        Socket second;
        ASSERT_NO_FATAL_FAILURE(connectTo(second, port));
        const SOCKET connection = server.accept();
        ASSERT_NE(connection, INVALID_SOCKET);
        Notification stale{};
        if (window.waitFor(SOCKET_MESSAGE, FD_ACCEPT, 500, &stale)) {
            EXPECT_EQ(stale.wParam, listening) << "the notification names the closed listening socket";
        } else {
            std::printf("note: no second FD_ACCEPT arrived here\n");
        }
        EXPECT_EQ(server.accept(), INVALID_SOCKET);
        EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
        EXPECT_EQ(server.handle, connection) << "the connection is still held";
        EXPECT_EQ(server.send("still here", 10), 10);
        EXPECT_EQ(receiveAtLeast(server, window, 10), "still here") << "the connection no longer works";
    }
}

TEST_F(SocketTest, ConnectRefusesAnAddressThatIsNotDottedDecimal) {
    for (const char* address : {"localhost", "127.0.0.1.5", "1.2.3.x", "not an address"}) {
        SCOPED_TRACE(address);
        Socket client;
        ASSERT_EQ(client.create(window.handle(), SOCKET_MESSAGE), 0);
        int result = client.connect(address, 9);
        if (result == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
            // The platform may tell the outcome later; it must be a failure.
            Notification outcome{};
            ASSERT_TRUE(window.waitFor(SOCKET_MESSAGE, FD_CONNECT, WAIT_MS, &outcome));
            EXPECT_NE(outcome.error(), 0);
        } else {
            EXPECT_EQ(result, SOCKET_ERROR);
        }
    }
}

TEST_F(SocketTest, PortMinusOneListensAndConnectsOnSeven) {
    Socket server;
    ASSERT_EQ(server.create(window.handle(), SOCKET_MESSAGE), 0);
    if (server.listen(Socket::DEFAULT_PORT) != 0) {
        GTEST_SKIP() << "port 7 cannot be bound here (Winsock error " << WSAGetLastError()
                     << "; it needs privileges or is in use)";
    }
    EXPECT_EQ(localPort(server.handle), 7);
    Socket client;
    ASSERT_NO_FATAL_FAILURE(connectTo(client, Socket::DEFAULT_PORT));
    ASSERT_TRUE(window.waitFor(SOCKET_MESSAGE, FD_ACCEPT, WAIT_MS));
    ASSERT_NE(server.accept(), INVALID_SOCKET);
    EXPECT_EQ(client.send("seven", 5), 5);
    EXPECT_EQ(receiveAtLeast(server, window, 5), "seven");
}

TEST_F(SocketTest, SendOnAFullBufferAnswersTheErrorValueAtOnce) {
    UnixPeer echo;
    // We never read the echo: once our receive buffer is full, socat stops
    // reading, and then our send buffer fills.
    int port = startEchoServer(echo);
    Socket client;
    ASSERT_NO_FATAL_FAILURE(connectTo(client, port));
    std::string block(64 * 1024, 'x');
    long long sent = 0;
    int result = 0;
    for (int i = 0; i < 4096; ++i) {  // at most 256 MB
        result = client.send(block.data(), static_cast<int>(block.size()));
        if (result == SOCKET_ERROR) break;
        sent += result;
    }
    ASSERT_EQ(result, SOCKET_ERROR) << "the buffers took " << sent << " bytes without filling";
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    EXPECT_GT(sent, 0);
    window.pump(200);
    for (const Notification& n : window.received) EXPECT_NE(n.event(), FD_WRITE);
}

// After close the handle is invalid, so a socket the platform hands out
// again under the old value is out of reach of the closed Socket.
TEST_F(SocketTest, AClosedSocketReachesNoSocketHandedOutAgain) {
    UnixPeer echo;
    int port = startEchoServer(echo);
    Socket closed;
    ASSERT_EQ(closed.create(window.handle(), SOCKET_MESSAGE), 0);
    const SOCKET oldValue = closed.handle;
    EXPECT_EQ(closed.close(), 0);
    EXPECT_EQ(closed.handle, INVALID_SOCKET);

    Socket fresh;
    ASSERT_NO_FATAL_FAILURE(connectTo(fresh, port));
    if (fresh.handle != oldValue) {
        std::printf("note: the platform did not hand out the old socket value again here\n");
    }
    EXPECT_EQ(closed.send("leak", 4), SOCKET_ERROR);
    char buffer[16];
    EXPECT_EQ(closed.receive(buffer, sizeof buffer), SOCKET_ERROR);
    EXPECT_NE(closed.close(), 0);
    // Had the send reached the fresh socket, the echo would come back to it.
    EXPECT_FALSE(window.waitFor(SOCKET_MESSAGE, FD_READ, 300));
    EXPECT_EQ(fresh.receive(buffer, sizeof buffer), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
}

TEST_F(SocketTest, ASocketStillHeldIsClosedWhenReplacedOrDestroyed) {
    {
        SCOPED_TRACE("destroyed");
        int port = freePort();
        {
            Socket server;
            ASSERT_EQ(server.create(window.handle(), SOCKET_MESSAGE), 0);
            ASSERT_EQ(server.listen(port), 0);
            ASSERT_TRUE(portHeld(port));
        }
        EXPECT_FALSE(portHeld(port));
    }
    {
        SCOPED_TRACE("created again");
        int port = freePort();
        Socket server;
        ASSERT_EQ(server.create(window.handle(), SOCKET_MESSAGE), 0);
        ASSERT_EQ(server.listen(port), 0);
        ASSERT_EQ(server.create(window.handle(), SOCKET_MESSAGE), 0);
        EXPECT_FALSE(portHeld(port));
    }
    {
        SCOPED_TRACE("moved onto");
        int port = freePort();
        Socket server;
        ASSERT_EQ(server.create(window.handle(), SOCKET_MESSAGE), 0);
        ASSERT_EQ(server.listen(port), 0);
        Socket other;
        server = std::move(other);
        EXPECT_EQ(server.handle, INVALID_SOCKET);
        EXPECT_FALSE(portHeld(port));
    }
}

}  // namespace
