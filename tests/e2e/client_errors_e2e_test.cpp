// The library's errors against windows of our own that stand in for a
// console: none at all, one that does not answer, one that goes away. Each is
// a value with its message; nothing hangs.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "bridge/bridge.h"
#include "client/bridge_client.h"
#include "console_session.h"

namespace {

// A window of class and title Korvane on a thread of its own, which answers
// messages only while `answering` is set.
class StandInConsole {
public:
    StandInConsole() {
        thread = std::thread([this] { run(); });
        while (!window && !failed) Sleep(10);
    }
    ~StandInConsole() {
        quit = true;
        answering = true;
        thread.join();
    }
    StandInConsole(const StandInConsole&) = delete;
    StandInConsole& operator=(const StandInConsole&) = delete;

    void destroy() { destroyRequested = true; }
    bool exists() const { return window && IsWindow(window); }

    std::atomic<bool> answering{true};

private:
    void run() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = CONSOLE_WINDOW_CLASS;
        RegisterClassA(&windowClass);
        HWND made = CreateWindowExA(0, CONSOLE_WINDOW_CLASS, CONSOLE_WINDOW_CLASS, WS_POPUP, 0, 0, 1, 1, nullptr,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!made) {
            failed = true;
            return;
        }
        window = made;
        while (!quit) {
            if (destroyRequested && window) {
                DestroyWindow(window);
                destroyRequested = false;
            }
            if (answering) {
                MSG msg;
                while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            }
            Sleep(5);
        }
        if (IsWindow(made)) DestroyWindow(made);
    }

    std::thread thread;
    std::atomic<HWND> window{nullptr};
    std::atomic<bool> failed{false};
    std::atomic<bool> quit{false};
    std::atomic<bool> destroyRequested{false};
};

TEST(BridgeClientErrors, NoConsoleIsAnErrorWithItsMessage) {
    endSharedConsole();
    BridgeClient client;
    const BridgeResult found = client.findConsole(0);
    EXPECT_EQ(found.error(), BridgeError::noConsole);
    EXPECT_STREQ(found.message(), "no Korvane console is running (no window of class and title Korvane)");
    EXPECT_EQ(client.print("x").error(), BridgeError::noConsole);
    std::string line;
    EXPECT_EQ(client.waitLine(line, BridgeClient::NO_TIME_LIMIT).error(), BridgeError::noConsole);
}

TEST(BridgeClientErrors, AConsoleThatDoesNotAnswerGivesAnErrorNotAHang) {
    endSharedConsole();
    StandInConsole standIn;
    ASSERT_TRUE(standIn.exists());
    BridgeClient client;
    client.setReplyTimeout(300);
    ASSERT_TRUE(client.findConsole(0));
    standIn.answering = false;
    const BridgeResult printed = client.print("x");
    EXPECT_EQ(printed.error(), BridgeError::noAnswer);
    EXPECT_STREQ(printed.message(), "the Korvane console does not answer");
    standIn.answering = true;
    BridgeClient late;
    late.setReplyTimeout(300);
    standIn.answering = false;
    EXPECT_EQ(late.findConsole(0).error(), BridgeError::noAnswer) << "a window that does not answer is no console";
    standIn.answering = true;
}

TEST(BridgeClientErrors, AConsoleThatGoesAwayEndsRequestsAndWaits) {
    endSharedConsole();
    StandInConsole standIn;
    BridgeClient client;
    ASSERT_TRUE(client.open());
    ASSERT_TRUE(client.findConsole(0));
    std::string line;
    EXPECT_EQ(client.waitLine(line, 200).error(), BridgeError::timedOut);
    standIn.destroy();
    // A wait without a limit ends when the window does.
    const BridgeResult waited = client.waitLine(line, BridgeClient::NO_TIME_LIMIT);
    EXPECT_EQ(waited.error(), BridgeError::consoleGone);
    EXPECT_STREQ(waited.message(), "the Korvane console went away");
    EXPECT_EQ(client.prompt().error(), BridgeError::consoleGone);
}

}  // namespace
