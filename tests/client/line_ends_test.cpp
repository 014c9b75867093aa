#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/line_ends.h"

namespace {

std::string filtered(const std::vector<std::string>& chunks) {
    LineEndFilter filter;
    std::string out;
    for (const std::string& chunk : chunks) out += filter.feed(chunk);
    return out + filter.finish();
}

TEST(LineEndFilter, TurnsCrLfIntoOneLineBreakAcrossChunks) {
    struct Case {
        const char* name;
        std::vector<std::string> chunks;
        std::string expected;
    };
    const Case cases[] = {
        {"one chunk", {"a\r\nb\r\n"}, "a\nb\n"},
        {"CR at the end of a chunk, LF at the start of the next", {"a\r", "\nb"}, "a\nb"},
        {"a lone CR stays", {"a\rb"}, "a\rb"},
        {"a held CR followed by text stays", {"a\r", "b"}, "a\rb"},
        {"a held CR at the end of the text stays", {"a\r"}, "a\r"},
        {"an empty chunk keeps the CR held", {"a\r", "", "\n"}, "a\n"},
        {"CR CR LF keeps the first CR", {"a\r\r\n"}, "a\r\n"},
        {"CR CR LF split after the first CR", {"a\r", "\r\n"}, "a\r\n"},
        {"LF alone passes", {"a\nb"}, "a\nb"},
        {"zero bytes are dropped, the rest stays", {std::string("a\0b\0", 4), std::string("\0c", 2)}, "abc"},
        {"a zero between CR and LF", {std::string("a\r\0", 3), "\n"}, "a\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(filtered(c.chunks), c.expected);
    }
}

TEST(LineEndFilter, HoldsBackOnlyTheTrailingCr) {
    LineEndFilter filter;
    EXPECT_EQ(filter.feed("question? \r"), "question? ");
    EXPECT_EQ(filter.feed("\n"), "\n");
    EXPECT_EQ(filter.finish(), "");
}

}  // namespace
