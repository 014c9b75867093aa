#include "framework/text/text_painter.h"

#include <cstring>

#include "framework/display/back_surface_dc.h"
#include "framework/text/font.h"

namespace {

// Colours, then the font when there is one; the font it replaces is not put
// back, since the context goes back to the surface right after the draw.
void prepare(HDC dc, const TextPainter& painter, HFONT font) {
    SetTextColor(dc, painter.textColor);
    SetBkColor(dc, painter.backColor);
    if (font) {
        SelectObject(dc, font);
    }
}

int lengthOf(const char* text) {
    return static_cast<int>(std::strlen(text));
}

}  // namespace

void TextPainter::init(Screen* target) {
    screen = target;
    font = ::createDefaultFont(false);
    underlineFont = ::createDefaultFont(true);
    backColor = 1;
    textColor = 255;
}

void TextPainter::createDefaultFont() {
    font = ::createDefaultFont(false);
}

void TextPainter::setFont(HFONT handle) {
    font = handle;
}

void TextPainter::setUnderlineFont(HFONT handle) {
    underlineFont = handle;
}

void TextPainter::setBackColor(ColorRef color) {
    backColor = color;
}

void TextPainter::setTextColor(ColorRef color) {
    textColor = color;
}

void TextPainter::drawText(const char* text, int x, int y) {
    BackSurfaceDc dc(screen);
    if (!dc) {
        return;
    }
    prepare(dc.get(), *this, font);
    TextOutA(dc.get(), x, y, text, lengthOf(text));
}

void TextPainter::drawUnderlinedText(const char* text, int x, int y) {
    BackSurfaceDc dc(screen);
    if (!dc) {
        return;
    }
    prepare(dc.get(), *this, underlineFont);
    TextOutA(dc.get(), x, y, text, lengthOf(text));
}

void TextPainter::drawTextInRect(const char* text, int left, int top, int right, int bottom) {
    RECT rect;
    SetRect(&rect, left, top, right, bottom);
    BackSurfaceDc dc(screen);
    if (!dc) {
        return;
    }
    prepare(dc.get(), *this, font);
    DrawTextA(dc.get(), text, lengthOf(text), &rect, DT_EDITCONTROL);
}
