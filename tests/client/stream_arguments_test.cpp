#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tools/korvane_stream/stream_arguments.h"

namespace {

TEST(StreamArguments, VerbsAndTheirWords) {
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        StreamVerb verb;
        std::string text;
        std::vector<std::string> program;
        unsigned timeoutMs;
    };
    const unsigned none = 0xFFFFFFFFu;
    const Case cases[] = {
        {"print joins its words with a line end", {"print", "hello", "world"}, StreamVerb::print, "hello world\n", {}, none},
        {"print -n leaves the line end out", {"print", "-n", "name?", ""}, StreamVerb::print, "name? ", {}, none},
        {"print of nothing is a line end", {"print"}, StreamVerb::print, "\n", {}, none},
        {"words after the text are text", {"print", "a", "-n"}, StreamVerb::print, "a -n\n", {}, none},
        {"-- ends the options", {"print", "--", "-n"}, StreamVerb::print, "-n\n", {}, none},
        {"print - reads standard input", {"print", "-"}, StreamVerb::printInput, "", {}, none},
        {"readline with a timeout after the verb", {"readline", "--timeout", "2.5"}, StreamVerb::readLine, "", {}, 2500},
        {"a timeout before the verb", {"--timeout", "1", "pause"}, StreamVerb::pause, "", {}, 1000},
        {"a fraction of a millisecond rounds up", {"--timeout", "0.0001", "pause"}, StreamVerb::pause, "", {}, 1},
        {"prompt", {"prompt"}, StreamVerb::prompt, "", {}, none},
        {"cancel", {"cancel"}, StreamVerb::cancel, "", {}, none},
        {"clear", {"clear"}, StreamVerb::clear, "", {}, none},
        {"exec keeps the program's own options", {"exec", "prog", "--timeout", "-n"}, StreamVerb::exec, "", {"prog", "--timeout", "-n"}, none},
        {"--help wins", {"print", "--help"}, StreamVerb::help, "", {}, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ParsedArguments parsed = parseStreamArguments(c.arguments);
        ASSERT_TRUE(parsed.ok) << parsed.error;
        EXPECT_EQ(parsed.command.verb, c.verb);
        EXPECT_EQ(parsed.command.text, c.text);
        EXPECT_EQ(parsed.command.program, c.program);
        EXPECT_EQ(parsed.command.timeoutMs, c.timeoutMs);
    }
}

TEST(StreamArguments, MistakesAreUsageErrorsWithAReason) {
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        const char* inError;
    };
    const Case cases[] = {
        {"no verb", {}, "no verb"},
        {"unknown verb", {"shout"}, "shout"},
        {"unknown option", {"--loud", "print"}, "--loud"},
        {"timeout without seconds", {"readline", "--timeout"}, "--timeout"},
        {"timeout of words", {"readline", "--timeout", "soon"}, "soon"},
        {"negative timeout", {"readline", "--timeout", "-1"}, "-1"},
        {"zero timeout", {"readline", "--timeout", "0"}, "\"0\""},
        {"exec without a program", {"exec"}, "program"},
        {"words after readline", {"readline", "now"}, "now"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ParsedArguments parsed = parseStreamArguments(c.arguments);
        EXPECT_FALSE(parsed.ok);
        EXPECT_NE(parsed.error.find(c.inError), std::string::npos) << parsed.error;
    }
}

TEST(StreamArguments, TimeoutSecondsAreCheckedAndRoundedUp) {
    unsigned ms = 0;
    EXPECT_TRUE(parseTimeoutSeconds("0.001", ms));
    EXPECT_EQ(ms, 1u);
    EXPECT_TRUE(parseTimeoutSeconds("2073600", ms));  // 24 days
    EXPECT_EQ(ms, 2073600000u);
    EXPECT_FALSE(parseTimeoutSeconds("2073601", ms));
    EXPECT_FALSE(parseTimeoutSeconds("1e3", ms));
    EXPECT_FALSE(parseTimeoutSeconds("1.2.3", ms));
    EXPECT_FALSE(parseTimeoutSeconds("", ms));
}

TEST(ExitStatus, EachFailureHasItsOwnStatusInTheKitsRange) {
    const BridgeError failures[] = {BridgeError::noConsole, BridgeError::noAnswer, BridgeError::timedOut,
                                    BridgeError::consoleGone, BridgeError::streamOut};
    std::set<int> seen = {EXIT_USAGE, EXIT_NOT_STARTED};
    for (BridgeError failure : failures) {
        const int status = exitStatusFor(failure);
        EXPECT_GE(status, FIRST_KIT_STATUS);
        EXPECT_LE(status, LAST_KIT_STATUS);
        EXPECT_TRUE(seen.insert(status).second) << "status " << status << " used twice";
        EXPECT_STRNE(bridgeErrorMessage(failure), "unknown error");
    }
    EXPECT_EQ(exitStatusFor(BridgeError::none), 0);
    EXPECT_EQ(exitStatusFor(BridgeError::interrupted), 130);
    EXPECT_NE(std::string(streamUsage()).find("  130  "), std::string::npos);
    // The help text documents every status.
    for (int status = FIRST_KIT_STATUS; status <= LAST_KIT_STATUS; ++status)
        EXPECT_NE(std::string(streamUsage()).find("  " + std::to_string(status) + "  "), std::string::npos) << status;
}

}  // namespace
