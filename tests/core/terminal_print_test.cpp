// The terminal print: what a terminal's controls do to the buffer.
#include "console/terminal_print.h"

#include <algorithm>
#include <cstring>

#include "bridge/bridge_requests.h"
#include "test_support.h"

class TerminalPrintTest : public ConsoleTest {
protected:
    std::string shown(std::initializer_list<std::string> prints) {
        for (const std::string& text : prints) terminal.print(*console, text.data(), text.size());
        return buffer();
    }
    TerminalPrint terminal;
};

TEST_F(TerminalPrintTest, LineControlsEditTheLastLine) {
    using namespace std::string_literals;
    const struct {
        std::string input;
        const char* expected;
    } cases[] = {
        {"10%\r50%\r100%\n", "100%\n"},
        {"long line\rshort", "shortline"},  // the rest stays, as on a terminal
        {"a\nbc\r\rX", "a\nXc"},            // never above the line
        {"\b\bab\b\b\bX", "Xb"},            // never past the line's start
        {"x\n\bY", "x\nY"},
        {"a\tb\n12345678\tc", "a       b\n12345678        c"},
        {"abc\b\b\tZ", "abc     Z"},       // a tab over text moves, blanks after it
        {"ab\x1b[3Cc", "ab   c"},          // cursor forward as blanks
        {"abcdef\r\x1b[2Cx", "abxdef"},    // and over the line's characters
        {"abc\x1b[5C\n", "abc\n"},         // no blanks left in front of a line feed
        {"name?\x1b[K\x1b[1C", "name? "},  // but at the end of a print
        {"abcdef\r\x1b[2C\x1b[K", "ab"},
        {"abcdef\r\x1b[2C\x1b[1K", "   def"},
        {"abcdef\r\x1b[2C\x1b[2Kx", "  x"},
        {"abc\x1b[0Jd", "abcd"},
        {"abcdef\x1b[3GX", "abXdef"},
        {"a\0b\x7f\x07"
         "c"s,
         "abc"},
        {"\x1b[31mred\x1b[0m \x1b[1;32mgreen\x1b[m", "red green"},
        {"\x1b]0;title\x07"
         "a\x1b]2;t\x1b\\b\x1bPdcs\x1b\\c",
         "abc"},
        {"\x1b(B\x1b"
         "7\x1b"
         "8\x1b=x\x1b[?25l\x1b[?1049h\x1b[>0c\x1b[!p\x1b[5;10r",
         "x"},
        {"a\x1b[\x18"
         "b\x1b]\x1a"
         "c\x1b[1\x1b[Kd",
         "abcd"},                 // cancelled, restarted
        {"\x1b[\n2C5", "\n  5"},  // a control inside a sequence acts
    };
    for (const auto& c : cases) {
        console->clear();
        terminal.reset();
        EXPECT_EQ(shown({c.input}), c.expected) << "input: " << testing::PrintToString(c.input);
    }
}

TEST_F(TerminalPrintTest, SequencesSplitAcrossPrintsAreCompleted) {
    const std::string whole =
        "\x1b]0;a title\x1b\\"
        "10%\r\x1b[2K\x1b[31m50%\x1b[0m\r\x1b[3C!\n";
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        console->clear();
        terminal.reset();
        EXPECT_EQ(shown({whole.substr(0, cut), whole.substr(cut)}), "50%!\n") << "cut at " << cut;
        EXPECT_FALSE(terminal.insideSequence());
    }
}

TEST_F(TerminalPrintTest, EraseInDisplayClearsTheBuffer) {
    EXPECT_EQ(shown({"old\nlines\x1b[2Jnew"}), "new");
    EXPECT_EQ(shown({"\x1b[3J"}), "");
    // A screen cleared from its top: home, erased lines, positions.
    console->clear();
    EXPECT_EQ(shown({"before\n\x1b[H\x1b[K\r\n\x1b[K\r\n\x1b[K\x1b[H\x1b[?25hafter\r\n"}), "after\n");
}

TEST_F(TerminalPrintTest, TypedTextOfTheOpenLineIsNeverChanged) {
    console->write("out");
    console->beginInput();
    type("ls");
    EXPECT_EQ(shown({"\r\b\x1b[2K\x1b[1Kx"}), "outlsx");
    EXPECT_EQ(console->inputStart, 3);
    EXPECT_EQ(shown({"\x1b[2Jy"}), "lsxy");  // only the typed text survives a clear
    EXPECT_EQ(console->inputStart, 0);

    // Without typed text the line in front is rewritten; the start never
    // passes the end.
    console->clear();
    console->write("12345");
    console->beginInput();
    EXPECT_EQ(shown({"\r\x1b[K9"}), "9");
    EXPECT_LE(console->inputStart, console->length());
}

