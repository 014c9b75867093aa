// Keys: translation, editing the open line, Enter, and the two pauses.
#include "bridge/bridge.h"
#include "console/translate_key.h"
#include "test_support.h"

TEST(TranslateKey, LettersFollowShiftAndCaps) {
    EXPECT_EQ(translateKeyWithShift(65, false, false), 'a');
    EXPECT_EQ(translateKeyWithShift(65, false, true), 'A');
    EXPECT_EQ(translateKeyWithShift(65, true, false), 'A');
    EXPECT_EQ(translateKeyWithShift(65, true, true), 'a');
}

TEST(TranslateKey, DigitRowUnderShiftIgnoresCaps) {
    const char* shifted = ")!@#$%^&*(";
    for (int digit = 0; digit <= 9; ++digit) {
        EXPECT_EQ(translateKeyWithShift(48 + digit, false, false), '0' + digit);
        EXPECT_EQ(translateKeyWithShift(48 + digit, false, true), shifted[digit]);
        EXPECT_EQ(translateKeyWithShift(48 + digit, true, true), shifted[digit]);
    }
}

TEST(TranslateKey, OemKeysIgnoreCaps) {
    struct Case {
        unsigned code;
        char plain, shifted;
    };
    const Case cases[] = {{186, ';', ':'}, {187, '=', '+'},  {188, ',', '<'},      {189, '-', '_'},
                          {190, '.', '>'}, {191, '/', '?'},  {219, '[', '{'},      {220, '\\', '\\'},
                          {221, ']', '}'}, {222, '\'', '"'}, {192, '\xB5', '\xB5'}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        for (bool caps : {false, true}) {
            EXPECT_EQ(translateKeyWithShift(c.code, caps, false), c.plain);
            EXPECT_EQ(translateKeyWithShift(c.code, caps, true), c.shifted);
        }
    }
}

TEST(TranslateKey, OtherKeysTypeTheirCodeAsCharacter) {
    EXPECT_EQ(translateKeyWithShift(97, false, false), 'a');   // keypad 1
    EXPECT_EQ(translateKeyWithShift(96, false, false), '`');   // keypad 0
    EXPECT_EQ(translateKeyWithShift(112, false, false), 'p');  // F1
    EXPECT_EQ(translateKeyWithShift(46, false, false), '.');   // Delete
    EXPECT_EQ(translateKeyWithShift(33, false, false), '!');   // Page Up
    EXPECT_EQ(translateKeyWithShift(32, false, true), ' ');
    EXPECT_EQ(translateKeyWithShift(200, false, false), '\xC8');
}

TEST(TranslateKey, ReadsShiftFromThePlatform) {
    fakePlatform().shift = true;
    EXPECT_EQ(translateKey(66, false), 'B');
    fakePlatform().shift = false;
    EXPECT_EQ(translateKey(66, false), 'b');
}

using LineEditor = ConsoleTest;

TEST_F(LineEditor, TypedLineLengthIsLimited) {
    console->showPrompt();
    type(std::string(104, 'a'));
    type("b");  // the 105th is accepted
    EXPECT_EQ(console->length() - console->inputStart, 105);
    type("c");           // the 106th is refused
    console->onKey(20);  // so is the caps toggle
    EXPECT_FALSE(console->capsLock);
    EXPECT_EQ(console->length() - console->inputStart, 105);
    console->onKey(8);  // Backspace still works
    EXPECT_EQ(console->length() - console->inputStart, 104);
    type("dd");
    console->onKey(13);  // and Enter
    EXPECT_NE(buffer().find(" - unknown command"), std::string::npos);
}

TEST_F(LineEditor, BackspaceNeverErasesThePrompt) {
    console->showPrompt();
    console->onKey(8);
    EXPECT_EQ(buffer(), "\ncmd=)> ");
    type("ab");
    console->onKey(8);
    console->onKey(8);
    console->onKey(8);
    EXPECT_EQ(buffer(), "\ncmd=)> ");

    console->load();
    console->beginInput();
    console->onKey(8);  // empty buffer stays empty
    EXPECT_EQ(buffer(), "");
}

TEST_F(LineEditor, IgnoredKeysAndCapsToggle) {
    console->showPrompt();
    for (unsigned key : {16u, 17u, 27u, 36u, 37u, 38u, 39u, 40u}) console->onKey(key);
    EXPECT_EQ(buffer(), "\ncmd=)> ");
    console->onKey(20);
    type("a");
    console->onKey(20);
    type("a");
    EXPECT_EQ(buffer(), "\ncmd=)> Aa");
}

TEST_F(LineEditor, EnterRunsTheTypedLine) {
    console->showPrompt();
    type("add 2 3");
    console->onKey(13);
    EXPECT_EQ(buffer(), "\ncmd=)> add 2 3\n 2 + 3 = 5\ncmd=)> ");
    EXPECT_TRUE(console->inputOpen);

    console->onKey(13);  // an empty line answers with a prompt
    EXPECT_EQ(buffer(), "\ncmd=)> add 2 3\n 2 + 3 = 5\ncmd=)> \ncmd=)> ");
}

TEST_F(LineEditor, KeysAreIgnoredWhileClosed) {
    type("abc");
    EXPECT_EQ(buffer(), "");
}

TEST_F(LineEditor, KeyIntoFullBufferDropsOldestText) {
    console->write(std::string(4990, 'o').c_str());
    console->showPrompt();
    type("hello");
    EXPECT_LE(buffer().size(), 4999u);
    EXPECT_EQ(std::string(console->text + console->inputStart), "hello");
    console->onKey(13);
    EXPECT_NE(buffer().find("hello\n - unknown command"), std::string::npos);
}

