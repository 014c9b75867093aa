// Start-up and the two ways out, each in a console process of its own.
#include <gtest/gtest.h>

#include <string>

#include "console_session.h"

namespace {

TEST(ConsoleLifetime, ShowsTheBannerAndFirstPromptThenExitEndsWithCodeZero) {
    ConsoleSession console;
    ASSERT_TRUE(console.start());
    EXPECT_EQ(console.dump(),
              " Welcome to Korvane Streams Example \n"
              " Written by the Korvane team \n"
              " Contact: korvane@example.org \n"
              " Web: korvane.example.org \n"
              "cmd=)> ");
    ASSERT_TRUE(console.command("exit"));
    unsigned long code = 99;
    ASSERT_TRUE(console.process.waitExit(WAIT_MS, code));
    EXPECT_EQ(code, 0u);
}

TEST(ConsoleLifetime, EscapeEndsWithCodeZeroEvenDuringAPause) {
    const std::string output = "e2e_stdout.txt";
    ConsoleSession console;
    ASSERT_TRUE(console.start(output));
    ASSERT_TRUE(console.command("pause"));
    // Each cancel writes one line feed to standard output, none to the buffer;
    // the C runtime's text mode turns it into CR LF.
    ASSERT_TRUE(console.client.cancel());
    ASSERT_TRUE(console.client.cancel());
    EXPECT_EQ(console.quit(), 0);
    EXPECT_EQ(readWholeFile(output), "\r\n\r\n");
}

TEST(ConsoleLifetime, EscapeDuringAClientPauseNotifiesTheClientThenEnds) {
    ConsoleSession console;
    ASSERT_TRUE(console.start("e2eclientpause.stdout"));
    ASSERT_TRUE(console.client.cancel());
    ASSERT_TRUE(console.client.requestPause());
    EXPECT_EQ(console.quit(), 0);
    EXPECT_TRUE(console.client.waitPauseEnd(WAIT_MS));
}

TEST(ConsoleLifetime, AltF4TakesTheDefaultPathToExitCodeZero) {
    constexpr unsigned SYSTEM_KEY_DOWN = 0x104;  // WM_SYSKEYDOWN
    constexpr unsigned KEY_F4 = 115;
    constexpr long long ALT_HELD = 1 | (1LL << 29);  // repeat count 1, context code: Alt is down
    ConsoleSession console;
    ASSERT_TRUE(console.start());
    ASSERT_TRUE(console.client.sendMessage(SYSTEM_KEY_DOWN, KEY_F4, ALT_HELD));
    unsigned long code = 99;
    const bool ended = console.process.waitExit(WAIT_MS, code);
    if (!ended) console.process.terminate();
    ASSERT_TRUE(ended);
    EXPECT_EQ(code, 0u);
}

}  // namespace
