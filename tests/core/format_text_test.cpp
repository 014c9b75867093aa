// Console::printf's own formatting against the C runtime's, byte for byte.
#include "console/format_text.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "test_support.h"

namespace {

// formatSimple's result, or "<vsnprintf>" when it leaves the format to it.
std::string simple(std::size_t size, const char* format, ...) {
    char out[512];
    va_list args;
    va_start(args, format);
    const int n = formatSimple(out, size, format, args);
    va_end(args);
    return n < 0 ? "<vsnprintf>" : std::string(out, static_cast<std::size_t>(n));
}

std::string runtime(const char* format, ...) {
    char out[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(out, sizeof out, format, args);
    va_end(args);
    return out;
}

}  // namespace

TEST(FormatText, CommonFormatsComeOutAsTheRuntimeMakesThem) {
    const int numbers[] = {0, 1, -1, 9, 10, 99, 100, -100, 123456789, INT_MAX, INT_MIN, INT_MIN + 1};
    for (int a : numbers) {
        for (int b : numbers) {
            SCOPED_TRACE(std::to_string(a) + ", " + std::to_string(b));
            EXPECT_EQ(simple(256, "\n %i + %i = %i", a, b, a ^ b), runtime("\n %i + %i = %i", a, b, a ^ b));
            EXPECT_EQ(simple(256, "%d%d", a, b), runtime("%d%d", a, b));
        }
    }
    EXPECT_EQ(simple(256, "%s", "\ncmd=)> "), "\ncmd=)> ");
    EXPECT_EQ(simple(256, "100%% of %s", "it"), runtime("100%% of %s", "it"));
    EXPECT_EQ(simple(256, "%s|%s", "", "x"), "|x");
    EXPECT_EQ(simple(256, "no directive"), "no directive");
    EXPECT_EQ(simple(256, ""), "");
}

TEST(FormatText, AnythingElseIsLeftToTheRuntime) {
    EXPECT_EQ(simple(256, "%5d", 3), "<vsnprintf>");
    EXPECT_EQ(simple(256, "%x", 3), "<vsnprintf>");
    EXPECT_EQ(simple(256, "%.2s", "abc"), "<vsnprintf>");
    EXPECT_EQ(simple(256, "%ld", 3L), "<vsnprintf>");
    EXPECT_EQ(simple(256, "trailing %"), "<vsnprintf>");
    EXPECT_EQ(simple(256, "%s", static_cast<const char*>(nullptr)), "<vsnprintf>");
    // A result without room for its terminator.
    EXPECT_EQ(simple(4, "abcd"), "<vsnprintf>");
    EXPECT_EQ(simple(5, "abcd"), "abcd");
    EXPECT_EQ(simple(4, "%d", -100), "<vsnprintf>");
}

using FormatPrint = ConsoleTest;

TEST_F(FormatPrint, PrintfGivesTheSameTextOnEitherPath) {
    const std::string big(300, 'b');
    console->printf("\n %i / %i = %i", -7, 2, -3);
    console->printf("[%5d|%x]", 42, 255);  // the runtime's path
    console->printf("<%s>", big.c_str());  // too long for the own path
    EXPECT_EQ(buffer(), "\n -7 / 2 = -3[   42|ff]<" + big + ">");
}
