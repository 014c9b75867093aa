// The console's reactions to its client's requests.
#include "bridge/bridge_requests.h"
#include "test_support.h"

using Bridge = ConsoleTest;

namespace {
constexpr char PROMPT[] = "\ncmd=)> ";
}

TEST_F(Bridge, InputRequestKeepsPromptAndFixesTypedText) {
    console->showPrompt();
    type("ab");
    EXPECT_TRUE(handleBridgeRequest(*console, WM_BRIDGE_INPUT));
    console->onKey(8);  // "ab" can no longer be erased
    type("cd");
    console->onKey(13);
    EXPECT_EQ(fileText(STREAM_IN_PATH), "cd");
    EXPECT_EQ(buffer(), std::string(PROMPT) + "abcd");
}

TEST_F(Bridge, EmptyLineGivesEmptyFile) {
    handleBridgeRequest(*console, WM_BRIDGE_INPUT);
    console->onKey(13);
    EXPECT_EQ(fileText(STREAM_IN_PATH), "");
    EXPECT_EQ(fakePlatform().notifications, std::vector<unsigned>{WM_BRIDGE_INPUT});
}

TEST_F(Bridge, CancelKeepsRequestPendingForTheNextLine) {
    console->showPrompt();
    handleBridgeRequest(*console, WM_BRIDGE_INPUT);
    handleBridgeRequest(*console, WM_BRIDGE_CANCEL);
    EXPECT_FALSE(console->inputOpen);
    EXPECT_TRUE(console->clientInput);
    EXPECT_EQ(buffer(), "\n");
    handleBridgeRequest(*console, WM_BRIDGE_PROMPT);
    type("x");
    console->onKey(13);
    EXPECT_EQ(fileText(STREAM_IN_PATH), "x");
}

TEST_F(Bridge, CancelOfBareInputLineCutsSevenCharacters) {
    console->write("0123456789");
    handleBridgeRequest(*console, WM_BRIDGE_INPUT);
    handleBridgeRequest(*console, WM_BRIDGE_CANCEL);
    EXPECT_EQ(buffer(), "012");
}

TEST_F(Bridge, PromptWhileInputOpenOnlyMovesStart) {
    console->showPrompt();
    type("ab");
    handleBridgeRequest(*console, WM_BRIDGE_PROMPT);
    EXPECT_EQ(buffer(), std::string(PROMPT) + "ab");
    EXPECT_EQ(console->inputStart, console->length());
}

TEST_F(Bridge, PauseWhileInputOpenPrintsNothing) {
    console->showPrompt();
    handleBridgeRequest(*console, WM_BRIDGE_PAUSE);
    EXPECT_EQ(buffer(), PROMPT);
    EXPECT_TRUE(console->paused);
    console->onKey(65);
    EXPECT_EQ(fakePlatform().notifications, std::vector<unsigned>{WM_BRIDGE_PAUSE});
    EXPECT_EQ(buffer(), PROMPT);
}

TEST_F(Bridge, ClearLeavesInputLineUsable) {
    console->showPrompt();
    type("abc");
    handleBridgeRequest(*console, WM_BRIDGE_CLEAR);
    EXPECT_EQ(buffer(), "");
    type("add 1 1");
    console->onKey(13);
    EXPECT_EQ(buffer(), std::string("add 1 1\n 1 + 1 = 2") + PROMPT);
}

TEST_F(Bridge, PrintAppendsFileUpToZeroByte) {
    writeFile(STREAM_OUT_PATH, std::string("hello\0world", 11));
    handleBridgeRequest(*console, WM_BRIDGE_PRINT);
    EXPECT_EQ(buffer(), "hello");
    EXPECT_EQ(fileText(STREAM_OUT_PATH).size(), 11u);  // left as it was
}

TEST_F(Bridge, PrintWithoutFileChangesNothing) {
    console->write("keep");
    handleBridgeRequest(*console, WM_BRIDGE_PRINT);
    EXPECT_EQ(buffer(), "keep");
}

TEST_F(Bridge, PrintIntoOpenLineBecomesPartOfIt) {
    console->showPrompt();
    type("ab");
    writeFile(STREAM_OUT_PATH, "XY");
    handleBridgeRequest(*console, WM_BRIDGE_PRINT);
    console->clientInput = true;
    console->onKey(13);
    EXPECT_EQ(fileText(STREAM_IN_PATH), "abXY");
}

