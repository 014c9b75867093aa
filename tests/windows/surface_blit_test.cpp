// Blitting Surfaces onto the real back surface: placement, parts, colour
// keys, and blits that cannot be done.
#include "surface_fixture.h"

namespace {

using namespace surface_files;
using SurfaceBlitTest = SurfaceTest;

TEST_F(SurfaceBlitTest, DrawPutsTheTopLeftCornerAtXY) {
    struct Case {
        const char* what;
        const char* file;
        Image image;
        int x, y;
    };
    for (const Case& c : {Case{"24-bit", PATTERN_24, patternImage(), 100, 60},
                          Case{"8-bit palette", PALETTE_8, paletteImage(), 300, 200},
                          Case{"at the origin", PATTERN_24, patternImage(), 0, 0},
                          Case{"against the bottom-right edge", PATTERN_24, patternImage(), 608, 464}}) {
        SCOPED_TRACE(c.what);
        display().clear();
        Surface surface;
        ASSERT_TRUE(display().loadSurface(surface, c.file));
        surface.draw(c.x, c.y);
        const int right = c.x + c.image.width, bottom = c.y + c.image.height;
        PixelCapture shot = capture(0, 0, 640, 480);
        EXPECT_EQ(differences(shot, c.image, c.x, c.y), "");
        EXPECT_EQ(shot.at(c.x, c.y), c.image.at(0, 0));
        EXPECT_EQ(shot.at(right - 1, bottom - 1), c.image.at(31, 15));
        // Just outside, where the screen has room.
        const RECT outside[] = {{c.x - 1, c.y, c.x, bottom},
                                {c.x, c.y - 1, right, c.y},
                                {right, c.y, right + 1, bottom},
                                {c.x, bottom, right, bottom + 1}};
        for (const RECT& strip : outside) {
            if (strip.left >= 0 && strip.top >= 0 && strip.right <= 640 && strip.bottom <= 480) {
                EXPECT_EQ(notAll(shot, strip, BLACK), "");
            }
        }
    }
}

TEST_F(SurfaceBlitTest, DrawPartCopiesExactlyThePiece) {
    Surface surface;
    ASSERT_TRUE(display().loadSurface(surface, PATTERN_24));
    surface.drawPart(8, 0, 16, 16, 100, 50);
    PixelCapture shot = capture(0, 0, 640, 480);
    EXPECT_EQ(differences(shot, patternImage(), 100, 50, RECT{8, 0, 16, 16}), "");
    EXPECT_EQ(shot.at(100, 50), patternImage().at(8, 0));
    EXPECT_EQ(notAll(shot, RECT{99, 49, 109, 50}, BLACK), "");
    EXPECT_EQ(notAll(shot, RECT{99, 66, 109, 67}, BLACK), "");
    EXPECT_EQ(notAll(shot, RECT{99, 50, 100, 66}, BLACK), "");
    EXPECT_EQ(notAll(shot, RECT{108, 50, 109, 66}, BLACK), "");
}

// The destination is painted white first, so that a hidden pixel shows white.
TEST_F(SurfaceBlitTest, AColorKeyHidesExactlyItsColour) {
    struct Case {
        const char* what;
        const char* file;
        COLORREF key;
        COLORREF hidden;
    };
    for (const Case& c : {Case{"a colour of the image", KEYED_24, MAGENTA, MAGENTA},
                          Case{"CLR_INVALID: the top-left colour", CORNER_24, CLR_INVALID, CYAN}}) {
        SCOPED_TRACE(c.what);
        display().clear();
        display().painter.rectangle(190, 90, 250, 130, WHITE, WHITE);
        Surface surface;
        ASSERT_TRUE(display().loadSurface(surface, c.file));
        surface.setColorKey(c.key);
        EXPECT_TRUE(surface.colorKeyed);
        surface.draw(200, 100);
        Image expected = c.key == CLR_INVALID ? cornerImage() : keyedImage();
        for (COLORREF& pixel : expected.pixels) {
            if (pixel == c.hidden) pixel = WHITE;
        }
        EXPECT_EQ(differences(capture(0, 0, 640, 480), expected, 200, 100), "");
        // The key is taken from the surface without changing it.
        Image image = c.key == CLR_INVALID ? cornerImage() : keyedImage();
        EXPECT_EQ(surfaceDifferences(surface.surface, image), "");
    }
}

// A keyed Surface loaded again, here from its own fileName, keeps drawing
// with its key: the new surface is given the key too.
TEST_F(SurfaceBlitTest, ALoadOfItsOwnNameKeepsTheColourKey) {
    display().painter.rectangle(190, 90, 250, 130, WHITE, WHITE);
    Surface surface;
    ASSERT_TRUE(display().loadSurface(surface, KEYED_24));
    surface.setColorKey(MAGENTA);
    ASSERT_TRUE(surface.loadFile(surface.fileName));
    EXPECT_STREQ(surface.fileName, KEYED_24);
    EXPECT_TRUE(surface.colorKeyed);
    surface.draw(200, 100);
    Image expected = keyedImage();
    for (COLORREF& pixel : expected.pixels) {
        if (pixel == MAGENTA) pixel = WHITE;
    }
    EXPECT_EQ(differences(capture(0, 0, 640, 480), expected, 200, 100), "");
}

TEST_F(SurfaceBlitTest, MatchColorFindsTheRawValueAndLeavesTheTopLeftPixel) {
    IDirectDrawSurface* surface = createSurfaceFromBitmap(directDraw(), CORNER_24);
    ASSERT_NE(surface, nullptr);
    DDSURFACEDESC description{};
    description.dwSize = sizeof description;
    ASSERT_EQ(surface->GetSurfaceDesc(&description), DD_OK);
    const DDPIXELFORMAT& format = description.ddpfPixelFormat;

    EXPECT_EQ(matchColor(surface, RED), format.dwRBitMask);
    EXPECT_EQ(matchColor(surface, BLUE), format.dwBBitMask);
    EXPECT_EQ(matchColor(surface, CLR_INVALID), format.dwGBitMask | format.dwBBitMask) << "cyan at 0, 0";
    EXPECT_EQ(surfaceDifferences(surface, cornerImage()), "") << "matchColor changed the surface";
    EXPECT_EQ(matchColor(nullptr, RED), CLR_INVALID);

    ASSERT_EQ(setColorKeyFromColor(surface, RED), DD_OK);
    DDCOLORKEY key{};
    ASSERT_EQ(surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    EXPECT_EQ(key.dwColorSpaceLowValue, format.dwRBitMask);
    EXPECT_EQ(key.dwColorSpaceHighValue, format.dwRBitMask);
    surface->Release();
}

// The surface is emptied to black first: an image afterwards shows that the
// failed blit copied the bitmap in again.
TEST_F(SurfaceBlitTest, ADestinationThatDoesNotFitFailsAndReloads) {
    Surface surface;
    ASSERT_TRUE(display().loadSurface(surface, PATTERN_24));
    DDBLTFX fill{};
    fill.dwSize = sizeof fill;
    fill.dwFillColor = 0;
    ASSERT_EQ(surface.surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill), DD_OK);
    ASSERT_EQ(surfaceDifferences(surface.surface, Image(32, 16, BLACK)), "");

    surface.draw(630, 470);
    PixelCapture shot = capture(0, 0, 640, 480);
    EXPECT_EQ(notAll(shot, RECT{600, 440, 640, 480}, BLACK), "") << "the blit that does not fit drew";
    EXPECT_EQ(surfaceDifferences(surface.surface, patternImage()), "") << "no reload";

    surface.draw(10, 10);
    EXPECT_EQ(differences(capture(0, 0, 640, 480), patternImage(), 10, 10), "");
}

TEST_F(SurfaceBlitTest, ASurfaceThatNeverLoadedDrawsNothing) {
    Surface surface;
    surface.draw(0, 0);
    surface.drawPart(0, 0, 8, 8, 10, 10);
    surface.setColorKey(RED);
    EXPECT_FALSE(surface.colorKeyed);
    surface.reload();
    surface.setScreen(&display().screen);
    surface.draw(0, 0);
    EXPECT_EQ(notAll(capture(0, 0, 640, 480), RECT{0, 0, 640, 480}, BLACK), "");
}

}  // namespace
