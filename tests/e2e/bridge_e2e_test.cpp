// The client's six requests and the console's two notifications, between two
// real processes, with the edge cases a client relies on.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "bridge/bridge.h"
#include "console_session.h"
#include "client/key_map.h"
#include "client/stream_files.h"

namespace {

std::string streamIn() { return readWholeFile(STREAM_IN_PATH); }

TEST(BridgePrint, AppendsTheStreamFileUpToItsFirstZeroByte) {
    struct Case {
        const char* name;
        std::string file;
        std::string printed;
    };
    const Case cases[] = {
        {"plain text with a line break", "hello\nworld", "hello\nworld"},
        {"a zero byte ends the text", std::string("abc\0def", 7), "abc"},
        {"a carriage return stays a character", "a\rb", "a\rb"},
    };
    ConsoleSession& console = sharedConsole();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(console.reset());
        ASSERT_TRUE(console.client.print(c.file));
        ASSERT_TRUE(console.client.prompt());
        EXPECT_EQ(console.dump(), std::string(PROMPT) + c.printed);
        EXPECT_EQ(readWholeFile(STREAM_OUT_PATH), c.file) << "the console must not change the stream file";
    }
}

TEST(BridgePrint, WithoutAStreamFileChangesNothing) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    DeleteFileA(STREAM_OUT_PATH);
    ASSERT_TRUE(console.client.printFile());
    EXPECT_EQ(console.dump(), PROMPT);
}

TEST(BridgePrint, OfAReadOnlyStreamFilePrintsIt) {
    // The console only reads the stream file, so a client may keep it read-only.
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(writeStreamOut("read-only text"));
    ASSERT_TRUE(SetFileAttributesA(STREAM_OUT_PATH, FILE_ATTRIBUTE_READONLY));
    const BridgeResult printed = console.client.printFile();
    SetFileAttributesA(STREAM_OUT_PATH, FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(printed);
    ASSERT_TRUE(console.client.prompt());
    EXPECT_EQ(console.dump(), std::string(PROMPT) + "read-only text");
}

TEST(BridgePrint, WhileALineIsOpenJoinsTheTypedLine) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.client.requestLine());
    ASSERT_TRUE(console.client.type("abc"));
    ASSERT_TRUE(console.client.print("XYZ"));
    ASSERT_TRUE(console.client.type("d"));
    ASSERT_TRUE(console.client.key(KEY_ENTER));
    std::string line;
    ASSERT_TRUE(console.client.waitLine(line, WAIT_MS));
    EXPECT_EQ(line, "abcXYZd");
}

TEST(BridgePrint, TenMegabytesKeepTheConsoleAliveAndItsBufferWhole) {
    std::string file;
    char line[64];
    for (unsigned n = 0; file.size() < 10u * 1024 * 1024; ++n) {
        std::snprintf(line, sizeof line, "bulk line %08u of the ten megabytes\n", n);
        file += line;
    }
    file += "last line";
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.client.cancel());
    console.client.setReplyTimeout(120000);
    const BridgeResult printed = console.client.print(file);
    console.client.setReplyTimeout(WAIT_MS);
    ASSERT_TRUE(printed);
    ASSERT_TRUE(console.client.prompt());
    const std::string buffer = console.dump();

    // The buffer holds at most 39 lines: the newest lines of the file, whole,
    // then the prompt.
    ASSERT_GE(buffer.size(), std::string(PROMPT).size());
    ASSERT_EQ(buffer.substr(buffer.size() - 8), PROMPT);
    const std::string kept = buffer.substr(0, buffer.size() - 8);
    int breaks = 0;
    for (char c : buffer) breaks += c == '\n';
    EXPECT_LE(breaks, 38);
    EXPECT_GE(breaks, 30);
    const std::size_t firstBreak = kept.find('\n');
    ASSERT_NE(firstBreak, std::string::npos);
    const std::string wholeLines = kept.substr(firstBreak + 1);  // the oldest line may have been cut
    ASSERT_GE(file.size(), wholeLines.size());
    EXPECT_EQ(file.substr(file.size() - wholeLines.size()), wholeLines);
    EXPECT_TRUE(console.process.running());
}