TEST_F(Bridge, HugePrintKeepsBufferBoundedAndLineEditable) {
    std::string big;
    for (int i = 0; big.size() < 10u * 1024 * 1024; ++i) big += "line " + std::to_string(i) + "\n";
    writeFile(STREAM_OUT_PATH, big);
    console->showPrompt();
    handleBridgeRequest(*console, WM_BRIDGE_PRINT);
    EXPECT_LE(buffer().size(), 4999u);
    EXPECT_EQ(buffer().substr(buffer().size() - 7), big.substr(big.size() - 7));
    EXPECT_LE(console->inputStart, console->length());
    handleBridgeRequest(*console, WM_BRIDGE_PROMPT);
    type("typed");
    console->clientInput = true;
    console->onKey(13);
    EXPECT_EQ(fileText(STREAM_IN_PATH), "typed");
}

TEST_F(Bridge, UnknownMessagesAreNotHandled) {
    EXPECT_FALSE(handleBridgeRequest(*console, 1028));
    EXPECT_FALSE(handleBridgeRequest(*console, 1035));
}

// A print of many chunks leaves the buffer exactly as one write of the whole
// text would, input start included.
TEST_F(Bridge, PrintOfLargeFileMatchesOneWrite) {
    std::string text;
    for (int i = 0; text.size() < 300000; ++i)
        text += std::string(static_cast<std::size_t>(i % 157), 'a' + i % 26) + "\n";
    text += std::string(7000, 'z');  // ends in a line longer than the buffer
    for (const std::string& file : {text, text.substr(0, 200000)}) {
        writeFile(STREAM_OUT_PATH, file);
        console->load();
        console->showPrompt();
        type("ab");
        handleBridgeRequest(*console, WM_BRIDGE_PRINT);

        Console expected{};
        expected.load();
        expected.showPrompt();
        expected.write("ab");
        expected.write(file.c_str());
        EXPECT_STREQ(console->text, expected.text);
        EXPECT_EQ(console->inputStart, expected.inputStart);
    }
}

// Another client's print while a reader's line is open, marked to go above
// it: long lines, more lines than the screen and more than the buffer holds
// all land above the line; typing goes on and the reader gets exactly the
// typed characters.
TEST_F(Bridge, PrintAboveTheInputLineKeepsTheTypedLineWhole) {
    std::string print;
    for (int i = 0; i < 45; ++i) print += std::to_string(100 + i) + std::string(130, 'x') + "\n";
    writeFile(STREAM_OUT_PATH, print);
    console->write("Name? ");
    handleBridgeRequest(*console, WM_BRIDGE_INPUT);
    type("ab");
    EXPECT_TRUE(handleBridgeRequest(*console, WM_BRIDGE_PRINT, BRIDGE_PRINT_ABOVE_INPUT));
    EXPECT_EQ(buffer().substr(buffer().size() - 142), print.substr(print.size() - 134) + "Name? ab");
    type("cd");
    console->onKey(13);
    EXPECT_EQ(fileText(STREAM_IN_PATH), "abcd");
    // With the line closed it is a plain print.
    writeFile(STREAM_OUT_PATH, "!");
    handleBridgeRequest(*console, WM_BRIDGE_PRINT, BRIDGE_PRINT_ABOVE_INPUT);
    EXPECT_EQ(buffer().substr(buffer().size() - 11), "Name? abcd!");
}

// A client gone while it waits: the line still goes to the stream file and
// the pause still ends, then the prompt comes back and commands run.
TEST_F(Bridge, WithNoClientWindowTheLineAndThePauseEndAtAPrompt) {
    fakePlatform().clientPresent = false;
    handleBridgeRequest(*console, WM_BRIDGE_INPUT);
    type("lost");
    console->onKey(13);
    EXPECT_EQ(fileText(STREAM_IN_PATH), "lost");
    EXPECT_EQ(buffer(), std::string("lost") + PROMPT);
    handleBridgeRequest(*console, WM_BRIDGE_CANCEL);
    handleBridgeRequest(*console, WM_BRIDGE_PAUSE);
    console->onKey(65);
    EXPECT_FALSE(console->paused);
    type("add 2 3");
    console->onKey(13);
    EXPECT_EQ(buffer(),
              std::string("lost\n\n Press any key to continue ...") + PROMPT + "add 2 3\n 2 + 3 = 5" + PROMPT);
    EXPECT_EQ(fakePlatform().notifications, (std::vector<unsigned>{WM_BRIDGE_INPUT, WM_BRIDGE_PAUSE}));
}
