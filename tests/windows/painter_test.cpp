// Painter's pixels, pixel lines and shapes on the real back surface.
#include <set>
#include <utility>

#include "drawing_fixture.h"

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF GREEN = RGB(0, 255, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);

using Points = std::set<std::pair<int, int>>;

// The pixels of one colour inside a capture, relative to (ox, oy).
Points pointsOf(const PixelCapture& shot, COLORREF color, int left, int top, int right,
                int bottom, int ox, int oy) {
    Points points;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (shot.at(x, y) == color) points.emplace(x - ox, y - oy);
        }
    }
    return points;
}

using PainterTest = DrawingTest;

TEST_F(PainterTest, SetPixelAndGetPixelRoundTrip) {
    display().painter.setPixel(5, 7, RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(display().painter.getPixel(5, 7), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(display().painter.getPixel(6, 7), 0u);
}

TEST_F(PainterTest, LineSetsThePixelsOfTheIntegerLine) {
    Painter& painter = display().painter;
    painter.line(100, 100, 104, 102, RED);  // the end point is skipped
    painter.line(200, 100, 202, 104, RED);
    painter.line(300, 100, 300, 100, RED);
    PixelCapture shot = capture(90, 90, 320, 120);
    EXPECT_EQ(pointsOf(shot, RED, 90, 90, 150, 120, 100, 100),
              (Points{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}}));
    EXPECT_EQ(pointsOf(shot, RED, 150, 90, 250, 120, 200, 100),
              (Points{{0, 0}, {1, 1}, {1, 2}, {2, 3}, {2, 4}}));
    EXPECT_EQ(pointsOf(shot, RED, 250, 90, 320, 120, 300, 100), (Points{{0, 0}}));
}

TEST_F(PainterTest, LinesOffTheSurfaceAreClippedNotFatal) {
    Painter& painter = display().painter;
    painter.line(-10, -10, 5, 5, RED);
    painter.line(630, 470, 700, 540, RED);
    PixelCapture shot = capture(0, 0, 640, 480);
    EXPECT_EQ(shot.at(0, 0), RED);
    EXPECT_EQ(shot.at(5, 5), RED);
    EXPECT_EQ(shot.at(639, 479), RED);
}

TEST_F(PainterTest, StraightLinesIncludeBothEndsAndSkipReversedEnds) {
    Painter& painter = display().painter;
    painter.verticalLine(10, 12, 50, RED);
    painter.verticalLine(20, 20, 60, RED);
    painter.verticalLine(31, 30, 70, RED);
    painter.horizontalLine(100, 102, 10, GREEN);
    painter.horizontalLine(110, 110, 20, GREEN);
    painter.horizontalLine(121, 120, 30, GREEN);
    PixelCapture shot = capture(0, 0, 200, 50);
    EXPECT_EQ(pointsOf(shot, RED, 0, 0, 200, 50, 0, 0),
              (Points{{50, 10}, {50, 11}, {50, 12}, {60, 20}}));
    EXPECT_EQ(pointsOf(shot, GREEN, 0, 0, 200, 50, 0, 0),
              (Points{{100, 10}, {101, 10}, {102, 10}, {110, 20}}));
}

TEST_F(PainterTest, RectangleOfTheScreenPaintsEveryPixel) {
    display().painter.rectangle(0, 0, 640, 480, BLUE, BLUE);
    EXPECT_EQ(capture(0, 0, 640, 480).count(BLUE), 640 * 480);
}

TEST_F(PainterTest, LineToDrawsTwoPixelLineFromTheOrigin) {
    display().painter.lineTo(100, 50, BLUE, RED);
    PixelCapture shot = capture(0, 0, 200, 100);
    EXPECT_EQ(shot.at(0, 0), RED);
    int thickness = 0;
    for (int y = 15; y < 35; ++y) thickness += shot.at(50, y) == RED;
    // A 2-pixel pen on a slope of one half covers two or three rows of a column.
    EXPECT_GE(thickness, 2);
    EXPECT_LE(thickness, 3);
    EXPECT_EQ(shot.count(BLUE), 0);
    EXPECT_FALSE(shot.columnHas(102, RED));
}

TEST_F(PainterTest, AngleArcDrawsSegmentFromOriginAndFillsNothing) {
    display().painter.rectangle(200, 100, 400, 300, GREEN, GREEN);
    // Centre (300, 200), radius 50, from 0 degrees (350, 200) half a turn up.
    display().painter.angleArc(300, 200, 50, 0.0f, 180.0f, RED);
    PixelCapture shot = capture(0, 0, 640, 480);
    int segment = 0;
    for (int y = 95; y < 106; ++y) segment += shot.at(175, y) == RED;  // (175, 100) lies on it
    EXPECT_GE(segment, 1);
    EXPECT_TRUE(shot.at(300, 150) == RED || shot.at(300, 151) == RED);
    EXPECT_EQ(shot.at(300, 190), GREEN);  // inside the arc: not filled
    EXPECT_EQ(shot.count(0) + shot.count(GREEN) + shot.count(RED), 640 * 480);
}

TEST_F(PainterTest, ClosedShapesFillWithBrushAndOutlineWithPen) {
    Painter& painter = display().painter;
    const POINT triangle[] = {{20, 420}, {120, 420}, {70, 320}};
    painter.rectangle(20, 20, 120, 120, BLUE, RED);
    painter.ellipse(140, 20, 240, 120, BLUE, RED);
    painter.roundRect(260, 20, 360, 120, 20, 20, BLUE, RED);
    painter.pie(380, 20, 480, 120, 480, 70, 380, 70, BLUE, RED);     // upper half
    painter.chord(500, 20, 600, 120, 600, 70, 500, 70, BLUE, RED);   // upper half
    painter.polygon(triangle, 3, BLUE, RED);
    painter.arc(140, 320, 240, 420, 240, 370, 140, 370, BLUE, RED);  // upper half
    PixelCapture shot = capture(0, 0, 640, 480);
    const struct {
        const char* shape;
        int insideX, insideY, edgeX, edgeY;
    } cases[] = {{"rectangle", 70, 70, 70, 20},  {"ellipse", 190, 70, 190, 20},
                 {"roundRect", 310, 70, 310, 20}, {"pie", 430, 50, 430, 20},
                 {"chord", 550, 50, 550, 20},     {"polygon", 70, 400, 70, 420}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shape);
        EXPECT_EQ(shot.at(c.insideX, c.insideY), BLUE);
        bool edge = false;
        for (int d = -1; d <= 1; ++d) edge = edge || shot.at(c.edgeX, c.edgeY + d) == RED;
        EXPECT_TRUE(edge);
    }
    // Pie and chord fill only the upper half; the arc fills nothing.
    EXPECT_EQ(shot.at(430, 100), 0u);
    EXPECT_EQ(shot.at(550, 100), 0u);
    EXPECT_EQ(shot.at(190, 350), 0u);
    EXPECT_TRUE(shot.at(190, 320) == RED || shot.at(190, 321) == RED);
}

TEST_F(PainterTest, GetPixelAnswersInvalidWithoutContext) {
    display().painter.setPixel(5, 5, RED);
    HDC held = nullptr;
    ASSERT_EQ(back()->GetDC(&held), DD_OK);
    EXPECT_EQ(display().painter.getPixel(5, 5), CLR_INVALID);
    display().painter.setPixel(6, 6, RED);
    back()->ReleaseDC(held);
    EXPECT_EQ(display().painter.getPixel(5, 5), RED);
    EXPECT_EQ(display().painter.getPixel(6, 6), 0u);

    Painter unbound{};
    EXPECT_EQ(unbound.getPixel(0, 0), CLR_INVALID);
    unbound.rectangle(0, 0, 10, 10, RED, RED);
}

}  // namespace
