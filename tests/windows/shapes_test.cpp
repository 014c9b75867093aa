// What a Painter call does to the device context it borrows. The back surface
// hands out a fresh context each time, so the pen and brush a call leaves
// behind cannot be seen through it; a stand-in surface hands out a context
// the test holds instead.
#include <gtest/gtest.h>

#include <functional>

#include "fake_surface.h"
#include "framework/paint/painter.h"
#include "framework/display/screen.h"

namespace {

constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF RED = RGB(255, 0, 0);

struct Call {
    const char* name;
    std::function<void(Painter&)> draw;
};

const POINT triangle[] = {{10, 100}, {100, 100}, {50, 20}};

const Call shapeCalls[] = {
    {"arc", [](Painter& p) { p.arc(10, 10, 100, 100, 100, 50, 10, 50, BLUE, RED); }},
    {"lineTo", [](Painter& p) { p.lineTo(100, 50, BLUE, RED); }},
    {"angleArc", [](Painter& p) { p.angleArc(50, 50, 30, 0.0f, 90.0f, RED); }},
    {"polygon", [](Painter& p) { p.polygon(triangle, 3, BLUE, RED); }},
    {"rectangle", [](Painter& p) { p.rectangle(10, 10, 100, 100, BLUE, RED); }},
    {"roundRect", [](Painter& p) { p.roundRect(10, 10, 100, 100, 10, 10, BLUE, RED); }},
    {"pie", [](Painter& p) { p.pie(10, 10, 100, 100, 100, 50, 10, 50, BLUE, RED); }},
    {"chord", [](Painter& p) { p.chord(10, 10, 100, 100, 100, 50, 10, 50, BLUE, RED); }},
    {"ellipse", [](Painter& p) { p.ellipse(10, 10, 100, 100, BLUE, RED); }},
};

TEST(Shapes, LeaveTheContextsPenAndBrushSelected) {
    HPEN ownPen = CreatePen(PS_DOT, 1, RGB(1, 2, 3));
    HBRUSH ownBrush = CreateSolidBrush(RGB(4, 5, 6));
    for (const Call& call : shapeCalls) {
        SCOPED_TRACE(call.name);
        FakeSurface surface;
        SelectObject(surface.dc, ownPen);
        SelectObject(surface.dc, ownBrush);
        Screen screen{};
        screen.backSurface = &surface;
        Painter painter{};
        painter.bind(&screen);

        call.draw(painter);

        EXPECT_EQ(GetCurrentObject(surface.dc, OBJ_PEN), ownPen);
        EXPECT_EQ(GetCurrentObject(surface.dc, OBJ_BRUSH), ownBrush);
        EXPECT_EQ(surface.getDcCalls, 1);
        EXPECT_EQ(surface.releaseDcCalls, 1);
        // The call drew through the context it was given.
        bool drew = false;
        for (int y = 0; y < 110 && !drew; ++y)
            for (int x = 0; x < 110 && !drew; ++x) drew = GetPixel(surface.dc, x, y) == RED;
        EXPECT_TRUE(drew);
        SelectObject(surface.dc, GetStockObject(BLACK_PEN));
        SelectObject(surface.dc, GetStockObject(WHITE_BRUSH));
        screen.backSurface = nullptr;
    }
    DeleteObject(ownPen);
    DeleteObject(ownBrush);
}

TEST(Shapes, EveryCallTakesOneContextAndGivesItBack) {
    const Call pixelCalls[] = {
        {"setPixel", [](Painter& p) { p.setPixel(1, 1, RED); }},
        {"verticalLine", [](Painter& p) { p.verticalLine(0, 99, 5, RED); }},
        {"horizontalLine", [](Painter& p) { p.horizontalLine(0, 99, 5, RED); }},
        {"line", [](Painter& p) { p.line(0, 0, 99, 40, RED); }},
        {"getPixel", [](Painter& p) { p.getPixel(1, 1); }},
    };
    auto check = [](const Call& call) {
        SCOPED_TRACE(call.name);
        FakeSurface surface;
        Screen screen{};
        screen.backSurface = &surface;
        Painter painter{};
        painter.bind(&screen);
        call.draw(painter);
        EXPECT_EQ(surface.getDcCalls, 1);
        EXPECT_EQ(surface.releaseDcCalls, 1);
        screen.backSurface = nullptr;
    };
    for (const Call& call : pixelCalls) check(call);
    for (const Call& call : shapeCalls) check(call);
}

TEST(Shapes, NothingIsDrawnOrReleasedWhenNoContextIsGiven) {
    FakeSurface surface;
    surface.giveDc = false;
    Screen screen{};
    screen.backSurface = &surface;
    Painter painter{};
    painter.bind(&screen);
    for (const Call& call : shapeCalls) call.draw(painter);
    painter.setPixel(1, 1, RED);
    painter.line(0, 0, 50, 50, RED);
    painter.verticalLine(0, 50, 3, RED);
    painter.horizontalLine(0, 50, 3, RED);
    EXPECT_EQ(painter.getPixel(1, 1), CLR_INVALID);
    EXPECT_EQ(surface.getDcCalls, 14);
    EXPECT_EQ(surface.releaseDcCalls, 0);
    int drawn = 0;
    for (int y = 0; y < 110; ++y)
        for (int x = 0; x < 110; ++x) drawn += GetPixel(surface.dc, x, y) != 0;
    EXPECT_EQ(drawn, 0);
    screen.backSurface = nullptr;
}

}  // namespace
