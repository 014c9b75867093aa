// Draws the console's buffer on the Display's back surface once per frame:
// the whole buffer from the top-left corner, in the console's colours and
// font. With the input line closed the whole screen takes the background
// colour; with it open only the text cells do, and a flickering "_" follows
// the text at about four of ten decisions (app/cursor_flicker.cpp). Scrolled
// back, the screen shows 39 lines of history and buffer instead, with no
// cursor and a marker of how far back it is; a selection is drawn over the
// text in inverted colours.
//
// The screen changes far less often than frames are drawn, and a device
// context of a surface is the dearest part of a frame where the program runs.
// So each look of the screen (without and with the cursor) is kept drawn in
// a DrawingCache, drawn again only when the text, colours, font, input state
// or what is drawn over the text change, and copied onto the back surface in
// every frame. The pixels are the ones drawing on the back surface itself
// would give: the same painters draw them, on a surface cleared as the frame
// loop clears.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "app/cursor_flicker.h"
#include "app/drawing_cache.h"
#include "app/text_metrics.h"
#include "console/console.h"
#include "framework/display/back_surface_dc.h"
#include "framework/display/global_display.h"

namespace {

constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;
constexpr int MARKER_MARGIN = 4;
constexpr char PASTE_STOPPED_TEXT[] = "[ paste stopped: a line is longer than the input line takes ]";

// What is drawn over the text, in inverted colours: the selection on each
// row, the marker of a view scrolled back, a notice.
struct Overlay {
    int selectBegin[VIEW_ROWS];
    int selectEnd[VIEW_ROWS];
    char marker[48];
    const char* notice;
    bool any;
};

// What one frame shows.
struct Look {
    const char* text;
    std::size_t length;
    bool terminated;
    bool inputOpen;
    bool withCursor;
    ColorRef backColor;
    ColorRef textColor;
    FontHandle font;
    const Overlay* overlay;
};

// One look of the screen, kept drawn.
struct KeptLook {
    DrawingCache cache;
    bool valid;
    char text[CONSOLE_BUFFER_SIZE];
    std::size_t length;
    bool inputOpen;
    ColorRef backColor;
    ColorRef textColor;
    FontHandle font;
    Overlay overlay;

