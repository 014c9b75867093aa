// The built-in commands and their exact messages.
#include "commands/number_word.h"
#include "commands/time_text.h"
#include "test_support.h"

using Commands = ConsoleTest;

namespace {
constexpr char PROMPT[] = "\ncmd=)> ";
}

TEST_F(Commands, ArithmeticPrintsOperandsAndResult) {
    struct Case {
        const char* line;
        const char* output;
    };
    const Case cases[] = {
        {"add 2 3", "\n 2 + 3 = 5"},
        {"sub 2 5", "\n 2 - 5 = -3"},
        {"mul -4 6", "\n -4 * 6 = -24"},
        {"add 2147483647 1", "\n 2147483647 + 1 = -2147483648"},
        {"sub -2147483648 1", "\n -2147483648 - 1 = 2147483647"},
        {"mul 65536 65536", "\n 65536 * 65536 = 0"},
        {"add x y", "\n 0 + 0 = 0"},
        {"add 12abc +7", "\n 12 + 7 = 19"},
        {"div 7 2", "\n 7 / 2 = 3"},
        {"div -7 2", "\n -7 / 2 = -3"},
        {"div 0 5", "\n 0 / 5 = 0"},
        {"div -2147483648 -1", "\n -2147483648 / -1 = -2147483648"},
        {"div 5 0", "\n [syntax error] - the div commad cannot divide by zero "},
        {"div 0 0", "\n [syntax error] - the div commad cannot divide by zero "},
        {"add 1", "\n [syntax error] - the add command must take two numeric arguments "},
        {"sub 1 2 3", "\n [syntax error] - the sub command must take two numeric arguments "},
        {"mul", "\n [syntax error] - the mul command must take two numeric arguments "},
        {"div 1", "\n [syntax error] - the div command must take two numeric arguments "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        console->load();
        run(c.line);
        EXPECT_EQ(buffer(), std::string(c.output) + PROMPT);
    }
}

TEST(NumberWord, ReadsLikeA32BitAtol) {
    EXPECT_EQ(numberWord("  -42x"), -42);
    EXPECT_EQ(numberWord("+8"), 8);
    EXPECT_EQ(numberWord("--8"), 0);
    EXPECT_EQ(numberWord(""), 0);
    EXPECT_EQ(numberWord("2147483647"), 2147483647);
    EXPECT_EQ(numberWord("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(numberWord("2147483648"), 2147483647);
    EXPECT_EQ(numberWord("99999999999999999999999"), 2147483647);
    EXPECT_EQ(numberWord("-99999999999999999999999"), -2147483647 - 1);
}

TEST_F(Commands, FixedTexts) {
    run(":)");
    EXPECT_EQ(buffer(), std::string(" \n hE hE hE.. your prEEty happy hE hE hE") + PROMPT);
    console->load();
    run("about");
    EXPECT_EQ(buffer().rfind("\n Korvane .. streams example\nWritten by ", 0), 0u);
    EXPECT_EQ(buffer().substr(buffer().size() - 11), std::string("\n:)") + PROMPT);
}

TEST_F(Commands, LostPrintsVerseAndPausesWithoutPrompt) {
    run("lost");
    const std::string verse =
        buffer().substr(0, buffer().size() - std::string("\n Press any key to continue ...").size());
    EXPECT_EQ(verse.size(), 185u);
    EXPECT_EQ(verse.front(), '\n');
    EXPECT_EQ(verse.back(), ' ');
    EXPECT_EQ(std::count(verse.begin(), verse.end(), '\n'), 6);
    EXPECT_TRUE(console->paused);
    EXPECT_FALSE(console->inputOpen);
}

TEST_F(Commands, EchoPrintsTheRawRestLiterally) {
    run("echo  two spaces");
    EXPECT_EQ(buffer(), std::string("\n  two spaces") + PROMPT);
    console->load();
    run("echo");
    EXPECT_EQ(buffer(), std::string("\n") + PROMPT);
    console->load();
    run("echo 100% %s %d");
    EXPECT_EQ(buffer(), std::string("\n 100% %s %d") + PROMPT);
}

TEST_F(Commands, ColorCommands) {
    run("settextcolor white");
    run("setbkcolor white");
    EXPECT_EQ(console->textColor, 0xFFFFFFu);
    EXPECT_EQ(console->backColor, 0xFFFFFFu);
    run("setbkcolor black");
    EXPECT_EQ(console->backColor, 0x000000u);

    console->load();
    run("settextcolor Red");
    EXPECT_EQ(buffer(), std::string("\n[syntax error] - the set color command requires a valid color") + PROMPT);
    EXPECT_EQ(console->textColor, 0x00C800u);
    console->load();
    run("setbkcolor");
    EXPECT_EQ(buffer(), std::string("\n[syntax error] - the set color command requires one argument") + PROMPT);
}

TEST_F(Commands, FlushEmptiesTheBuffer) {
    console->write("lots of text\nmore");
    run("flush");
    EXPECT_EQ(buffer(), PROMPT);
}

TEST_F(Commands, DumpWritesBufferWithWindowsLineEnds) {
    console->write("first\nsecond");
    console->showPrompt();
    type("dump out.txt");
    console->onKey(13);
    EXPECT_EQ(fileText("out.txt"), "first\r\nsecond\r\ncmd=)> dump out.txt\r\n");
    EXPECT_NE(buffer().find("\n succesful dump of the buffer into the file out.txt"), std::string::npos);

    writeFile("old.txt", "previous content that is long");
    run("dump old.txt");
    EXPECT_EQ(fileText("old.txt").find("previous"), std::string::npos);
}

TEST_F(Commands, DumpThatCannotOpenReportsAnError) {
    run("dump no/such/folder/out.txt");
    EXPECT_EQ(buffer().rfind("\n[error] - ", 0), 0u);
    EXPECT_NE(buffer().find("no/such/folder/out.txt"), std::string::npos);
    EXPECT_EQ(buffer().find("succesful"), std::string::npos);
}

TEST_F(Commands, ExitSaysGoodbyeAndClosesDisplay) {
    run("exit");
    EXPECT_EQ(buffer(), std::string("\ngoodbye!!!") + PROMPT);
    EXPECT_EQ(fakePlatform().closeRequests, 1);
}

TEST_F(Commands, CallOpensProgramWithRawParameters) {
    struct Case {
        const char* line;
        const char* program;
        const char* parameters;
    };
    const Case cases[] = {
        {"call notepad", "notepad", ""},
        {"call notepad ", "notepad", ""},
        {"call notepad a b c", "notepad", "a b c"},
        {"call notepad   x", "notepad", "  x"},
        {"  call   prog  y", "prog", " y"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        fakePlatform().reset();
        console->load();
        run(c.line);
        ASSERT_EQ(fakePlatform().shellOpens.size(), 1u);
        EXPECT_EQ(fakePlatform().shellOpens[0].first, c.program);
        EXPECT_EQ(fakePlatform().shellOpens[0].second, c.parameters);
        EXPECT_EQ(buffer(), std::string("\n") + PROMPT);
    }
    console->load();
    run("call");
    EXPECT_EQ(buffer(), std::string("\n[syntax error] call command requires atleast one argument") + PROMPT);
}

TEST_F(Commands, PauseLeavesInputClosedWithoutPrompt) {
    run("pause");
    EXPECT_EQ(buffer(), "\n Press any key to continue ...");
    EXPECT_TRUE(console->paused);
    EXPECT_FALSE(console->inputOpen);
}

TEST_F(Commands, TimePrintsCtimeForm) {
    run("time");
    // "\n" + "Www Mmm dd hh:mm:ss yyyy\n" + prompt
    const std::string out = buffer();
    ASSERT_EQ(out.size(), 1 + 25 + std::string(PROMPT).size());
    EXPECT_EQ(out[0], '\n');
    EXPECT_EQ(out[25], '\n');
}

TEST(TimeText, DayOfMonthHasTwoDigits) {
    std::tm time{};
    time.tm_wday = 3;
    time.tm_mon = 5;
    time.tm_mday = 9;
    time.tm_hour = 8;
    time.tm_min = 5;
    time.tm_sec = 3;
    time.tm_year = 93;
    char out[TIME_TEXT_SIZE];
    formatTimeText(time, out);
    EXPECT_STREQ(out, "Wed Jun 09 08:05:03 1993\n");
    time.tm_mday = 31;
    time.tm_wday = 6;
    time.tm_mon = 11;
    time.tm_year = 126;
    formatTimeText(time, out);
    EXPECT_STREQ(out, "Sat Dec 31 08:05:03 2026\n");
}
