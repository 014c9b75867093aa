// Typed command lines reach the interpreter through the window procedure and
// their output is read back exactly from the buffer.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "console_session.h"
#include "client/key_map.h"

namespace {

struct CommandCase {
    const char* name;
    const char* typed;
    const char* output;
};

const CommandCase COMMAND_CASES[] = {
    {"add", "add 2 3", "\n 2 + 3 = 5"},
    {"sub goes negative", "sub 2 5", "\n 2 - 5 = -3"},
    {"mul", "mul -4 6", "\n -4 * 6 = -24"},
    {"div truncates", "div 7 2", "\n 7 / 2 = 3"},
    {"div truncates toward zero", "div -7 2", "\n -7 / 2 = -3"},
    {"div of zero is zero", "div 0 5", "\n 0 / 5 = 0"},
    {"div refuses zero divisor", "div 5 0", "\n [syntax error] - the div commad cannot divide by zero "},
    {"add wraps around", "add 2147483647 1", "\n 2147483647 + 1 = -2147483648"},
    {"words that are not numbers count as 0", "add x y", "\n 0 + 0 = 0"},
    {"add needs two arguments", "add 1", "\n [syntax error] - the add command must take two numeric arguments "},
    {"spaces around words do not matter", "  add   2  3 ", "\n 2 + 3 = 5"},
    {"unknown command", "frobnicate", "\n - unknown command"},
    {"command words are case-sensitive", "ADD 1 2", "\n - unknown command"},
    {"echo keeps the raw spaces", "echo  two  spaces", "\n  two  spaces"},
    {"echo alone prints a line break", "echo", "\n"},
    {"shifted keys and percent signs", "echo Hi! a_b:c (50%s) \"q\" <>?", "\n Hi! a_b:c (50%s) \"q\" <>?"},
    {"unknown colour", "settextcolor purple", "\n[syntax error] - the set color command requires a valid color"},
    {"colour needs one argument", "setbkcolor", "\n[syntax error] - the set color command requires one argument"},
    {"known colour prints nothing", "settextcolor green", ""},
    {"empty line prints only the prompt", "", ""},
    {"missing batch file", "batch e2enosuchfile.txt", "\n[error] - file not found"},
};

TEST(TypedCommands, PrintTheirOutputAfterTheTypedLineAndAPrompt) {
    ConsoleSession& console = sharedConsole();
    for (const CommandCase& c : COMMAND_CASES) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(console.reset());
        ASSERT_TRUE(console.command(c.typed));
        EXPECT_EQ(console.dump(), std::string(PROMPT) + c.typed + c.output + PROMPT);
    }
}

TEST(TypedCommands, FlushEmptiesTheBufferBeforeThePrompt) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.command("echo old text"));
    ASSERT_TRUE(console.command("flush"));
    EXPECT_EQ(console.dump(), PROMPT);
}

TEST(TypedCommands, BatchRunsEveryLineWithOnePromptAtTheEnd) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(writeWholeFile("e2ebatch.txt", "add 1 2\nsub 5 3\necho done\n"));
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.command("batch e2ebatch.txt"));
    EXPECT_EQ(console.dump(), std::string(PROMPT) + "batch e2ebatch.txt\n 1 + 2 = 3\n 5 - 3 = 2\n done" + PROMPT);
}

TEST(TypedCommands, PauseWaitsForAKeyThatIsNotTyped) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.command("pause"));
    ASSERT_TRUE(console.client.key('X'));
    EXPECT_EQ(console.dump(), std::string(PROMPT) + "pause" + PAUSE_LINE + PAUSE_END_PROMPT);
}

TEST(TypedCommands, LostPrintsItsVerseAndPauses) {
    constexpr std::size_t VERSE_LENGTH = 185;
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.command("lost"));
    ASSERT_TRUE(console.client.key('X'));
    const std::string buffer = console.dump();
    const std::string head = std::string(PROMPT) + "lost";
    const std::string tail = std::string(PAUSE_LINE) + PAUSE_END_PROMPT;
    ASSERT_EQ(buffer.size(), head.size() + VERSE_LENGTH + tail.size()) << buffer;
    EXPECT_EQ(buffer.substr(0, head.size()), head);
    EXPECT_EQ(buffer.substr(buffer.size() - tail.size()), tail);
    const std::string verse = buffer.substr(head.size(), VERSE_LENGTH);
    EXPECT_EQ(verse.substr(0, 2), "\n ");
    EXPECT_EQ(verse.substr(VERSE_LENGTH - 2), "\n ");
}

TEST(TypedCommands, CallOpensTheProgramThroughTheShell) {
    const std::string marker = "e2ecall.txt";
    DeleteFileA(marker.c_str());
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.command("call cmd /c echo called>" + marker));
    EXPECT_EQ(console.dump(), std::string(PROMPT) + "call cmd /c echo called>" + marker + "\n" + PROMPT);
    // The shell starts the program on its own; wait for its whole mark (cmd
    // may write the line end in a write of its own).
    std::string content;
    for (int i = 0; i < 100 && content.find('\n') == std::string::npos; ++i) {
        Sleep(100);
        content = readWholeFile(marker);
    }
    EXPECT_EQ(content, "called\r\n");
}

TEST(LineEditor, BackspaceRemovesTypedCharactersButNeverThePrompt) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.client.type("ab"));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(console.client.key(KEY_BACKSPACE));
    ASSERT_TRUE(console.command("echo x"));
    EXPECT_EQ(console.dump(), std::string(PROMPT) + "echo x\n x" + PROMPT);
}

TEST(LineEditor, RefusesTheHundredAndSixthCharacter) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.command(std::string(110, 'a')));
    EXPECT_EQ(console.dump(), std::string(PROMPT) + std::string(105, 'a') + "\n - unknown command" + PROMPT);
}

TEST(LineEditor, TypedKeyIsInTheBufferWhenTheSendReturns) {
    ConsoleSession& console = sharedConsole();
    ASSERT_TRUE(console.reset());
    ASSERT_TRUE(console.client.key('Z'));
    // A prompt request while the line is open prints nothing and fixes what is
    // typed, so the dump that follows shows the key in place.
    ASSERT_TRUE(console.client.prompt());
    EXPECT_EQ(console.dump(), std::string(PROMPT) + "z");
}

}  // namespace
