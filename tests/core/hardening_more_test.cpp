// Faults the fuzzers and the coverage report pointed at: hostile numbers,
// failing files, and a buffer that lost its terminator.
#include <climits>
#include <cmath>
#include <cstring>
#include <ctime>
#include <limits>
#include <string>

#include "commands/file_helpers.h"
#include "commands/time_text.h"
#include "console/number_text.h"
#include "test_support.h"

using Hardening = ConsoleTest;

TEST(TimeText, ExtremeYearsStayInFourDigits) {
    // Found by fuzz_text: tm_year + 1900 overflowed before it was clamped.
    struct Case {
        const char* name;
        int year;
        const char* expected;
    } cases[] = {
        {"largest", INT_MAX, "Sun Jan 00 00:00:00 9999\n"},
        {"smallest", INT_MIN, "Sun Jan 00 00:00:00 0000\n"},
        {"just past 9999", 8100, "Sun Jan 00 00:00:00 9999\n"},
        {"year zero", -1900, "Sun Jan 00 00:00:00 0000\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::tm time{};
        time.tm_year = c.year;
        char out[TIME_TEXT_SIZE];
        formatTimeText(time, out);
        EXPECT_STREQ(out, c.expected);
    }
}

TEST(NumberText, SpecialValuesAndExponents) {
    struct Case {
        const char* name;
        double value;
        const char* expected;
    } cases[] = {
        {"nan", std::nan(""), "nan"},
        {"infinity", std::numeric_limits<double>::infinity(), "inf"},
        {"minus infinity", -std::numeric_limits<double>::infinity(), "-inf"},
        {"three exponent digits", 1e100, "1e+100"},
        {"two exponent digits", 1e-5, "1e-05"},
        {"ten digits rounded", 0.1 + 0.2, "0.3"},
        {"largest double", std::numeric_limits<double>::max(), "1.797693135e+308"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char out[32];
        formatDouble(c.value, out, sizeof out);
        EXPECT_STREQ(out, c.expected);
    }
    // A small buffer is cut, never overrun.
    char tiny[4] = {'#', '#', '#', '#'};
    formatDouble(-2.25e20, tiny, 3);
    EXPECT_STREQ(tiny, "-2");
    EXPECT_EQ(tiny[3], '#');
}

TEST_F(Hardening, DumpReportsAFileThatCannotBeWritten) {
    // The open succeeds but the data never reaches the disk: that is no success.
    run("dump /dev/full");
    EXPECT_NE(buffer().find("[error] - could not write the whole buffer into the file /dev/full"), std::string::npos);
    EXPECT_EQ(buffer().find("succesful"), std::string::npos);
}

TEST_F(Hardening, FileHelpersRefuseDirectoriesAndTinyBuffers) {
    std::filesystem::create_directory("folder");
    EXPECT_EQ(fileSize("folder"), -1);
    run("batch folder");
    EXPECT_NE(buffer().find("\n[error] - file not found"), std::string::npos);

    writeFile("f.txt", "abc");
    char one[1] = {'#'};
    EXPECT_FALSE(readFile("f.txt", one, 1));
    EXPECT_EQ(one[0], '\0');
    char none[1] = {'#'};
    EXPECT_FALSE(readFile("f.txt", none, 0));
    EXPECT_EQ(none[0], '#');
    EXPECT_EQ(fileSize("f.txt"), 3);
}

TEST_F(Hardening, BufferWithoutTerminatorIsNeverReadPast) {
    std::memset(console->text, 'x', sizeof console->text);
    EXPECT_EQ(console->length(), CONSOLE_CAPACITY);
    console->write("abc");
    EXPECT_EQ(console->length(), CONSOLE_CAPACITY);
    EXPECT_EQ(buffer(), std::string(CONSOLE_CAPACITY - 3, 'x') + "abc");
    console->write("\nnew");  // the unfinished old line goes
    EXPECT_EQ(buffer(), "new");
}

TEST_F(Hardening, BatchRefusesTooDeepNesting) {
    // Each file runs the next; the chain is longer than the nesting limit.
    for (int i = 0; i < 20; ++i) writeFile("n" + std::to_string(i), "batch n" + std::to_string(i + 1) + "\n");
    writeFile("n20", "echo bottom\n");
    run("batch n0");
    EXPECT_NE(buffer().find("[error] - batch files nested too deeply, n16 not run"), std::string::npos);
    EXPECT_EQ(buffer().find("bottom"), std::string::npos);
    EXPECT_EQ(console->batchDepth, 0);
    EXPECT_FALSE(console->batchMode);
    EXPECT_TRUE(console->inputOpen);
}

TEST_F(Hardening, BatchFanOutIsBounded) {
    // Four runs of itself per file would be 4^16 files below the nesting
    // limit; the console must come back with its prompt instead.
    writeFile("fan.txt", "batch fan.txt\nbatch fan.txt\nbatch fan.txt\nbatch fan.txt\n");
    run("batch fan.txt");
    EXPECT_NE(buffer().find("[error] - too many batch files run by one batch command, fan.txt not run"),
              std::string::npos);
    EXPECT_EQ(console->batchDepth, 0);
    EXPECT_FALSE(console->batchMode);
    EXPECT_TRUE(console->inputOpen);

    // The count starts again with the next batch command.
    console->inputOpen = false;
    writeFile("one.txt", "echo fresh\n");
    run("batch one.txt");
    EXPECT_NE(buffer().find("\n fresh"), std::string::npos);
}
