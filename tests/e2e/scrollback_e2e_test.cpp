// Scrollback, copy and paste with real X mouse and key events (xdotool) and
// the X clipboard (xclip), which Wine shares with its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <utility>

#include "bridge/bridge.h"
#include "client/key_map.h"
#include "console_session.h"
#include "tool_run.h"

namespace {

// Runs a shell command line natively (Wine starts Linux programs, but gives
// no handle to wait on): sh writes its exit status to a file when done.
// The command takes no double quotes.
bool unix(const std::string& command) {
    const std::string done = "/tmp/korvane-e2e-done-" + std::to_string(GetCurrentProcessId());
    const std::string doneHere = "z:" + done;
    DeleteFileA(doneHere.c_str());
    std::string line =
        "z:\\bin\\sh -c \"" + command + "; echo $? > " + done + ".part; mv " + done + ".part " + done + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
    for (int waited = 0; waited < 20000; waited += 20) {
        const std::string status = readWholeFile(doneHere);
        if (!status.empty()) {
            DeleteFileA(doneHere.c_str());
            return status[0] == '0';
        }
        Sleep(20);
    }
    return false;
}

std::string clipboard() {
    const std::string file = "/tmp/korvane-e2e-clip-" + std::to_string(GetCurrentProcessId());
    if (!unix("xclip -o -selection clipboard > " + file)) return "<xclip failed>";
    std::string text = readWholeFile("z:" + file);
    DeleteFileA(("z:" + file).c_str());
    return text;
}

bool setClipboard(const std::string& text) {
    const std::string file = "/tmp/korvane-e2e-paste-" + std::to_string(GetCurrentProcessId());
    // xclip stays to serve the selection until another program takes it;
    // its output goes nowhere so that sh does not wait for it.
    return writeWholeFile("z:" + file, text) &&
           unix("xclip -selection clipboard -i " + file + " > /dev/null 2>&1 < /dev/null");
}

// Whether each screen point shows the console's text colour (green 200),
// from screenshots of the X screen, taken again until they show what is
// expected (a frame may still be on its way) or three seconds have passed.
// Text and marker drawn inverted have that colour as their background.
std::string screenShows(std::initializer_list<std::pair<int, int>> points, const std::string& expected) {
    const std::string file = "/tmp/korvane-e2e-shot-" + std::to_string(GetCurrentProcessId());
    std::string format;
    for (const auto& [x, y] : points) format += "%[pixel:p{" + std::to_string(x) + "," + std::to_string(y) + "}] ";
    std::string seen;
    for (int tries = 0; tries < 10 && seen != expected; ++tries) {
        if (tries) Sleep(300);
        seen.clear();
        if (!unix("import -window root " + file + ".png && convert " + file + ".png -format '" + format + "' info: > " +
                  file + ".txt"))
            return "<screenshot failed>";
        const std::string colours = readWholeFile("z:" + file + ".txt");
        for (std::size_t at = 0, end; (end = colours.find(' ', at)) != std::string::npos; at = end + 1)
            seen += colours.substr(at, end - at).find("0,200,0") != std::string::npos ? 'G' : '-';
    }
    return seen;
}

// Lets the console take the X events, then answers once it has handled a
// request sent after them.
void settle(ConsoleSession& console, int ms = 400) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    console.client.send(WM_NULL);
}

bool waitUntil(const std::function<bool()>& done, int ms) {
    for (int waited = 0; waited < ms; waited += 100) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return done();
}

std::string numberedLine(int i) {
    char line[32];
    std::snprintf(line, sizeof line, "line %03d", i);
    return line;
}

// A console showing 300 printed lines, of which all but the last 38 or so
// have gone to the history; the pointer over it and the window focused.
ConsoleSession& consoleWithHistory() {
    ConsoleSession& console = sharedConsole();
    EXPECT_TRUE(console.reset());
    EXPECT_TRUE(console.command("flush"));
    std::string lines;
    for (int i = 1; i <= 300; ++i) lines += numberedLine(i) + "\n";
    EXPECT_TRUE(console.client.print(lines));
    EXPECT_TRUE(console.client.prompt());
    EXPECT_TRUE(unix("xdotool mousemove 320 240 click 1"));
    settle(console);
    return console;
}

// Drags from one screen point to another with the left button.
bool drag(int fromX, int fromY, int toX, int toY) {
    return unix("xdotool mousemove " + std::to_string(fromX) + " " + std::to_string(fromY) + " mousedown 1 mousemove " +
                std::to_string((fromX + toX) / 2) + " " + std::to_string((fromY + toY) / 2) + " mousemove " +
                std::to_string(toX) + " " + std::to_string(toY) + " mouseup 1");
}

