// The history of trimmed lines, the view over it, selections and pasting.
#include <string>

#include "bridge/bridge.h"
#include "bridge/bridge_requests.h"
#include "test_support.h"

namespace {

std::string historyLine(const History& history, std::uint64_t number) {
    int length = 0;
    const char* chars = history.line(number, length);
    return chars ? std::string(chars, static_cast<std::size_t>(length)) : "<none>";
}

std::string numbered(int from, int to) {
    std::string text;
    for (int i = from; i < to; ++i) text += "line " + std::to_string(i) + "\n";
    return text;
}

}  // namespace

TEST(History, RingKeepsNewestLinesAtCapacityAndWrapsLongOnes) {
    History history;
    ASSERT_TRUE(history.reserve());
    const std::string text = numbered(0, HISTORY_LINES + 5);
    history.addText(text.data(), text.size(), 120);
    EXPECT_EQ(history.count(), HISTORY_LINES);
    EXPECT_EQ(history.oldest(), 5u);
    EXPECT_EQ(historyLine(history, 5), "line 5");
    EXPECT_EQ(historyLine(history, HISTORY_LINES + 4), "line " + std::to_string(HISTORY_LINES + 4));
    EXPECT_EQ(historyLine(history, 4), "<none>");

    history.clear();
    const std::string wide = std::string(250, 'w') + "\n\n";
    history.addText(wide.data(), wide.size(), 120);
    ASSERT_EQ(history.count(), 4);  // 119 + 119 + 12, then the empty line
    EXPECT_EQ(historyLine(history, 1), std::string(119, 'w'));
    EXPECT_EQ(historyLine(history, 2), std::string(12, 'w'));
    EXPECT_EQ(historyLine(history, 3), "");

    // A line split over two texts stays one line.
    history.clear();
    history.addText("ab", 2, 120);
    history.addText("cd\nef\n", 6, 120);
    EXPECT_EQ(history.count(), 2);
    EXPECT_EQ(historyLine(history, 0), "abcd");
}

TEST_F(ConsoleTest, TrimmedLinesReachTheHistoryAndTheBufferStaysAsBefore) {
    console->write(numbered(0, 300).c_str());
    EXPECT_EQ(buffer(), numbered(262, 300));
    EXPECT_EQ(console->history.count(), 262);
    EXPECT_EQ(historyLine(console->history, 0), "line 0");
    EXPECT_EQ(historyLine(console->history, 261), "line 261");

    // A print larger than the buffer: what does not fit goes there too.
    writeFile(STREAM_OUT_PATH, numbered(300, 2000));
    handleBridgeRequest(*console, WM_BRIDGE_PRINT);
    EXPECT_EQ(console->history.count(), 2000 - 38);
    EXPECT_EQ(historyLine(console->history, 1961), "line 1961");

    // The client's clear keeps the history; flush empties it.
    handleBridgeRequest(*console, WM_BRIDGE_CLEAR);
    EXPECT_EQ(console->history.count(), 2000 - 38);
    run("flush");
    EXPECT_EQ(console->history.count(), 0);
}

TEST_F(ConsoleTest, ViewScrollsAcrossHistoryAndBufferAndHoldsStillOnOutput) {
    console->write(numbered(0, 100).c_str());  // 62 in the history
    ShownText shown = console->shown();
    EXPECT_TRUE(console->view.live());
    EXPECT_EQ(console->view.top(shown), 62u);

    console->scrollView(WHEEL_LINES);
    EXPECT_EQ(console->view.linesBack(console->shown()), 3);
    EXPECT_TRUE(console->viewKey(33, true));  // Shift+Page Up
    EXPECT_EQ(console->view.linesBack(console->shown()), 3 + VIEW_ROWS - 1);
    EXPECT_FALSE(console->viewKey(33, false));

    console->write(numbered(100, 110).c_str());
    EXPECT_EQ(console->view.top(console->shown()), 62u - 41u);  // the same line stays on top
    int length = 0;
    EXPECT_EQ(std::string(console->shown().line(21, length), 7), "line 21");

    console->viewKey(36, true);
    EXPECT_EQ(console->view.top(console->shown()), 0u);
    console->viewKey(34, true);  // Shift+Page Down
    EXPECT_EQ(console->view.top(console->shown()), 38u);
    console->viewKey(35, true);  // Shift+End
    EXPECT_TRUE(console->view.live());

    // A key for the line editor brings the view back; Shift alone does not.
    console->showPrompt();
    console->scrollView(5);
    console->onKey(16);
    EXPECT_FALSE(console->view.live());
    type("a");
    EXPECT_TRUE(console->view.live());
}