TEST(BridgeInput, DeliversTheTypedLineAndLeavesItVisible) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.client.cancel());
    ASSERT_TRUE(console.client.clear());
    ASSERT_TRUE(console.client.print("name? "));
    ASSERT_TRUE(console.client.requestLine());
    ASSERT_TRUE(console.client.type("bob"));
    const int before = console.client.lineNotifications();
    ASSERT_TRUE(console.client.key(KEY_ENTER));
    EXPECT_EQ(console.client.lineNotifications(), before + 1) << "notified before the Enter's send returned";
    std::string line;
    ASSERT_TRUE(console.client.waitLine(line, WAIT_MS));
    EXPECT_EQ(line, "bob");
    // Keys are ignored until the client opens a line again.
    ASSERT_TRUE(console.client.type("q"));
    ASSERT_TRUE(console.client.prompt());
    EXPECT_EQ(console.dump(), std::string("name? bob") + PROMPT);
}

TEST(BridgeInput, EnterOnAnEmptyLineGivesAnEmptyStreamFile) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(writeWholeFile(STREAM_IN_PATH, "stale"));
    ASSERT_TRUE(console.client.requestLine());
    ASSERT_TRUE(console.client.key(KEY_ENTER));
    std::string line = "unread";
    ASSERT_TRUE(console.client.waitLine(line, WAIT_MS));
    EXPECT_EQ(line, "");
}

TEST(BridgeInput, RequestDuringThePromptFixesWhatWasTyped) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.client.type("ab"));
    ASSERT_TRUE(console.client.requestLine());
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(console.client.key(KEY_BACKSPACE));
    ASSERT_TRUE(console.client.type("cd"));
    ASSERT_TRUE(console.client.key(KEY_ENTER));
    std::string line;
    ASSERT_TRUE(console.client.waitLine(line, WAIT_MS));
    EXPECT_EQ(line, "cd");
    ASSERT_TRUE(console.client.prompt());
    EXPECT_EQ(console.dump(), std::string(PROMPT) + "abcd" + PROMPT);
}

TEST(BridgeInput, CancelKeepsTheRequestPendingForTheNextPrompt) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.client.requestLine());
    ASSERT_TRUE(console.client.cancel());
    ASSERT_TRUE(console.client.prompt());
    ASSERT_TRUE(console.command("add 1 1"));
    std::string line;
    ASSERT_TRUE(console.client.waitLine(line, WAIT_MS));
    EXPECT_EQ(line, "add 1 1");
    ASSERT_TRUE(console.client.prompt());
    // The cancel cut seven characters before the line's start: the prompt
    // "cmd=)> " went, its line break stayed; no command ran.
    EXPECT_EQ(console.dump(), std::string("\n") + PROMPT + "add 1 1" + PROMPT);
}

TEST(BridgeInput, CancelOfAClientLineCutsSevenCharactersOrEverything) {
    struct Case {
        const char* name;
        const char* printed;
        const char* left;
    };
    const Case cases[] = {
        {"ten characters before the line", "0123456789", "012"},
        {"fewer than seven before the line", "abc", ""},
    };
    ConsoleSession& console = sharedConsole();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(console.reset());
        ASSERT_TRUE(console.client.cancel());
        ASSERT_TRUE(console.client.clear());
        ASSERT_TRUE(console.client.print(c.printed));
        ASSERT_TRUE(console.client.requestLine());
        ASSERT_TRUE(console.client.cancel());
        ASSERT_TRUE(console.client.prompt());
        ASSERT_TRUE(console.client.key(KEY_ENTER));  // delivers the still pending request
        std::string line = "unread";
        ASSERT_TRUE(console.client.waitLine(line, WAIT_MS));
        EXPECT_EQ(line, "");
        ASSERT_TRUE(console.client.prompt());
        EXPECT_EQ(console.dump(), std::string(c.left) + PROMPT + PROMPT);
    }
}

