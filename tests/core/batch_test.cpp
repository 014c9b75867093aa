// Batch files, scripts and the file and text helpers under them.
#include <filesystem>

#include "commands/file_helpers.h"
#include "console/text_helpers.h"
#include "test_support.h"

using Batch = ConsoleTest;

namespace {
constexpr char PROMPT[] = "\ncmd=)> ";
constexpr char NOT_FOUND[] = "\n[error] - file not found";
}  // namespace

TEST_F(Batch, RunsLinesWithOnePromptAtTheEnd) {
    struct Case {
        const char* name;
        std::string script;
        std::string output;
    };
    const Case cases[] = {
        {"line feeds", "add 1 2\nsub 5 3\n", "\n 1 + 2 = 3\n 5 - 3 = 2"},
        {"no final break", "add 1 2\nsub 5 3", "\n 1 + 2 = 3\n 5 - 3 = 2"},
        {"carriage returns stay in the last word", "add 1 2\r\nflush\r\n", "\n 1 + 2 = 3\n - unknown command"},
        {"blank lines do nothing", "\n\nadd 1 1\n\n", "\n 1 + 1 = 2"},
        {"zero byte ends the text", std::string("add 1 1\n\0add 2 2\n", 17), "\n 1 + 1 = 2"},
        {"empty file", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        console->load();
        writeFile("script.txt", c.script);
        run("batch script.txt");
        EXPECT_EQ(buffer(), c.output + PROMPT);
        EXPECT_FALSE(console->batchMode);
        EXPECT_TRUE(console->inputOpen);
    }
}

TEST_F(Batch, WordRuleAndMissingFiles) {
    run("batch");
    EXPECT_EQ(
        buffer(),
        std::string("\n[syntax error] - batch command takes one argument that being the file to proccess") + PROMPT);
    console->load();
    run("batch nowhere.txt");
    EXPECT_EQ(buffer(), std::string(NOT_FOUND) + PROMPT);
    console->load();
    std::filesystem::create_directory("folder");
    run("batch folder");
    EXPECT_EQ(buffer(), std::string(NOT_FOUND) + PROMPT);
}

TEST_F(Batch, ReadOnlyFileRuns) {
    writeFile("ro.txt", "add 4 4");
    std::filesystem::permissions("ro.txt", std::filesystem::perms::owner_read);
    run("batch ro.txt");
    EXPECT_EQ(buffer(), std::string("\n 4 + 4 = 8") + PROMPT);
}

TEST_F(Batch, LongLinesRunWhole) {
    const std::string echo = "echo " + std::string(300, 'L');
    writeFile("long.txt", echo + "\n" + echo);
    run("batch long.txt");
    const std::string once = "\n " + std::string(300, 'L');
    EXPECT_EQ(buffer(), once + once + PROMPT);
}

TEST_F(Batch, PauseInsideDoesNotWait) {
    writeFile("p.txt", "pause\nadd 1 1\n");
    run("batch p.txt");
    EXPECT_EQ(buffer(), std::string("\n Press any key to continue ...\n 1 + 1 = 2") + PROMPT);
    EXPECT_TRUE(console->paused);
    type("k");  // only ends the pending pause; the line is open, so nothing prints
    EXPECT_FALSE(console->paused);
    EXPECT_EQ(buffer(), std::string("\n Press any key to continue ...\n 1 + 1 = 2") + PROMPT);
    type("j");
    EXPECT_EQ(buffer(), std::string("\n Press any key to continue ...\n 1 + 1 = 2") + PROMPT + "j");
}

TEST_F(Batch, NestedFilesKeepThePromptQuiet) {
    writeFile("inner.txt", "add 1 1\n");
    writeFile("outer.txt", "batch inner.txt\nadd 2 2\n");
    run("batch outer.txt");
    EXPECT_EQ(buffer(), std::string("\n 1 + 1 = 2\n 2 + 2 = 4") + PROMPT);
    EXPECT_EQ(console->batchDepth, 0);
}

TEST_F(Batch, SelfRecursionStopsWithError) {
    writeFile("self.txt", "batch self.txt\n");
    run("batch self.txt");
    const std::string out = buffer();
    EXPECT_EQ(out.rfind("\n[error] - ", 0), 0u);
    EXPECT_EQ(std::count(out.begin(), out.end(), '['), 1);
    EXPECT_EQ(out.substr(out.size() - 8), PROMPT);
    EXPECT_FALSE(console->batchMode);
}

TEST_F(Batch, ScriptWithoutLineBreakRunsInPlace) {
    std::string script = "add 5 5";
    console->batchMode = true;
    console->executeScript(script.data());
    EXPECT_EQ(buffer(), "\n 5 + 5 = 10");
    std::string empty;
    console->executeScript(empty.data());
    EXPECT_EQ(buffer(), "\n 5 + 5 = 10");
}

TEST_F(Batch, FileHelpers) {
    writeFile("f.bin", std::string("ab\0cd", 5));
    EXPECT_TRUE(fileExists("f.bin"));
    EXPECT_FALSE(fileExists("g.bin"));
    EXPECT_EQ(fileSize("f.bin"), 5);
    EXPECT_EQ(fileSize("g.bin"), -1);

    char buffer[8];
    EXPECT_TRUE(readFile("f.bin", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "ab");
    EXPECT_FALSE(readFile("g.bin", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, READ_FAILURE_MARK);

    // A file that grew after its size was taken is cut at the buffer's end.
    writeFile("grown.txt", std::string(100, 'g'));
    char small[4] = {1, 1, 1, 1};
    readFile("grown.txt", small, 3);
    EXPECT_STREQ(small, "gg");
    EXPECT_EQ(small[3], 1);
}

TEST(TextHelpers, FindText) {
    EXPECT_EQ(findText("hello world", "world", 0), 6);
    EXPECT_EQ(findText("hello world", "o", 5), 7);
    EXPECT_EQ(findText("he", "help", 0), -1);
    EXPECT_EQ(findText("abc", "", 0), -1);
    EXPECT_EQ(findText("abc", "c", 3), -1);
}

TEST(TextHelpers, CopyRangeAndTail) {
    char buffer[16];
    copyRange("abcdef", buffer, 1, 4);
    EXPECT_STREQ(buffer, "bcd");
    copyRange("abcdef", buffer, 4, 4);
    EXPECT_STREQ(buffer, "");
    copyRange("abcdef", buffer, 5, 2);
    EXPECT_STREQ(buffer, "");
    copyRange("abc", buffer, 1, 99);
    EXPECT_STREQ(buffer, "bc");
    copyTail("abcdef", buffer, 2);
    EXPECT_STREQ(buffer, "cdef");
    copyTail("abcdef", buffer, 6);
    EXPECT_STREQ(buffer, "");
    copyTail("abcdef", buffer, 60);
    EXPECT_STREQ(buffer, "");
}

TEST(TextHelpers, IsNumber) {
    EXPECT_TRUE(isNumber("0123456789"));
    EXPECT_TRUE(isNumber(""));
    EXPECT_FALSE(isNumber("-1"));
    EXPECT_FALSE(isNumber("12a"));
}