TEST_F(ConsoleTest, SelectionMapsCellsToTextAcrossHistoryAndWrappedLines) {
    console->write((numbered(0, 40) + std::string(130, 'x') + "\nlast").c_str());
    console->wrapLines();
    console->scrollView(4);
    const ShownText shown = console->shown();
    int widths[256];
    for (int& w : widths) w = 6;

    // Four lines went to the history, the last of them when wrapping added one.
    const TextPoint press = pointAt(console->view, shown, 0, 3 * 6 + 1, widths);
    EXPECT_EQ(press.column, 3);
    const TextPoint release = pointAt(console->view, shown, 2, 2 * 6 + 4, widths);
    EXPECT_EQ(release.column, 3);  // past the middle of the third character
    console->selection.start(release);
    console->selection.extend(press);  // dragged upwards
    EXPECT_EQ(console->selection.text(shown), "e 0\r\nline 1\r\nlin");

    // The wrapped line is two lines of the screen, copied as shown.
    const std::uint64_t wrapped = shown.end() - 3;
    console->selection.start({wrapped, 0});
    console->selection.extend({wrapped + 1, 500});
    EXPECT_EQ(console->selection.text(shown), std::string(119, 'x') + "\r\n" + std::string(11, 'x'));

    // Below the last row a cell maps to the last line.
    console->view.toLive();
    const TextPoint low = pointAt(console->view, shown, 200, 10000, widths);
    EXPECT_EQ(low.line, shown.end() - 1);
    EXPECT_EQ(low.column, 4);
}

TEST(PasteQueue, SplitsLinesAndCleansControlBytes) {
    PasteQueue paste;
    const char text[] = "a\tb\r\nc\001\177d\re\n\351f";
    paste.start(text, sizeof text - 1);
    std::string lines;
    while (paste.pending()) {
        const char* line;
        int length;
        bool enter;
        paste.next(line, length, enter);
        lines += std::string(line, static_cast<std::size_t>(length)) + (enter ? "|" : "$");
        paste.pop();
    }
    EXPECT_EQ(lines, "a b|cd|e|\351f$");
}

TEST_F(ConsoleTest, PasteTypesOneLineEachTimeTheInputLineOpens) {
    const auto paste = [this](const std::string& text) { console->startPaste(text.data(), text.size()); };
    console->showPrompt();
    paste("add 2 3\r\nsub 9 4\nrest");
    EXPECT_TRUE(console->typePastedLine());
    EXPECT_TRUE(console->typePastedLine());
    EXPECT_NE(buffer().find("2 + 3 = 5"), std::string::npos);
    EXPECT_NE(buffer().find("9 - 4 = 5"), std::string::npos);
    EXPECT_TRUE(console->typePastedLine());
    EXPECT_EQ(buffer().substr(buffer().size() - 4), "rest");
    EXPECT_FALSE(console->paste.pending());

    // A client's line request gets exactly one line; the next waits.
    run("flush");
    console->clientInput = true;
    console->beginInput();
    paste("first\nsecond\n");
    EXPECT_TRUE(console->typePastedLine());
    EXPECT_EQ(fileText(STREAM_IN_PATH), "first");
    EXPECT_FALSE(console->typePastedLine());
    EXPECT_TRUE(console->paste.pending());
    // A second paste queues behind what waits.
    console->startPaste("third", 5);
    console->showPrompt();
    EXPECT_TRUE(console->typePastedLine());
    EXPECT_TRUE(console->typePastedLine());
    EXPECT_EQ(buffer().substr(buffer().size() - 5), "third");

    // A line longer than the input line takes stops the paste there.
    console->showPrompt();
    paste("echo ok\n" + std::string(106, 'y') + "\necho no\n");
    console->typePastedLine();
    EXPECT_TRUE(console->typePastedLine());
    EXPECT_TRUE(console->pasteStopped);
    EXPECT_FALSE(console->paste.pending());
    EXPECT_EQ(buffer().find('y'), std::string::npos);

    // The paste ends a pause of the console's own and then types.
    console->inputOpen = false;
    console->pause();
    console->startPaste("x", 1);
    EXPECT_FALSE(console->paused);
    console->typePastedLine();
    EXPECT_EQ(buffer().substr(buffer().size() - 7), "cmd=)>x");
}
