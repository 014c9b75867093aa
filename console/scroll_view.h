#pragma once
// What the screen shows of the history and the buffer together: the view
// (live at the bottom, or scrolled back to a line), the lines by number, the
// selection between two points of that text and the way from a screen cell
// to a point. Lines are numbered as in History: the history's lines first,
// then the buffer's.
#include <cstddef>
#include <cstdint>
#include <string>

#include "console/history.h"

inline constexpr int VIEW_ROWS = 39;   // lines on the screen
inline constexpr int WHEEL_LINES = 3;  // lines per notch of the mouse wheel
inline constexpr int BUFFER_LINES_MAX = 64;

// The history and the buffer as one run of numbered lines.
class ShownText {
public:
    ShownText(const History& kept, const char* text, int length);
    std::uint64_t first() const { return history.oldest(); }
    std::uint64_t bufferFirst() const { return history.added(); }
    std::uint64_t end() const { return history.added() + static_cast<std::uint64_t>(bufferLines); }
    // The line with that number; null (and length 0) outside the text.
    const char* line(std::uint64_t number, int& length) const;

private:
    const History& history;
    const char* buffer;
    int starts[BUFFER_LINES_MAX + 1];
    int bufferLines;
};

// Where the view looks. Live, the buffer's first line is the top row, as
// the screen has always shown it; scrolled back, the top row stays on one
// line of the history while new output arrives.
class ScrollView {
public:
    bool live() const { return !scrolled; }
    std::uint64_t top(const ShownText& shown) const;
    int linesBack(const ShownText& shown) const;
    // Positive: back, towards older lines. Reaching the buffer goes live.
    void scroll(const ShownText& shown, int lines);
    void toOldest(const ShownText& shown);
    void toLive() { scrolled = false; }

private:
    bool scrolled = false;
    std::uint64_t anchor = 0;  // number of the top row's line while scrolled
};

struct TextPoint {
    std::uint64_t line;
    int column;  // a boundary between characters: 0 to the line's length
};

inline bool operator<(const TextPoint& a, const TextPoint& b) {
    return a.line < b.line || (a.line == b.line && a.column < b.column);
}

// Text from the press to the release of the left button.
class Selection {
public:
    bool active() const { return on; }
    bool empty() const { return !on || (!(from < to) && !(to < from)); }
    void start(TextPoint point) {
        from = to = point;
        on = true;
    }
    void extend(TextPoint point) {
        if (on) to = point;
    }
    void clear() { on = false; }
    // Columns [begin, end) selected on a line of that length; false for none.
    bool columns(std::uint64_t line, int length, int& begin, int& end) const;
    // What the screen shows of it, lines joined with CR LF.
    std::string text(const ShownText& shown) const;

private:
    bool on = false;
    TextPoint from{0, 0};
    TextPoint to{0, 0};
};

// The line boundary nearest to x pixels from the left edge, with the advance
// width of each character in `widths`.
int columnAt(const char* chars, int length, const int* widths, int x);

// The point of the text under a screen cell: row (clamped to the screen and
// the text) and x in pixels.
TextPoint pointAt(const ScrollView& view, const ShownText& shown, int row, int x, const int* widths);
