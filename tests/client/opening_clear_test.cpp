#include "client/opening_clear.h"

#include <gtest/gtest.h>

#include "tools/korvane_stream/stream_arguments.h"

TEST(OpeningClear, TheConsoleHostsOpeningClearIsTakenOutUntilTheFirstCharacter) {
    OpeningClearFilter filter;
    // Cut inside a sequence: the rest comes with the next piece.
    EXPECT_EQ(filter.feed("\x1b[2J\x1b[m\x1b["), "\x1b[m");
    EXPECT_TRUE(filter.opening());
    EXPECT_EQ(filter.feed("H\x1b]0;t\x07\x1b[?25l\r\n\x1b[Kx\x1b[2J"), "\x1b]0;t\x07\x1b[?25l\r\nx\x1b[2J");
    EXPECT_FALSE(filter.opening());
    EXPECT_EQ(filter.feed("\x1b[H\x1b[2J"), "\x1b[H\x1b[2J");  // the program's own clear acts
}

TEST(StreamArgumentsTerminal, PrintTerminalAndExecOutputs) {
    EXPECT_TRUE(parseStreamArguments({"print", "--terminal", "a"}).command.terminal);
    const ParsedArguments input = parseStreamArguments({"print", "--terminal", "-"});
    EXPECT_EQ(input.command.verb, StreamVerb::printInput);
    EXPECT_TRUE(input.command.terminal);
    EXPECT_EQ(parseStreamArguments({"exec", "p"}).command.execOutput, ExecOutput::terminal);
    EXPECT_EQ(parseStreamArguments({"exec", "--raw", "p"}).command.execOutput, ExecOutput::raw);
    const ParsedArguments console = parseStreamArguments({"exec", "--console", "p", "--raw"});
    EXPECT_EQ(console.command.execOutput, ExecOutput::console);
    EXPECT_EQ(console.command.program, (std::vector<std::string>{"p", "--raw"}));
    EXPECT_FALSE(parseStreamArguments({"exec", "--raw", "--console", "p"}).ok);
}
