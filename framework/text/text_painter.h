#pragma once
// Text on the Display's back surface through GDI: at a point (TextOutA) or in
// a rectangle (DrawTextA), with a text colour on an opaque background colour.
// Every call takes the surface's device context and gives it back; nothing is
// held between calls. Fonts are borrowed, never deleted.
#include <windows.h>

#include "console/color_ref.h"

// Lets GCC and clang check the printf forms' arguments; other compilers
// (MSVC) take the declarations without it.
#if defined(__clang__)
#define TEXT_PAINTER_PRINTF(formatIndex, firstArgument) __attribute__((format(printf, formatIndex, firstArgument)))
#elif defined(__GNUC__)
#define TEXT_PAINTER_PRINTF(formatIndex, firstArgument) __attribute__((format(gnu_printf, formatIndex, firstArgument)))
#else
#define TEXT_PAINTER_PRINTF(formatIndex, firstArgument)
#endif

class Screen;

class TextPainter {
public:
    Screen* screen;
    HFONT font;           // null: the context's own font
    HFONT underlineFont;  // null: the context's own font
    ColorRef backColor;
    ColorRef textColor;

    // Binds the screen and sets the default fonts, red text on colour 1.
    void init(Screen* target);
    void createDefaultFont();
    void setFont(HFONT handle);
    void setUnderlineFont(HFONT handle);
    void setBackColor(ColorRef color);
    void setTextColor(ColorRef color);

    // (x, y) is the text's top-left corner.
    void drawText(const char* text, int x, int y);
    void drawUnderlinedText(const char* text, int x, int y);
    void printAt(int x, int y, const char* format, ...) TEXT_PAINTER_PRINTF(4, 5);

    // Left-aligned from the top, one line per line break, no word wrap,
    // clipped; a partly visible last line is left out and "&" marks a
    // mnemonic ("&&" draws one ampersand).
    void drawTextInRect(const char* text, int left, int top, int right, int bottom);
    void printInRect(int left, int top, int right, int bottom, const char* format, ...) TEXT_PAINTER_PRINTF(6, 7);
};
