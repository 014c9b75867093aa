// Splitting a line into words, the two lookup tables and the prompt rule.
#include "commands/command_table.h"
#include "commands/word_split.h"
#include "test_support.h"

TEST(SplitWords, OnlySpacesSeparate) {
    struct Case {
        const char* line;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"add 2 3", {"add", "2", "3"}},
        {"   add   2    3   ", {"add", "2", "3"}},
        {"add\t2 3", {"add\t2", "3"}},
        {"flush\r", {"flush\r"}},
        {"    ", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::string line = c.line;
        char* words[8];
        const int count = splitWords(line.data(), words, 8);
        ASSERT_EQ(count, static_cast<int>(c.words.size()));
        for (int i = 0; i < count; ++i) EXPECT_EQ(words[i], c.words[static_cast<std::size_t>(i)]);
    }
}

TEST(SplitWords, StopsAtTheWordListSize) {
    std::string line;
    for (int i = 0; i < 2 * MAX_WORDS; ++i) line += "w ";
    std::vector<char*> words(MAX_WORDS + 1, nullptr);
    EXPECT_EQ(splitWords(line.data(), words.data(), MAX_WORDS), MAX_WORDS);
    EXPECT_EQ(words[MAX_WORDS], nullptr);
}

TEST(Lookup, CommandWordsAreExactAndCaseSensitive) {
    const std::pair<const char*, int> table[] = {
        {"flush", 1},  {"about", 2}, {"time", 3},  {":)", 4},     {"add", 5},           {"sub", 6},
        {"mul", 7},    {"div", 8},   {"dump", 9},  {"exit", 16},  {"settextcolor", 17}, {"setbkcolor", 18},
        {"pause", 19}, {"lost", 20}, {"echo", 21}, {"batch", 22}, {"call", 23},
    };
    for (const auto& [word, number] : table) EXPECT_EQ(Console::lookupCommand(word), number) << word;
    for (const char* word : {"ADD", "Add", "adds", "ad", "", "flush\r"})
        EXPECT_EQ(Console::lookupCommand(word), -1) << word;
}

TEST(Lookup, ColorNames) {
    EXPECT_EQ(Console::lookupColor("white"), 0xFFFFFFu);
    EXPECT_EQ(Console::lookupColor("red"), 0x0000FFu);
    EXPECT_EQ(Console::lookupColor("blue"), 0xFF0000u);
    EXPECT_EQ(Console::lookupColor("green"), 0x00C800u);
    EXPECT_EQ(Console::lookupColor("black"), 0x000000u);
    EXPECT_EQ(Console::lookupColor("Red"), 0xFFFFFFFFu);
    EXPECT_EQ(Console::lookupColor("purple"), 0xFFFFFFFFu);
}

using Interpreter = ConsoleTest;

TEST_F(Interpreter, EmptyOrBlankLineGivesOnlyAPrompt) {
    run("");
    EXPECT_EQ(buffer(), "\ncmd=)> ");
    console->load();
    run("     ");
    EXPECT_EQ(buffer(), "\ncmd=)> ");
}

TEST_F(Interpreter, UnknownWordsAnswerWithMessageAndPrompt) {
    for (const char* line : {"ADD 2 3", "Add 2 3", "add\t2 3", "flush\r", "nonsense"}) {
        SCOPED_TRACE(line);
        console->load();
        run(line);
        EXPECT_EQ(buffer(), "\n - unknown command\ncmd=)> ");
    }
}

TEST_F(Interpreter, CommandLineIsSetOnlyWhileRunning) {
    run("echo  a  b");
    EXPECT_EQ(console->commandLine, nullptr);
    EXPECT_EQ(buffer(), "\n  a  b\ncmd=)> ");
}

TEST_F(Interpreter, ExtraWordsAreIgnoredOrRefusedByTheWordRule) {
    console->write("old");
    run("flush now please");
    EXPECT_EQ(buffer(), "\ncmd=)> ");
    console->load();
    run("dump a b");
    EXPECT_EQ(buffer(),
              "\n [syntax error] - the dump command takes one argument the filename to write the data to\ncmd=)> ");
}

TEST_F(Interpreter, MoreWordsThanTheListHoldsAreSafe) {
    std::string line = "add";
    for (int i = 0; i < 3 * MAX_WORDS; ++i) line += " 1";
    run(line);
    EXPECT_EQ(buffer(), "\n [syntax error] - the add command must take two numeric arguments \ncmd=)> ");
}