TEST_F(LineEditor, OwnPauseEndsWithPromptAndSwallowsKey) {
    console->showPrompt();
    type("pause");
    console->onKey(13);
    EXPECT_TRUE(console->paused);
    EXPECT_FALSE(console->inputOpen);
    EXPECT_EQ(buffer(), "\ncmd=)> pause\n Press any key to continue ...");
    type("x");
    EXPECT_FALSE(console->paused);
    EXPECT_TRUE(console->inputOpen);
    EXPECT_EQ(buffer(), "\ncmd=)> pause\n Press any key to continue ...\ncmd=)>");
    type("y");
    EXPECT_EQ(buffer(), "\ncmd=)> pause\n Press any key to continue ...\ncmd=)>y");
}

TEST_F(LineEditor, ClientPauseNotifiesAndPrintsNothing) {
    console->clientPause = true;
    console->pause();
    const std::string before = buffer();
    console->onKey(27);
    EXPECT_FALSE(console->paused);
    EXPECT_FALSE(console->clientPause);
    EXPECT_EQ(buffer(), before);
    ASSERT_EQ(fakePlatform().notifications.size(), 1u);
    EXPECT_EQ(fakePlatform().notifications[0], WM_BRIDGE_PAUSE);
    EXPECT_FALSE(console->inputOpen);
}

TEST_F(LineEditor, PauseRequestedDuringPauseNotificationSurvives) {
    fakePlatform().onNotify = [&](unsigned message) {
        if (message == WM_BRIDGE_PAUSE && fakePlatform().notifications.size() == 1) {
            console->clientPause = true;
            console->pause();
        }
    };
    console->clientPause = true;
    console->pause();
    console->onKey(65);
    EXPECT_TRUE(console->paused);
    EXPECT_TRUE(console->clientPause);
    console->onKey(65);  // the next key ends the new pause
    EXPECT_FALSE(console->paused);
    EXPECT_EQ(fakePlatform().notifications.size(), 2u);
}

TEST_F(LineEditor, EnterHandsLineToClient) {
    console->showPrompt();
    console->clientInput = true;
    type("hi there");
    console->onKey(13);
    EXPECT_FALSE(console->inputOpen);
    EXPECT_FALSE(console->clientInput);
    EXPECT_EQ(fileText(STREAM_IN_PATH), "hi there");
    ASSERT_EQ(fakePlatform().notifications.size(), 1u);
    EXPECT_EQ(fakePlatform().notifications[0], WM_BRIDGE_INPUT);
    EXPECT_EQ(buffer(), "\ncmd=)> hi there");  // no command ran, no prompt
}

// Ctrl+C: with a client waiting for a line it types nothing and notifies the
// client; at the command prompt and during a pause it is the key 'C' as before.
TEST_F(LineEditor, CtrlCInterruptsOnlyAClientWaitingForALine) {
    fakePlatform().control = true;
    console->showPrompt();
    console->clientInput = true;
    type("ab");
    const std::string waiting = buffer();
    console->onKey('C');
    EXPECT_EQ(buffer(), waiting);
    EXPECT_TRUE(console->inputOpen);
    EXPECT_TRUE(console->clientInput) << "the request stays for the client to end";
    ASSERT_EQ(fakePlatform().notifications, std::vector<unsigned>{WM_BRIDGE_INTERRUPT});
    console->cancelInput();  // the line closed, the request still pending
    console->onKey('C');
    EXPECT_EQ(fakePlatform().notifications.size(), 2u);

    console->clientInput = false;
    console->showPrompt();
    console->onKey('C');
    EXPECT_EQ(buffer().back(), 'c');
    console->clientInput = true;
    console->clientPause = true;
    console->pause();
    console->onKey('C');  // a pause ends on any key, Ctrl+C included
    EXPECT_FALSE(console->paused);
    EXPECT_EQ(fakePlatform().notifications.back(), WM_BRIDGE_PAUSE);
    fakePlatform().control = false;
    console->showPrompt();
    console->onKey('C');
    EXPECT_EQ(fakePlatform().notifications.size(), 3u);
    EXPECT_EQ(buffer().back(), 'c');
}

// The display is told of every change it would show, and only of those: a
// key that types nothing draws no frame; Enter that hands the line to the
// client changes no text but closes the line; a colour set from a batch file
// prints nothing and still shows.
TEST_F(ConsoleTest, ScreenChangesReachThePlatformAndQuietKeysDoNot) {
    console->beginInput();
    fakePlatform().screenChanges = 0;
    for (unsigned quiet : {16u, 17u, 36u, 40u}) console->onKey(quiet);  // Shift, Control, Home, Down
    EXPECT_EQ(fakePlatform().screenChanges, 0);

    type("a");
    EXPECT_GT(fakePlatform().screenChanges, 0);
    fakePlatform().screenChanges = 0;
    console->onKey(8);  // Backspace
    EXPECT_GT(fakePlatform().screenChanges, 0);

    console->clientInput = true;
    fakePlatform().screenChanges = 0;
    console->onKey(13);
    EXPECT_FALSE(console->inputOpen);
    EXPECT_GT(fakePlatform().screenChanges, 0);

    console->batchMode = true;
    fakePlatform().screenChanges = 0;
    run("settextcolor red");
    EXPECT_GT(fakePlatform().screenChanges, 0);
}