    bool holds(const Look& look) const {
        return valid && look.length == length && look.inputOpen == inputOpen && look.backColor == backColor &&
               look.textColor == textColor && look.font == font && std::memcmp(look.text, text, length) == 0 &&
               std::memcmp(look.overlay, &overlay, sizeof overlay) == 0;
    }
    void remember(const Look& look) {
        std::memcpy(text, look.text, look.length);
        length = look.length;
        inputOpen = look.inputOpen;
        backColor = look.backColor;
        textColor = look.textColor;
        font = look.font;
        overlay = *look.overlay;
        valid = true;
    }
};

KeptLook keptLooks[2];  // without and with the cursor

// Draws a heap copy of the first `length` characters, with the cursor after
// them when asked; the copy has room for the cursor and the terminator.
void drawCopy(TextPainter& textPainter, const char* text, std::size_t length, bool withCursor) {
    char* copy = new (std::nothrow) char[length + 2];
    if (!copy) {
        return;
    }
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    if (withCursor) {
        copy[length] = '_';
        copy[length + 1] = '\0';
    }
    textPainter.drawTextInRect(copy, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    delete[] copy;
}

// Text at the top right, `row` rows down.
void drawAtRight(HDC dc, const TextMetrics& metrics, const char* text, int row) {
    int width = 0;
    for (const char* c = text; *c; ++c) width += metrics.widths[static_cast<unsigned char>(*c)];
    TextOutA(dc, SCREEN_WIDTH - width - MARKER_MARGIN, row * metrics.lineHeight, text,
             static_cast<int>(std::strlen(text)));
}

// All of it through one device context: a context is the dearest part of a
// frame where the program runs.
void drawOverlay(const Look& look, const TextPainter& textPainter) {
    const Overlay& overlay = *look.overlay;
    if (!overlay.any) return;
    BackSurfaceDc dc(textPainter.screen);
    if (!dc) return;
    const TextMetrics& metrics = textMetrics(look.font);
    SetTextColor(dc.get(), look.backColor);
    SetBkColor(dc.get(), look.textColor);
    SetBkMode(dc.get(), OPAQUE);
    if (look.font) SelectObject(dc.get(), static_cast<HFONT>(look.font));
    const char* row = look.text;
    const char* const end = look.text + look.length;
    for (int i = 0; i < VIEW_ROWS && row <= end; ++i) {
        const void* hit = std::memchr(row, '\n', static_cast<std::size_t>(end - row));
        const char* rowEnd = hit ? static_cast<const char*>(hit) : end;
        const int begin = overlay.selectBegin[i];
        const int stop = overlay.selectEnd[i];
        if (begin >= 0 && stop > begin && stop <= rowEnd - row) {
            int x = 0;
            for (int c = 0; c < begin; ++c) x += metrics.widths[static_cast<unsigned char>(row[c])];
            TextOutA(dc.get(), x, i * metrics.lineHeight, row + begin, stop - begin);
        }
        if (!hit) break;
        row = rowEnd + 1;
    }
    int noticeRow = 0;
    if (overlay.marker[0]) drawAtRight(dc.get(), metrics, overlay.marker, noticeRow++);
    if (overlay.notice) drawAtRight(dc.get(), metrics, overlay.notice, noticeRow);
}

void drawText(const Look& look, TextPainter& textPainter, Painter& painter) {
    if (!look.inputOpen) {
        painter.rectangle(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, look.backColor, look.backColor);
        if (look.terminated) {
            textPainter.drawTextInRect(look.text, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
        } else {
            drawCopy(textPainter, look.text, look.length, false);
        }
        return;
    }
    drawCopy(textPainter, look.text, look.length, look.withCursor);
}

void draw(const Look& look, TextPainter& textPainter, Painter& painter) {
    drawText(look, textPainter, painter);
    drawOverlay(look, textPainter);
}

// Draws the look into its cache unless the cache holds it already, then
// copies it onto the back surface; false when there is no cache to use.
bool showKept(const Look& look, KeptLook& kept) {
    const Screen& screen = display.screen;
    if (kept.holds(look) && kept.cache.show(screen)) return true;
    kept.valid = false;
    if (!kept.cache.begin(screen, SCREEN_WIDTH, SCREEN_HEIGHT)) return false;
    TextPainter textPainter = display.textPainter;
    textPainter.screen = &kept.cache.target;
    Painter painter = display.painter;
    painter.bind(&kept.cache.target);
    draw(look, textPainter, painter);
    kept.cache.finish();
    kept.remember(look);
    return kept.cache.show(screen);
}

}  // namespace

namespace {

// The screen's rows while the view is scrolled back: history and buffer
// lines from the top row on.
char viewText[VIEW_ROWS * HISTORY_SLOT + 1];

std::size_t composeView(const ShownText& shown, std::uint64_t top) {
    std::size_t out = 0;
    for (int row = 0; row < VIEW_ROWS && top + static_cast<std::uint64_t>(row) < shown.end(); ++row) {
        int length = 0;
        const char* chars = shown.line(top + static_cast<std::uint64_t>(row), length);
        if (row > 0) viewText[out++] = '\n';
        if (length > HISTORY_LINE_MAX) length = HISTORY_LINE_MAX;
        if (chars) std::memcpy(viewText + out, chars, static_cast<std::size_t>(length));
        out += static_cast<std::size_t>(length);
    }
    viewText[out] = '\0';
    return out;
}

void fillOverlay(const Console& console, const ShownText& shown, std::uint64_t top, Overlay& overlay) {
    std::memset(&overlay, 0, sizeof overlay);
    for (int row = 0; row < VIEW_ROWS; ++row) {
        overlay.selectBegin[row] = -1;
        overlay.selectEnd[row] = -1;
        int length = 0;
        int begin = 0;
        int end = 0;
        const std::uint64_t number = top + static_cast<std::uint64_t>(row);
        if (number < shown.end() && shown.line(number, length) &&
            console.selection.columns(number, length, begin, end)) {
            overlay.selectBegin[row] = begin;
            overlay.selectEnd[row] = end;
            overlay.any = true;
        }
    }
    const int back = console.view.linesBack(shown);
    if (back > 0) {
        std::snprintf(overlay.marker, sizeof overlay.marker, back == 1 ? "[ %d line back ]" : "[ %d lines back ]",
                      back);
        overlay.any = true;
    }
    if (console.pasteStopped) {
        overlay.notice = PASTE_STOPPED_TEXT;
        overlay.any = true;
    }
}

}  // namespace

void Console::render() {
    wrapLines();

    TextPainter& textPainter = display.textPainter;
    textPainter.setBackColor(backColor);
    if (textPainter.font != font) {
        textPainter.setFont(static_cast<HFONT>(font));
    }
    textPainter.setTextColor(textColor);

    const ShownText lines = shown();
    const std::uint64_t top = view.top(lines);
    static Overlay overlay;
    fillOverlay(*this, lines, top, overlay);

    // Never read past the buffer, even if it has lost its terminator.
    const void* end = std::memchr(text, '\0', sizeof text);
    Look look;
    look.text = text;
    look.length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : sizeof text;
    look.terminated = end != nullptr;
    if (!view.live()) {
        // Scrolled back: the rows from the history and the buffer, no cursor.
        look.length = composeView(lines, top);
        look.text = viewText;
        look.terminated = true;
    }
    look.inputOpen = inputOpen;
    look.withCursor = cursorShown(inputOpen) && view.live();
    look.backColor = backColor;
    look.textColor = textColor;
    look.font = font;
    look.overlay = &overlay;

    if (look.length < CONSOLE_BUFFER_SIZE && showKept(look, keptLooks[look.withCursor ? 1 : 0])) return;
    keptLooks[look.withCursor ? 1 : 0].valid = false;
    draw(look, textPainter, display.painter);
}
