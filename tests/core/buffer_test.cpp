// The buffer: appends, trimming, wrapping, the input line and its capacity.
#include <algorithm>
#include <string>

#include "test_support.h"

namespace {

std::string lines(int count, const std::string& each = "x") {
    std::string all;
    for (int i = 0; i < count; ++i) all += each + std::to_string(i) + "\n";
    return all;
}

int breaks(const std::string& s) { return static_cast<int>(std::count(s.begin(), s.end(), '\n')); }

}  // namespace

using Buffer = ConsoleTest;

TEST_F(Buffer, LoadSetsDefaultsButKeepsCapsLock) {
    console->capsLock = true;
    console->write("junk");
    console->inputOpen = console->paused = console->batchMode = true;
    console->load();
    EXPECT_EQ(buffer(), "");
    EXPECT_EQ(console->backColor, 0x000000u);
    EXPECT_EQ(console->textColor, 0x00C800u);
    EXPECT_EQ(console->wrapWidth, 120);
    EXPECT_FALSE(console->inputOpen || console->paused || console->batchMode);
    EXPECT_TRUE(console->capsLock);
    EXPECT_NE(console->font, nullptr);
}

TEST_F(Buffer, PrintfIsSilentWhileInputIsOpenButInsertionAppends) {
    console->beginInput();
    console->printf("%d", 42);
    EXPECT_EQ(buffer(), "");
    *console << "42";
    EXPECT_EQ(buffer(), "42");
}

TEST_F(Buffer, PrintfFormatsLongResultsWhole) {
    const std::string big(3000, 'q');
    console->printf("<%s>", big.c_str());
    EXPECT_EQ(buffer(), "<" + big + ">");
}

TEST_F(Buffer, InsertionsFormatEachType) {
    *console << "a" << 12 << 'A' << static_cast<short>(-1) << static_cast<long>(-7);
    EXPECT_EQ(buffer(), "a12A-1-7");
    console->clear();
    *console << 0.5 << " " << 1234567890.0 << " " << 12345678901.0 << " " << 1e-7 << " " << 3.0 << " " << -2.25e20;
    EXPECT_EQ(buffer(), "0.5 1234567890 1.23456789e+10 1e-07 3 -2.25e+20");
}

TEST_F(Buffer, LongInsertionKeeps32Bits) {
    *console << static_cast<long>(2147483647) << " " << static_cast<long>(-2147483647 - 1);
    EXPECT_EQ(buffer(), "2147483647 -2147483648");
}

TEST_F(Buffer, TrimKeepsAtMost38LineBreaks) {
    console->write(lines(38).c_str());
    EXPECT_EQ(breaks(buffer()), 38);
    EXPECT_EQ(buffer().substr(0, 3), "x0\n");
    console->write("\n");  // the 39th break drops the first line at once
    EXPECT_EQ(breaks(buffer()), 38);
    EXPECT_EQ(buffer().substr(0, 3), "x1\n");

    console->clear();
    console->write(lines(50).c_str());  // only what follows the 12th break stays
    EXPECT_EQ(breaks(buffer()), 38);
    EXPECT_EQ(buffer().substr(0, 4), "x12\n");
}

TEST_F(Buffer, WrapBreaksLinesAtWidth) {
    const std::string line119(119, 'a');
    console->write(line119.c_str());
    console->wrapLines();
    EXPECT_EQ(buffer(), line119);

    console->clear();
    console->write((line119 + "b").c_str());
    console->wrapLines();
    EXPECT_EQ(buffer(), line119 + "\nb");

    console->clear();
    console->write(std::string(250, 'c').c_str());
    console->wrapLines();
    EXPECT_EQ(buffer(), std::string(119, 'c') + "\n" + std::string(119, 'c') + "\n" + std::string(12, 'c'));
    const std::string once = buffer();
    console->wrapLines();
    EXPECT_EQ(buffer(), once);
}

TEST_F(Buffer, ShortBufferIsNeverWrapped) {
    console->wrapWidth = 5;
    console->write("abcdefghij");
    console->wrapLines();
    EXPECT_EQ(buffer(), "abcdefghij");
}

TEST_F(Buffer, PromptAndInputLine) {
    console->showPrompt();
    EXPECT_EQ(buffer(), "\ncmd=)> ");
    EXPECT_TRUE(console->inputOpen);
    EXPECT_EQ(console->inputStart, 8);

    *console << "typed";
    console->showPrompt();  // already open: nothing printed, the start moves
    EXPECT_EQ(buffer(), "\ncmd=)> typed");
    EXPECT_EQ(console->inputStart, 13);

    console->inputOpen = false;
    console->batchMode = true;
    console->showPrompt();
    EXPECT_EQ(buffer(), "\ncmd=)> typed");
    EXPECT_FALSE(console->inputOpen);
}

