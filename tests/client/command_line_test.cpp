#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/command_line.h"

namespace {

// The C runtime's rules for splitting a command line, to check that quoting
// round-trips: 2n backslashes before a quote give n and the quote toggles,
// 2n+1 give n and a literal quote, other backslashes are literal.
std::vector<std::string> splitLikeTheRuntime(const std::string& line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i == line.size()) break;
        std::string word;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            std::size_t backslashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                word.append(backslashes / 2, '\\');
                if (backslashes % 2) {
                    word += '"';
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                word.append(backslashes, '\\');
                if (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) word += line[i++];
            }
        }
        words.push_back(word);
    }
    return words;
}

TEST(CommandLine, QuotedArgumentsComeBackUnchanged) {
    const std::vector<std::vector<std::string>> cases = {
        {"line-program", "echo"},
        {"C:\\Program Files\\tool.exe", "two words"},
        {"prog", "say \"hi\""},
        {"prog", "ends with a backslash\\"},
        {"prog", "C:\\dir\\"},
        {"prog", "\\\\server\\share"},
        {"prog", "back\\\"slash quote"},
        {"prog", "tab\there"},
    };
    for (const auto& arguments : cases) {
        SCOPED_TRACE(arguments[1]);
        EXPECT_EQ(splitLikeTheRuntime(joinCommandLine(arguments)), arguments);
    }
}

TEST(CommandLine, PlainWordsStayBareAndEmptyOnesAreQuoted) {
    EXPECT_EQ(quoteArgument("plain"), "plain");
    EXPECT_EQ(quoteArgument("C:\\dir\\file"), "C:\\dir\\file");
    EXPECT_EQ(quoteArgument(""), "\"\"");
    EXPECT_EQ(joinCommandLine({"a", "", "b"}), "a \"\" b");
}

}  // namespace
