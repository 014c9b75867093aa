// The view over history and buffer, the selection and the way from the
// screen to the text.
#include "console/scroll_view.h"

#include <cstring>

ShownText::ShownText(const History& kept, const char* text, int length) : history(kept), buffer(text), bufferLines(0) {
    // The buffer's line starts; lines beyond BUFFER_LINES_MAX (never kept
    // once trimmed) are not shown.
    int at = 0;
    starts[0] = 0;
    while (bufferLines < BUFFER_LINES_MAX) {
        ++bufferLines;
        const void* hit = std::memchr(text + at, '\n', static_cast<std::size_t>(length - at));
        if (!hit) {
            starts[bufferLines] = length + 1;
            break;
        }
        at = static_cast<int>(static_cast<const char*>(hit) - text) + 1;
        starts[bufferLines] = at;
    }
}

const char* ShownText::line(std::uint64_t number, int& length) const {
    if (number < bufferFirst()) return history.line(number, length);
    length = 0;
    if (number >= end()) return nullptr;
    const int i = static_cast<int>(number - bufferFirst());
    length = starts[i + 1] - starts[i] - 1;
    return buffer + starts[i];
}

std::uint64_t ScrollView::top(const ShownText& shown) const {
    if (!scrolled || anchor >= shown.bufferFirst()) return shown.bufferFirst();
    return anchor < shown.first() ? shown.first() : anchor;
}

int ScrollView::linesBack(const ShownText& shown) const { return static_cast<int>(shown.bufferFirst() - top(shown)); }

void ScrollView::scroll(const ShownText& shown, int lines) {
    const std::uint64_t now = top(shown);
    std::uint64_t next;
    if (lines >= 0) {
        const std::uint64_t room = now - shown.first();
        next = now - (static_cast<std::uint64_t>(lines) < room ? static_cast<std::uint64_t>(lines) : room);
    } else {
        next = now + static_cast<std::uint64_t>(-static_cast<std::int64_t>(lines));
    }
    scrolled = next < shown.bufferFirst();
    anchor = next;
}

void ScrollView::toOldest(const ShownText& shown) {
    scrolled = shown.first() < shown.bufferFirst();
    anchor = shown.first();
}

bool Selection::columns(std::uint64_t line, int length, int& begin, int& end) const {
    if (empty()) return false;
    const TextPoint low = from < to ? from : to;
    const TextPoint high = from < to ? to : from;
    if (line < low.line || line > high.line) return false;
    begin = line == low.line ? low.column : 0;
    end = line == high.line ? high.column : length;
    if (begin > length) begin = length;
    if (end > length) end = length;
    return begin < end;
}

std::string Selection::text(const ShownText& shown) const {
    std::string copy;
    if (empty()) return copy;
    const std::uint64_t low = (from < to ? from : to).line;
    const std::uint64_t high = (from < to ? to : from).line;
    for (std::uint64_t number = low; number <= high; ++number) {
        int length = 0;
        const char* chars = shown.line(number, length);
        int begin = 0;
        int end = 0;
        if (chars && columns(number, length, begin, end))
            copy.append(chars + begin, static_cast<std::size_t>(end - begin));
        if (number != high) copy += "\r\n";
    }
    return copy;
}

int columnAt(const char* chars, int length, const int* widths, int x) {
    int left = 0;
    for (int i = 0; i < length; ++i) {
        const int width = widths[static_cast<unsigned char>(chars[i])];
        if (x < left + width / 2 + width % 2) return i;
        left += width;
    }
    return length;
}

TextPoint pointAt(const ScrollView& view, const ShownText& shown, int row, int x, const int* widths) {
    if (row < 0) row = 0;
    if (row >= VIEW_ROWS) row = VIEW_ROWS - 1;
    std::uint64_t number = view.top(shown) + static_cast<std::uint64_t>(row);
    if (number >= shown.end()) number = shown.end() > 0 ? shown.end() - 1 : 0;
    int length = 0;
    const char* chars = shown.line(number, length);
    return TextPoint{number, chars ? columnAt(chars, length, widths, x) : 0};
}