TEST(BridgeInput, ClearEmptiesTheBufferAndLeavesTheLineOpen) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.client.print("x"));
    ASSERT_TRUE(console.client.clear());
    ASSERT_TRUE(console.client.prompt());
    EXPECT_EQ(console.dump(), "");
}

TEST(BridgeInput, RequestFromInsideTheNotificationTakesEffect) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.client.cancel());
    int asked = 0;
    console.client.setNotificationHandler(
        [](BridgeClient& client, unsigned message, void* context) {
            int& count = *static_cast<int*>(context);
            if (message == WM_BRIDGE_INPUT && count++ == 0) client.requestLine();
        },
        &asked);
    std::string first, second;
    ASSERT_TRUE(console.client.requestLine());
    ASSERT_TRUE(console.command("one"));
    ASSERT_TRUE(console.client.waitLine(first, WAIT_MS));
    ASSERT_TRUE(console.command("two"));
    const BridgeResult delivered = console.client.waitLine(second, WAIT_MS);
    console.client.setNotificationHandler(nullptr, nullptr);
    ASSERT_TRUE(delivered);
    EXPECT_EQ(first, "one");
    EXPECT_EQ(second, "two");
}

// No client to take the line: it still goes to the stream file, then the
// prompt comes back and the next line runs as a command.
TEST(BridgeInput, EnterWithoutAClientWindowWritesTheLineAndShowsThePrompt) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.client.requestLine());
    ASSERT_TRUE(console.client.type("zz"));
    console.client.close();
    const BridgeResult entered = console.client.key(KEY_ENTER);
    const bool typed = console.command("add 2 3");
    ASSERT_TRUE(console.client.open());
    ASSERT_TRUE(entered);
    ASSERT_TRUE(typed);
    EXPECT_EQ(streamIn(), "zz");
    EXPECT_EQ(console.dump(), std::string(PROMPT) + "zz" + PROMPT + "add 2 3\n 2 + 3 = 5" + PROMPT);
}

TEST(BridgePause, ClientPauseNotifiesAndPrintsNoPrompt) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.client.cancel());
    ASSERT_TRUE(console.client.requestPause());
    ASSERT_TRUE(console.client.key('A'));
    EXPECT_TRUE(console.client.waitPauseEnd(WAIT_MS));
    ASSERT_TRUE(console.client.key('B'));  // ignored: no pause, no line
    ASSERT_TRUE(console.client.prompt());
    EXPECT_EQ(console.dump(), std::string("\n") + PAUSE_LINE + PROMPT);
}

TEST(BridgePause, WhileALineIsOpenPrintsNothingAndTheKeyIsNotTyped) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.client.requestPause());
    ASSERT_TRUE(console.client.key('A'));
    EXPECT_TRUE(console.client.waitPauseEnd(WAIT_MS));
    EXPECT_EQ(console.dump(), PROMPT);
}

TEST(BridgePause, PauseRequestedInsideTheNotificationSurvives) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.client.cancel());
    int notified = 0;
    console.client.setNotificationHandler(
        [](BridgeClient& client, unsigned message, void* context) {
            int& count = *static_cast<int*>(context);
            if (message == WM_BRIDGE_PAUSE && count++ == 0) client.requestPause();
        },
        &notified);
    ASSERT_TRUE(console.client.requestPause());
    ASSERT_TRUE(console.client.key('A'));
    const BridgeResult firstEnded = console.client.waitPauseEnd(WAIT_MS);
    ASSERT_TRUE(console.client.key('B'));
    const BridgeResult secondEnded = console.client.waitPauseEnd(WAIT_MS);
    console.client.setNotificationHandler(nullptr, nullptr);
    EXPECT_TRUE(firstEnded);
    EXPECT_TRUE(secondEnded) << "the pause asked for during the notification was lost";
    EXPECT_EQ(notified, 2);
    ASSERT_TRUE(console.client.prompt());
    EXPECT_EQ(console.dump(), std::string("\n") + PAUSE_LINE + PAUSE_LINE + PROMPT);
}

}  // namespace