TEST_F(Buffer, CancelInputCutsPromptAndTypedText) {
    console->write("out");
    console->showPrompt();
    *console << "abc";
    console->cancelInput();
    EXPECT_EQ(buffer(), "out\n");
    EXPECT_FALSE(console->inputOpen);
    console->cancelInput();  // closed: nothing changes
    EXPECT_EQ(buffer(), "out\n");

    console->clear();
    console->write("abc");
    console->beginInput();  // start 3 < 7: everything goes
    console->cancelInput();
    EXPECT_EQ(buffer(), "");
}

TEST_F(Buffer, ClearKeepsInputOpenAndStartInsideBuffer) {
    console->showPrompt();
    console->clear();
    EXPECT_TRUE(console->inputOpen);
    EXPECT_EQ(console->inputStart, 0);
    type("ab");
    console->onKey(8);
    EXPECT_EQ(buffer(), "a");
}

TEST_F(Buffer, PauseUsesPrintf) {
    console->pause();
    EXPECT_EQ(buffer(), "\n Press any key to continue ...");
    EXPECT_TRUE(console->paused);
}

// The buffer never passes its capacity, whatever is appended, and keeps the
// newest text.
TEST_F(Buffer, AppendNeverPassesCapacity) {
    struct Case {
        const char* name;
        std::string text;
        std::string expectedTail;
    };
    const std::string longLine(20000, 'z');
    const Case cases[] = {
        {"one huge line keeps its newest characters", longLine + "END", std::string(4996, 'z') + "END"},
        {"many long lines keep whole newest lines", lines(30, std::string(300, 'y')), ""},
        {"a megabyte of short lines", lines(100000), "x99999\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        console->clear();
        console->write("old text\n");
        console->write(c.text.c_str());
        const std::string now = buffer();
        EXPECT_LE(now.size(), 4999u);
        EXPECT_LE(breaks(now), 38);
        if (!c.expectedTail.empty()) {
            ASSERT_GE(now.size(), c.expectedTail.size());
            EXPECT_EQ(now.substr(now.size() - c.expectedTail.size()), c.expectedTail);
        }
    }
}

TEST_F(Buffer, OverfullAppendDropsWholeOldestLines) {
    // 16 lines of 300: only whole lines fit, the first kept one starts a line.
    console->write(lines(16, std::string(299, 'k')).c_str());
    const std::string now = buffer();
    EXPECT_LE(now.size(), 4999u);
    EXPECT_EQ(now.substr(0, 299), std::string(299, 'k'));
    EXPECT_EQ(now.substr(now.size() - 4), "k15\n");
}

// Text removed or inserted in front of the input line moves its start along,
// so the typed characters stay the typed line.
TEST_F(Buffer, InputStartFollowsTrimAndWrap) {
    console->write(lines(37).c_str());
    console->showPrompt();  // 38 breaks
    type("hello");
    *console << "\n";  // 39th break trims the first line
    EXPECT_EQ(std::string(console->text + console->inputStart), "hello\n");

    console->load();
    console->write(std::string(200, 'w').c_str());  // a long client line before the prompt
    console->showPrompt();
    type("abc");
    console->wrapLines();
    EXPECT_EQ(std::string(console->text + console->inputStart), "abc");

    console->load();
    console->showPrompt();
    type("abc");
    *console << std::string(10000, 'm').c_str();  // a huge print into the open line
    EXPECT_LE(buffer().size(), 4999u);
    EXPECT_LE(console->inputStart, static_cast<int>(buffer().size()));
}

TEST_F(Buffer, WrapOfFullBufferStaysWithinCapacity) {
    console->write(std::string(4999, 'f').c_str());
    console->showPrompt();
    console->wrapLines();
    EXPECT_LE(buffer().size(), 4999u);
    EXPECT_LE(console->inputStart, static_cast<int>(buffer().size()));
    EXPECT_EQ(std::string(console->text + console->inputStart), "");
}

// A break that wrapping would put inside the open input line goes in front of
// it, so Enter still hands over exactly what was typed.
TEST_F(Buffer, WrapNeverBreaksInsideTheInputLine) {
    console->write(std::string(115, 'p').c_str());  // client text, no prompt
    console->clientInput = true;
    console->beginInput();
    type("add 1 2");
    console->wrapLines();
    EXPECT_EQ(buffer(), std::string(115, 'p') + "\nadd 1 2");
    EXPECT_EQ(std::string(console->text + console->inputStart), "add 1 2");
    console->onKey(13);
    EXPECT_EQ(fileText("c:\\stream.i"), "add 1 2");

    // With the line closed, the break falls where the width says.
    console->load();
    console->write((std::string(115, 'p') + "add 1 2").c_str());
    console->wrapLines();
    EXPECT_EQ(buffer(), std::string(115, 'p') + "add \n1 2");
}