TEST(Scrollback, WheelBackDragAndCopyTakeLinesFromTheHistory) {
    ConsoleSession& console = consoleWithHistory();
    ASSERT_TRUE(unix("xdotool click --repeat 20 --delay 20 4"));  // 60 lines back
    settle(console);
    ASSERT_TRUE(drag(1, 14, 400, 110));  // rows 1 to 9
    settle(console);
    // The marker at the top right and the selection (the blank after "line"
    // on row 2), inverted; row 0 as it was.
    EXPECT_EQ(screenShows({{620, 1}, {28, 29}, {28, 5}}, "GG-"), "GG-");
    ASSERT_TRUE(unix("xdotool key ctrl+c"));
    std::string copied;
    waitUntil([&] { return (copied = clipboard()).find("line") != std::string::npos; }, 5000);
    // Nine whole screen rows of consecutive lines, all from the history: the
    // live view starts at line 264.
    int first = 0;
    ASSERT_EQ(std::sscanf(copied.c_str(), "line %d", &first), 1) << copied;
    std::string expected;
    for (int i = first; i < first + 9; ++i) {
        if (i > first) expected += '\n';
        expected += numberedLine(i);
    }
    // Wine hands X the lines with LF alone.
    std::string lines;
    for (char c : copied)
        if (c != '\r') lines += c;
    EXPECT_EQ(lines, expected);
    EXPECT_LT(first + 8, 264);
    EXPECT_GT(first, 190);
    // The copy cleared the selection and changed nothing in the buffer.
    EXPECT_EQ(screenShows({{620, 1}, {28, 29}}, "G-"), "G-");

    // Held past the top edge, a drag scrolls back and selects what comes in.
    ASSERT_TRUE(unix("xdotool mousemove 1 40 mousedown 1 mousemove 1 0 sleep 1 mouseup 1 key ctrl+c"));
    int edge = first;
    waitUntil([&] { return std::sscanf(clipboard().c_str(), "line %d", &edge) == 1 && edge < first - 5; }, 5000);
    EXPECT_LT(edge, first - 5);
    EXPECT_TRUE(console.reset());
}

TEST(Scrollback, ShiftPageUpThenAKeyGoesLiveAgain) {
    ConsoleSession& console = consoleWithHistory();
    ASSERT_TRUE(unix("xdotool key shift+Prior"));
    settle(console);
    EXPECT_EQ(screenShows({{620, 1}}, "G"), "G") << "the marker";
    ASSERT_TRUE(unix("xdotool key BackSpace"));
    settle(console);
    EXPECT_EQ(screenShows({{620, 1}}, "-"), "-") << "no marker";
    // Escape clears a selection and leaves the program running.
    ASSERT_TRUE(drag(0, 4, 600, 4));  // the top row, whole
    settle(console);
    EXPECT_EQ(screenShows({{28, 5}}, "G"), "G");
    ASSERT_TRUE(unix("xdotool key Escape"));
    settle(console);
    EXPECT_EQ(screenShows({{28, 5}}, "-"), "-");
    ASSERT_TRUE(drag(0, 4, 600, 4));
    settle(console);
    ASSERT_TRUE(unix("xdotool key ctrl+Insert"));
    std::string copied;
    waitUntil([&] { return (copied = clipboard()).find("line") != std::string::npos; }, 5000);
    const std::string buffer = console.dump();
    EXPECT_EQ(copied, buffer.substr(0, buffer.find('\n'))) << "the top row of the live view";
}

TEST(Paste, TwoCommandsBothRun) {
    ConsoleSession& console = consoleWithHistory();
    ASSERT_TRUE(console.command("flush"));
    ASSERT_TRUE(setClipboard("add 2 3\r\nsub 9 4\n"));
    ASSERT_TRUE(unix("xdotool key ctrl+v"));
    std::string buffer;
    EXPECT_TRUE(waitUntil(
        [&] {
            settle(console, 100);
            buffer = console.dump();
            return buffer.find("9 - 4 = 5") != std::string::npos;
        },
        10000));
    EXPECT_EQ(buffer, std::string(PROMPT) + "add 2 3\n 2 + 3 = 5" + PROMPT + "sub 9 4\n 9 - 4 = 5" + PROMPT);
    // Shift+Insert pastes too.
    ASSERT_TRUE(setClipboard("mul 3 3\n"));
    ASSERT_TRUE(unix("xdotool key shift+Insert"));
    EXPECT_TRUE(waitUntil(
        [&] {
            settle(console, 100);
            return console.dump().find("mul 3 3\n 3 * 3 = 9") != std::string::npos;
        },
        10000));
}

TEST(Paste, IntoReadlineHandsOverExactlyTheFirstLine) {
    ConsoleSession& console = consoleWithHistory();
    ASSERT_TRUE(setClipboard("first line\nadd 1 1\n"));
    // While the tool waits, the test's own client window is away: the console
    // notifies the one window of class korvane_app that it finds.
    ToolRun readline;
    console.client.close();
    const bool ran = readline.start({"readline"}) && readline.waitUntilWaiting(20000) && unix("xdotool click 3") &&
                     readline.finish(20000);  // a right-click pastes
    console.client.open();
    ASSERT_TRUE(ran);
    EXPECT_EQ(readline.exitCode, 0u);
    EXPECT_EQ(readline.output, "first line\n");
    // Ctrl+C drops the line still waiting: the next prompt stays empty.
    ASSERT_TRUE(unix("xdotool key ctrl+c"));
    settle(console);
    ASSERT_TRUE(console.client.prompt());
    settle(console, 300);
    EXPECT_EQ(console.dump().find("1 + 1"), std::string::npos);
}

TEST(Paste, TenThousandLinesLeaveTheWindowAnsweringAndCtrlCDropsTheRest) {
    ConsoleSession& console = consoleWithHistory();
    std::string lines;
    for (int i = 0; i < 10000; ++i) lines += "add 1 1\n";
    ASSERT_TRUE(setClipboard(lines));
    ASSERT_TRUE(unix("xdotool key ctrl+v"));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    console.client.setReplyTimeout(2000);
    EXPECT_TRUE(console.client.send(WM_NULL)) << "the window answers during the paste";
    console.client.setReplyTimeout(10000);
    ASSERT_TRUE(unix("xdotool key ctrl+c"));
    settle(console);
    EXPECT_NE(console.dump().find(" 1 + 1 = 2"), std::string::npos);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    // Nothing pasted came after that dump's own command line.
    const std::string later = console.dump();
    ASSERT_NE(later.rfind("dump "), std::string::npos);
    EXPECT_EQ(later.find("add 1 1", later.rfind("dump ")), std::string::npos) << later;
}

}  // namespace