TEST_F(TerminalPrintTest, TrimsAndKeepsTheCapacityLikeAnyPrint) {
    std::string many;
    for (int i = 0; i < 50; ++i) many += "line " + std::to_string(i) + "\r\x1b[Kline " + std::to_string(i) + "\n";
    const std::string lines = shown({many});
    EXPECT_EQ(console->length(), static_cast<int>(lines.size()));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), MAX_LINE_BREAKS);
    shown({std::string(20000, 'x'), "\x1b[1000C\x1b[1000C\x1b[1000Cy"});
    EXPECT_EQ(console->length(), CONSOLE_CAPACITY);
    EXPECT_EQ(buffer().back(), 'y');
}

TEST_F(TerminalPrintTest, BridgePrintWithTheTerminalFlag) {
    writeFile(STREAM_OUT_PATH, std::string("10%\r\x1b[32m100%\0!", 15));
    handleBridgeRequest(*console, WM_BRIDGE_PRINT, BRIDGE_PRINT_TERMINAL | 2);
    EXPECT_EQ(buffer(), "100%!");
    console->clear();
    handleBridgeRequest(*console, WM_BRIDGE_PRINT, 0);  // the plain print stays byte for byte
    EXPECT_EQ(buffer(), "10%\r\x1b[32m100%");
}

// What Wine's console host wrote for a program that printed "isatty 1,
// console mode 1\n", asked "name? " and greeted "bob": the screen cleared,
// each character wrapped in cursor hide and show, blanks as erase in line
// and cursor forward.
TEST_F(TerminalPrintTest, TheConsoleHostsOwnPatternsFromARecordedStream) {
    const std::string recorded =
        "\x1b[2J\x1b[m\x1b[H\x1b[?25li\x1b[?25h\x1b[?25ls\x1b[?25h\x1b[?25la\x1b[?25h\x1b[?25lt\x1b[?25h\x1b["
        "?25lt\x1b[?25h\x1b[?25ly\x1b[?25h\x1b[?25l\x1b[K\x1b[1C\x1b[?25h\x1b[?25l1\x1b[?25h\x1b[?25l,\x1b[?2"
        "5h\x1b[?25l\x1b[K\x1b[1C\x1b[?25h\x1b[?25lc\x1b[?25h\x1b[?25lo\x1b[?25h\x1b[?25ln\x1b[?25h\x1b[?25ls"
        "\x1b[?25h\x1b[?25lo\x1b[?25h\x1b[?25ll\x1b[?25h\x1b[?25le\x1b[?25h\x1b[?25l\x1b[K\x1b[1C\x1b[?25h"
        "\x1b[?25lm\x1b[?25h\x1b[?25lo\x1b[?25h\x1b[?25ld\x1b[?25h\x1b[?25le\x1b[?25h\x1b[?25l\x1b[K\x1b[1C"
        "\x1b[?25h\x1b[?25l1\x1b[?25h\r\n\x1b[?25ln\x1b[?25h\x1b[?25la\x1b[?25h\x1b[?25lm\x1b[?25h\x1b[?25le"
        "\x1b[?25h\x1b[?25l?\x1b[?25h\x1b[?25l\x1b[K\x1b[1C\x1b[?25h\x1b[?25lh\x1b[?25h\x1b[?25le\x1b[?25h"
        "\x1b[?25ll\x1b[?25h\x1b[?25ll\x1b[?25h\x1b[?25lo\x1b[?25h\x1b[?25l,\x1b[?25h\x1b[?25l\x1b[K\x1b[1C"
        "\x1b[?25h\x1b[?25lb\x1b[?25h\x1b[?25lo\x1b[?25h\x1b[?25lb\x1b[?25h\r\n";
    const std::string expected = "isatty 1, console mode 1\nname? hello, bob\n";
    console->write("before\n");
    EXPECT_EQ(shown({recorded}), expected);
    console->write("before\n");
    for (char c : recorded) shown({std::string(1, c)});
    EXPECT_EQ(buffer(), expected);
}
