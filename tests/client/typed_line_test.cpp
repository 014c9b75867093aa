#include <gtest/gtest.h>

#include "client/typed_line.h"

namespace {

TEST(TypedLine, OutputThatJoinedTheLineIsTakenOut) {
    struct Case {
        const char* name;
        const char* line;
        const char* printed;
        const char* expected;
    };
    const Case cases[] = {
        {"output after the typed text", "abcOUT\n", "OUT\n", "abc"},
        {"output between typed pieces", "abOUT\ncd", "OUT\n", "abcd"},
        {"only output", "OUT", "OUT", ""},
        {"nothing printed", "abc", "", "abc"},
        {"printed text not in the line", "abc", "zzz", "abc"},
        {"the last copy goes when the user typed the same text", "OUTxOUT", "OUT", "OUTx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(withoutPrintedText(c.line, c.printed), c.expected);
    }
}

}  // namespace
