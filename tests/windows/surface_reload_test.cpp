// Copying bitmaps in again: resource before file, and the debugger reports.
#include <functional>
#include <string>
#include <vector>

#include "debug_output_capture.h"
#include "surface_fixture.h"

namespace {

using namespace surface_files;
using SurfaceReloadTest = SurfaceTest;
using Lines = std::vector<std::string>;

TEST_F(SurfaceReloadTest, ReloadTakesTheResourceWhileLoadingTakesOnlyTheFile) {
    Surface surface;
    ASSERT_TRUE(display().loadSurface(surface, DUAL));
    EXPECT_EQ(surfaceDifferences(surface.surface, dualFileImage()), "") << "the load did not take the file";
    surface.reload();
    EXPECT_EQ(surfaceDifferences(surface.surface, dualResourceImage()), "") << "reload did not take the resource";

    IDirectDrawSurface* plain = createSurfaceFromBitmap(directDraw(), DUAL);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(surfaceDifferences(plain, dualFileImage()), "");
    DebugOutputCapture debug;
    EXPECT_EQ(reloadBitmap(plain, DUAL), DD_OK);
    EXPECT_EQ(surfaceDifferences(plain, dualResourceImage()), "");
    // A file that is no resource is taken from the file.
    EXPECT_EQ(reloadBitmap(plain, PATTERN_24), DD_OK);
    EXPECT_EQ(surfaceDifferences(plain, patternImage()), "");
    EXPECT_EQ(debug.lines(), Lines{});
    plain->Release();
}

TEST_F(SurfaceReloadTest, StretchBitmapToSurfaceCoversTheSurfaceWithTheGivenRectangle) {
    HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), DUAL, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    IDirectDrawSurface* surface = createOffscreenSurface(directDraw(), 8, 4);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(stretchBitmapToSurface(surface, bitmap, 16, 0, 16, 16), DD_OK);
    EXPECT_EQ(surfaceDifferences(surface, Image(8, 4, BLUE)), "") << "the right half, stretched";
    EXPECT_EQ(stretchBitmapToSurface(surface, bitmap, 0, 0, 16, 0), DD_OK);
    EXPECT_EQ(surfaceDifferences(surface, Image(8, 4, RED)), "") << "the left half, full height";
    EXPECT_EQ(stretchBitmapToSurface(nullptr, bitmap, 0, 0, 0, 0), E_FAIL);
    EXPECT_EQ(stretchBitmapToSurface(surface, nullptr, 0, 0, 0, 0), E_FAIL);
    surface->Release();
    DeleteObject(bitmap);
}

TEST_F(SurfaceReloadTest, AFailedReloadIsReportedOnlyToTheDebugger) {
    IDirectDrawSurface* surface = createSurfaceFromBitmap(directDraw(), PATTERN_24);
    ASSERT_NE(surface, nullptr);
    {
        SCOPED_TRACE("no such bitmap");
        DebugOutputCapture debug;
        EXPECT_EQ(reloadBitmap(surface, MISSING), E_FAIL);
        EXPECT_EQ(debug.lines(), Lines{"handle is null\n"});
    }
    {
        SCOPED_TRACE("the surface's device context is taken");
        HDC held = nullptr;
        ASSERT_EQ(surface->GetDC(&held), DD_OK);
        DebugOutputCapture debug;
        HRESULT result = reloadBitmap(surface, PATTERN_24);
        surface->ReleaseDC(held);
        EXPECT_NE(result, DD_OK);
        EXPECT_EQ(debug.lines(), Lines{"ddcopybitmap failed\n"});
    }
    {
        SCOPED_TRACE("no surface");
        DebugOutputCapture debug;
        EXPECT_EQ(reloadBitmap(nullptr, PATTERN_24), E_FAIL);
        EXPECT_EQ(debug.lines(), Lines{"ddcopybitmap failed\n"});
    }
    surface->Release();
}

// Sets a display mode of `bits` and then the display's own depth again,
// running `during` in between; false when the mode cannot be set. A mode
// change loses every surface; the flipping pair is restored afterwards.
bool visitDisplayMode(IDirectDraw* directDraw, Display& display, int bits, const std::function<void()>& during) {
    const int ownBits = surfaceBits(display.screen.backSurface);
    if (directDraw->SetDisplayMode(640, 480, bits) != DD_OK) {
        directDraw->SetDisplayMode(640, 480, ownBits);
        display.screen.primarySurface->Restore();
        return false;
    }
    during();
    EXPECT_EQ(directDraw->SetDisplayMode(640, 480, ownBits), DD_OK);
    return true;
}

TEST_F(SurfaceReloadTest, OnA16BitDisplayTheKeyHoldsTheFirstPixelOnly) {
    bool checked = false;
    auto check = [&] {
        IDirectDrawSurface* wide = createOffscreenSurface(directDraw(), 4, 1);
        ASSERT_NE(wide, nullptr);
        if (surfaceBits(wide) == 16) {
            HDC dc = nullptr;
            ASSERT_EQ(wide->GetDC(&dc), DD_OK);
            SetPixel(dc, 0, 0, BLUE);
            SetPixel(dc, 1, 0, WHITE);  // the upper half of the first 32-bit word
            wide->ReleaseDC(dc);
            DDSURFACEDESC description{};
            description.dwSize = sizeof description;
            wide->GetSurfaceDesc(&description);
            EXPECT_EQ(matchColor(wide, RED), description.ddpfPixelFormat.dwRBitMask);
            EXPECT_EQ(matchColor(wide, CLR_INVALID), description.ddpfPixelFormat.dwBBitMask);
            checked = true;
        }
        wide->Release();
    };
    const bool visited = visitDisplayMode(directDraw(), display(), 16, check);
    ASSERT_EQ(display().screen.primarySurface->Restore(), DD_OK);
    if (!visited || !checked) GTEST_SKIP() << "no 16-bit display mode or surface here";
}

}  // namespace
