// Draws the console's buffer on the Display's back surface once per frame:
// the whole buffer from the top-left corner, in the console's colours and
// font. With the input line closed the whole screen takes the background
// colour; with it open only the text cells do, and a flickering "_" follows
// the text at about four of ten decisions (app/cursor_flicker.cpp).
//
// The screen changes far less often than frames are drawn, and a device
// context of a surface is the dearest part of a frame where the program runs.
// So each look of the screen (without and with the cursor) is kept drawn in
// a DrawingCache, drawn again only when the text, colours, font or input
// state change, and copied onto the back surface in every frame. The pixels
// are the ones drawing on the back surface itself would give: the same
// painters draw them, on a surface cleared as the frame loop clears.
#include <cstring>
#include <new>

#include "app/cursor_flicker.h"
#include "app/drawing_cache.h"
#include "console/console.h"
#include "framework/display/global_display.h"

namespace {

constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;

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

    bool holds(const Look& look) const {
        return valid && look.length == length && look.inputOpen == inputOpen && look.backColor == backColor &&
               look.textColor == textColor && look.font == font && std::memcmp(look.text, text, length) == 0;
    }
    void remember(const Look& look) {
        std::memcpy(text, look.text, look.length);
        length = look.length;
        inputOpen = look.inputOpen;
        backColor = look.backColor;
        textColor = look.textColor;
        font = look.font;
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

void draw(const Look& look, TextPainter& textPainter, Painter& painter) {
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

void Console::render() {
    wrapLines();

    TextPainter& textPainter = display.textPainter;
    textPainter.setBackColor(backColor);
    if (textPainter.font != font) {
        textPainter.setFont(static_cast<HFONT>(font));
    }
    textPainter.setTextColor(textColor);

    // Never read past the buffer, even if it has lost its terminator.
    const void* end = std::memchr(text, '\0', sizeof text);
    Look look;
    look.text = text;
    look.length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : sizeof text;
    look.terminated = end != nullptr;
    look.inputOpen = inputOpen;
    look.withCursor = cursorShown(inputOpen);
    look.backColor = backColor;
    look.textColor = textColor;
    look.font = font;

    if (look.length < CONSOLE_BUFFER_SIZE && showKept(look, keptLooks[look.withCursor ? 1 : 0])) return;
    keptLooks[look.withCursor ? 1 : 0].valid = false;
    draw(look, textPainter, display.painter);
}
