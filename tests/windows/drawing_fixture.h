#pragma once
// One real Display for all drawing tests of the executable: opening one
// costs a display-mode change. Each test starts on a cleared back surface and
// default TextPainter settings.
#include <gtest/gtest.h>

#include "pixel_probe.h"
#include "test_display.h"

class DrawingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    static Display& display();
    IDirectDrawSurface* back() { return display().screen.backSurface; }
    PixelCapture capture(int left, int top, int right, int bottom) {
        return PixelCapture(back(), left, top, right, bottom);
    }
};
