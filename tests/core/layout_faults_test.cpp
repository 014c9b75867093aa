// Wrapping and trimming around the open input line, and appends that come
// from the buffer itself.
#include <algorithm>
#include <string>

#include "bridge/bridge_requests.h"
#include "test_support.h"

namespace {

int breaks(const std::string& s) { return static_cast<int>(std::count(s.begin(), s.end(), '\n')); }

std::string numbered(int count) {
    std::string all;
    for (int i = 0; i < count; ++i) all += "line " + std::to_string(i) + "\n";
    return all;
}

}  // namespace

using Layout = ConsoleTest;

// Whatever wrapping put in front of the typed text, cancel removes exactly
// the prompt (or the seven characters in front of a bare input line) and
// what was typed.
TEST_F(Layout, CancelAfterWrappingRemovesPromptAndTypedText) {
    struct Case {
        const char* name;
        std::string before;  // the buffer when the line opens
        bool prompt;         // opened by showPrompt, else by a client's input request
        std::string typed;   // printed or typed into the open line
        std::string left;    // the buffer after a frame and the cancel
    };
    const std::string client150(150, 'c');
    const std::string long200(200, 'o');
    const std::string long241(241, 'o');
    const Case cases[] = {
        {"client text printed into the line after the prompt", "banner", true, client150, "banner\n"},
        {"long output line in front of the prompt", std::string(130, 'p'), true, "abc",
         std::string(119, 'p') + "\n" + std::string(11, 'p') + "\n"},
        {"bare line, a break in front of its seven characters", long200, false, std::string(20, 't'),
         long200.substr(0, 193).insert(119, "\n")},
        {"bare line whose seven characters a break splits", long241, false, std::string(5, 't'),
         long241.substr(0, 234).insert(119, "\n")},
        {"bare line after a long unfinished line", std::string(115, 'u'), false, std::string(10, 'k'),
         std::string(108, 'u')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        console->load();
        console->write(c.before.c_str());
        if (c.prompt) {
            console->showPrompt();
        } else {
            handleBridgeRequest(*console, WM_BRIDGE_INPUT);
        }
        *console << c.typed.c_str();
        console->render();
        handleBridgeRequest(*console, WM_BRIDGE_CANCEL);
        EXPECT_EQ(buffer(), c.left);
        EXPECT_FALSE(console->inputOpen);
        // A second frame and a new prompt start from a clean line.
        console->render();
        console->showPrompt();
        EXPECT_EQ(buffer(), c.left + "\ncmd=)> ");
    }
}

// After a frame the buffer holds at most 39 lines, the newest line lowest,
// and the input start still marks the first typed character.
TEST_F(Layout, FrameLeavesAtMost39LinesWithTheInputLineLast) {
    struct Case {
        const char* name;
        int outputLines;
        std::string longLine;  // printed before the prompt
        std::string typed;     // typed keys, as codes; 10 types a line break
        std::string line;      // the input line after the frame
    };
    const Case cases[] = {
        {"a long line pushes the prompt down", 37, std::string(300, 'w'), "dir", "dir"},
        {"full buffer and one long line", 38, std::string(700, 'z'), "", ""},
        {"line breaks typed as keys", 5, "", std::string(40, '\n') + "end", std::string(38, '\n') + "end"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        console->load();
        console->write(numbered(c.outputLines).c_str());
        console->write(c.longLine.c_str());
        console->showPrompt();
        for (char key : c.typed) console->onKey(key >= 'a' && key <= 'z' ? key - 'a' + 'A' : key);
        console->render();
        const std::string after = buffer();
        EXPECT_LE(breaks(after), 38);
        EXPECT_EQ(after.substr(static_cast<std::size_t>(console->inputStart)), c.line);
        // Typing goes on at the end of the lowest line.
        console->onKey('Q');
        EXPECT_EQ(buffer(), after + "q");
    }
}

TEST_F(Layout, WrappedOutputIsTrimmedOldestFirst) {
    console->write(numbered(38).c_str());
    console->write(std::string(250, 'n').c_str());  // becomes three lines: two of the oldest go
    console->render();
    const std::string after = buffer();
    EXPECT_EQ(breaks(after), 38);
    EXPECT_EQ(after.substr(0, 7), "line 2\n");
    EXPECT_EQ(after.substr(after.size() - 13), "\n" + std::string(12, 'n'));
}

// Any part of the buffer can be appended to the buffer itself, by every
// route that appends, full or not.
TEST_F(Layout, AppendingPartOfTheBufferToItself) {
    struct Case {
        const char* name;
        std::string start;
        int offset;
    };
    const Case cases[] = {
        {"nearly full, one long line", std::string(4990, 'a') + "bcdefghi", 10},
        {"nearly full, many lines",
         [] {
             std::string s;
             while (s.size() < 4900) s += "a line of text that fills the buffer\n";
             return s.substr(0, 4980);
         }(),
         10},
        {"empty tail", "abc", 3},
        {"whole short buffer", "abc\ndef", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int route = 0; route < 2; ++route) {
            console->clear();
            console->write(c.start.c_str());
            const std::string before = buffer();
            const std::string tail = before.substr(static_cast<std::size_t>(c.offset));
            if (route == 0) {
                console->write(console->text + c.offset);
            } else {
                *console << console->text + c.offset;
            }
            // What one write of a separate copy of the same text leaves.
            Console reference;
            reference.capsLock = false;
            reference.load();
            reference.write(before.c_str());
            reference.write(tail.c_str());
            EXPECT_EQ(buffer(), std::string(reference.text));
            EXPECT_EQ(console->length(), static_cast<int>(std::string(reference.text).size()));
        }
    }
}
