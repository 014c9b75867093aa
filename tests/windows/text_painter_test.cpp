// TextPainter on the real back surface, read back by pixel.
#include <string>

#include "drawing_fixture.h"

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BACK = RGB(1, 0, 0);
constexpr COLORREF GREEN = RGB(0, 255, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);

int lineHeight(HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

using TextPainterTest = DrawingTest;

TEST_F(TextPainterTest, InitDrawsRedOnColourOneInArialThirteen) {
    display().textPainter.drawText("Hello", 10, 20);
    PixelCapture shot = capture(0, 0, 200, 60);
    ASSERT_TRUE(shot.valid());
    EXPECT_GT(shot.count(RED), 0);
    EXPECT_GT(shot.count(BACK), 0);
    // Opaque cells from (10, 20), one line of the font high, nothing outside.
    EXPECT_FALSE(shot.rowHas(19, BACK));
    EXPECT_TRUE(shot.rowHas(20, BACK));
    EXPECT_EQ(shot.lowest(BACK), 20 + lineHeight(display().textPainter.font) - 1);
    EXPECT_FALSE(shot.columnHas(9, BACK));
    EXPECT_TRUE(shot.columnHas(10, BACK));
    EXPECT_EQ(shot.count(RED) + shot.count(BACK) + shot.count(0), 200 * 60);
}

TEST_F(TextPainterTest, UnderlinedTextAddsLineUnderTheSameText) {
    display().textPainter.drawText("ooo", 10, 20);
    display().textPainter.drawUnderlinedText("ooo", 10, 60);
    PixelCapture plain = capture(10, 20, 60, 40);
    PixelCapture underlined = capture(10, 60, 60, 80);
    const int right = plain.rightmost(BACK);
    ASSERT_GT(right, 10);
    EXPECT_EQ(underlined.rightmost(BACK), right);
    EXPECT_GT(underlined.count(RED), plain.count(RED));
    // One row of the underlined cells is red from end to end.
    bool fullRow = false;
    for (int y = 60; y < 80 && !fullRow; ++y) {
        bool all = true;
        for (int x = 10; x <= right - 1; ++x) {
            all = all && underlined.at(x, y) == RED;
        }
        fullRow = all;
    }
    EXPECT_TRUE(fullRow);
}

TEST_F(TextPainterTest, NullFontDrawsInTheContextsOwnFont) {
    HFONT arial = display().textPainter.font;
    display().textPainter.setFont(nullptr);
    display().textPainter.drawText("Hello", 10, 20);
    PixelCapture shot = capture(0, 0, 300, 80);
    EXPECT_GT(shot.count(RED), 0);
    EXPECT_NE(shot.lowest(BACK), 20 + lineHeight(arial) - 1);
}

TEST_F(TextPainterTest, ColourChangeAffectsOnlyLaterDraw) {
    TextPainter& painter = display().textPainter;
    painter.drawText("AB", 10, 20);
    painter.setTextColor(GREEN);
    painter.setBackColor(BLUE);
    painter.drawText("AB", 110, 20);
    PixelCapture first = capture(0, 0, 100, 40);
    PixelCapture second = capture(100, 0, 200, 40);
    EXPECT_GT(first.count(RED), 0);
    EXPECT_EQ(first.count(GREEN), 0);
    EXPECT_EQ(first.count(BLUE), 0);
    EXPECT_GT(second.count(GREEN), 0);
    EXPECT_GT(second.count(BLUE), 0);
    EXPECT_EQ(second.count(RED), 0);
}

TEST_F(TextPainterTest, PrintAtDrawsWholeResultMuchLongerThanFormat) {
    display().textPainter.printAt(10, 20, "%d", 1234567890);
    PixelCapture printed = capture(0, 0, 300, 40);
    display().clear();
    display().textPainter.drawText("1234567890", 10, 20);
    PixelCapture drawn = capture(0, 0, 300, 40);
    EXPECT_GT(drawn.count(RED), 0);
    EXPECT_TRUE(printed.sameAs(drawn));

    // A long result: 600 characters from a two-character format.
    std::string wide(600, 'W');
    display().clear();
    display().textPainter.printAt(0, 100, "%s", wide.c_str());
    PixelCapture row = capture(0, 100, 640, 120);
    EXPECT_EQ(row.rightmost(BACK), 639);
}

TEST_F(TextPainterTest, PrintFormsTurnDoubledPercentIntoOne) {
    display().textPainter.printAt(10, 20, "50%% of %s", "it");
    display().textPainter.printInRect(10, 60, 300, 100, "50%% of %s", "it");
    PixelCapture printedAt = capture(10, 20, 300, 40);
    PixelCapture printedInRect = capture(10, 60, 300, 80);
    display().clear();
    display().textPainter.drawText("50% of it", 10, 20);
    display().textPainter.drawTextInRect("50% of it", 10, 60, 300, 100);
    EXPECT_TRUE(printedAt.sameAs(capture(10, 20, 300, 40)));
    EXPECT_TRUE(printedInRect.sameAs(capture(10, 60, 300, 80)));
}

TEST_F(TextPainterTest, RectDrawsLinesThatFitAndDropsPartlyVisibleLast) {
    const int h = lineHeight(display().textPainter.font);
    ASSERT_GT(h, 0);
    display().textPainter.drawTextInRect("WW\nWW\nWW", 10, 10, 200, 10 + 2 * h + h / 2);
    PixelCapture shot = capture(0, 0, 200, 10 + 4 * h);
    EXPECT_TRUE(shot.rowHas(10, BACK));
    EXPECT_TRUE(shot.rowHas(10 + h, BACK));
    for (int y = 10 + 2 * h; y < 10 + 4 * h; ++y) {
        EXPECT_FALSE(shot.rowHas(y, RED)) << y;
        EXPECT_FALSE(shot.rowHas(y, BACK)) << y;
    }

    display().clear();
    display().textPainter.drawTextInRect("WW\nWW\nWW", 10, 10, 200, 10 + 3 * h);
    EXPECT_TRUE(capture(0, 0, 200, 10 + 4 * h).rowHas(10 + 2 * h, BACK));
}

TEST_F(TextPainterTest, RectClipsLongLineAtRightEdgeWithoutWrapping) {
    const int h = lineHeight(display().textPainter.font);
    display().textPainter.drawTextInRect("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", 10, 10, 100,
                                         200);
    PixelCapture shot = capture(0, 0, 300, 200);
    EXPECT_EQ(shot.rightmost(BACK), 99);
    EXPECT_EQ(shot.lowest(BACK), 10 + h - 1);
}

TEST_F(TextPainterTest, RectTakesAmpersandAsMnemonic) {
    TextPainter& painter = display().textPainter;
    painter.drawTextInRect("A&B", 10, 10, 300, 40);
    painter.drawText("AB", 10, 50);
    painter.drawTextInRect("A&&B", 10, 90, 300, 120);
    painter.drawText("A&B", 10, 130);
    PixelCapture mnemonic = capture(10, 10, 300, 30);
    PixelCapture plain = capture(10, 50, 300, 70);
    PixelCapture doubled = capture(10, 90, 300, 110);
    PixelCapture literal = capture(10, 130, 300, 150);

    // Both letters, no ampersand: as wide as "AB", plus the underline.
    EXPECT_EQ(mnemonic.rightmost(BACK), plain.rightmost(BACK));
    EXPECT_GT(mnemonic.count(RED), plain.count(RED));
    // Two ampersands draw one.
    EXPECT_GT(doubled.rightmost(BACK), plain.rightmost(BACK));
    EXPECT_TRUE(doubled.sameAs(literal));
}

TEST_F(TextPainterTest, DrawsNothingWhenSurfaceGivesNoContext) {
    TextPainter& painter = display().textPainter;
    HDC held = nullptr;
    ASSERT_EQ(back()->GetDC(&held), DD_OK);  // a second GetDC now fails
    painter.drawText("Hello", 10, 20);
    painter.drawUnderlinedText("Hello", 10, 40);
    painter.printAt(10, 60, "%d", 12345);
    painter.drawTextInRect("Hello", 10, 80, 200, 120);
    painter.printInRect(10, 120, 200, 160, "%s", "Hello");
    back()->ReleaseDC(held);
    EXPECT_EQ(capture(0, 0, 640, 480).count(0), 640 * 480);

    TextPainter unbound{};
    unbound.drawText("Hello", 10, 20);
    unbound.drawTextInRect("Hello", 10, 80, 200, 120);
    Screen empty{};
    unbound.init(&empty);
    unbound.printAt(10, 20, "%s", "Hello");
    EXPECT_EQ(capture(0, 0, 640, 480).count(0), 640 * 480);
}

}  // namespace
