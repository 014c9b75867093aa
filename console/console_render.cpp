// Draws the console's buffer on the Display's back surface once per frame:
// the whole buffer from the top-left corner, in the console's colours and
// font. With the input line closed the whole screen takes the background
// colour; with it open only the text cells do, and a flickering "_" follows
// the text in about four frames out of ten.
#include <cstdlib>
#include <cstring>

#include "app/globals.h"

namespace {

constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;

// Draws a heap copy of the first `length` characters, with the cursor after
// them when asked; the copy has room for the cursor and the terminator.
void drawCopy(const char* text, std::size_t length, bool withCursor) {
    char* copy = static_cast<char*>(std::malloc(length + 2));
    if (!copy) {
        return;
    }
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    if (withCursor) {
        copy[length] = '_';
        copy[length + 1] = '\0';
    }
    display.textPainter.drawTextInRect(copy, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    std::free(copy);
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
    const std::size_t length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : sizeof text;

    if (!inputOpen) {
        display.painter.rectangle(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, backColor, backColor);
        if (end) {
            textPainter.drawTextInRect(text, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
        } else {
            drawCopy(text, length, false);
        }
        return;
    }
    drawCopy(text, length, std::rand() % 10 > 5);
}
