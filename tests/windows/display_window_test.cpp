// The Display in a window, on the 640x480 screen of the Windows tests: a
// 200x150 buffer at scale 2 fits on it with its frame.
#include <gtest/gtest.h>

#include "bitmap_files.h"
#include "framework/surface/surface.h"
#include "message_box_watcher.h"
#include "pixel_probe.h"
#include "test_display.h"

namespace {

constexpr int WIDTH = 200;
constexpr int HEIGHT = 150;
constexpr int SCALE = 2;

bool openWindowed(Display& display, int scale = SCALE) {
    display.windowScale = scale;
    return openTestDisplay(display, 4, WIDTH, HEIGHT);
}

POINT clientCorner(HWND window) {
    POINT corner{0, 0};
    ClientToScreen(window, &corner);
    return corner;
}

TEST(DisplayWindow, NormalWindowOfExactClientSizeWithAClippedPrimaryAndAnOffscreenBuffer) {
    Display display{};
    ASSERT_TRUE(openWindowed(display));
    EXPECT_TRUE(display.windowed);
    char title[32] = {};
    GetWindowTextA(display.window, title, sizeof title);
    EXPECT_STREQ(title, "KorvaneTest");
    const auto style = static_cast<DWORD>(GetWindowLongA(display.window, GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_POPUP), 0u);
    RECT client;
    GetClientRect(display.window, &client);
    EXPECT_EQ(client.right, WIDTH * SCALE);
    EXPECT_EQ(client.bottom, HEIGHT * SCALE);
    const POINT corner = clientCorner(display.window);
    EXPECT_GE(corner.x, 0);
    EXPECT_GE(corner.y, 0);
    // No display mode of its own: the screen keeps its size.
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);

    IDirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(display.screen.primarySurface->GetClipper(&clipper), DD_OK);
    HWND clipped = nullptr;
    clipper->GetHWnd(&clipped);
    EXPECT_EQ(clipped, display.window);
    clipper->Release();
    DDSURFACEDESC description;
    ZeroMemory(&description, sizeof description);
    description.dwSize = sizeof description;
    ASSERT_EQ(display.screen.backSurface->GetSurfaceDesc(&description), DD_OK);
    EXPECT_EQ(description.dwWidth, static_cast<DWORD>(WIDTH));
    EXPECT_EQ(description.dwHeight, static_cast<DWORD>(HEIGHT));
    EXPECT_TRUE(description.ddsCaps.dwCaps & DDSCAPS_OFFSCREENPLAIN);
    EXPECT_EQ(surfaceBits(display.screen.backSurface), surfaceBits(display.screen.primarySurface));

    // A flip shows each pixel as a 2x2 block at the client area's place.
    display.clear();
    display.painter.setPixel(3, 4, RGB(255, 0, 0));
    display.painter.setPixel(WIDTH - 1, HEIGHT - 1, RGB(0, 255, 0));
    display.flip();
    const PixelCapture front = screenPixels(corner.x, corner.y, corner.x + WIDTH * SCALE, corner.y + HEIGHT * SCALE);
    ASSERT_TRUE(front.valid());
    EXPECT_EQ(front.count(RGB(255, 0, 0)), 4);
    EXPECT_EQ(front.at(corner.x + 6, corner.y + 8), RGB(255, 0, 0));
    EXPECT_EQ(front.at(corner.x + 7, corner.y + 9), RGB(255, 0, 0));
    EXPECT_EQ(front.at(corner.x + 8, corner.y + 9), 0u);
    EXPECT_EQ(front.count(RGB(0, 255, 0)), 4);
    EXPECT_EQ(front.at(corner.x + WIDTH * SCALE - 1, corner.y + HEIGHT * SCALE - 1), RGB(0, 255, 0));
    EXPECT_EQ(front.count(0), WIDTH * SCALE * HEIGHT * SCALE - 8);
    closeWithoutRun(display);
}

TEST(DisplayWindow, DrawsUnlessMinimisedShowsTheCursorAndMapsItOntoTheBuffer) {
    Display display{};
    ASSERT_TRUE(openWindowed(display));
    // Another program in the foreground: the window still draws.
    display.sendMessage(WM_ACTIVATEAPP, 0, 0);
    EXPECT_EQ(display.active, 1);
    ShowWindow(display.window, SW_MINIMIZE);
    drainMessages();
    EXPECT_EQ(display.active, 0);
    display.flip();  // minimised: nothing to draw on, nothing fails
    ShowWindow(display.window, SW_RESTORE);
    drainMessages();
    EXPECT_EQ(display.active, 1);

    // hideCursor leaves the cursor shown in a window (the count stays 0).
    display.hideCursor();
    EXPECT_EQ(ShowCursor(TRUE), 1);
    ShowCursor(FALSE);

    const POINT corner = clientCorner(display.window);
    ASSERT_TRUE(SetCursorPos(corner.x + 21, corner.y + 10));
    int x = -1, y = -1;
    display.getCursorPos(x, y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 5);
    closeWithoutRun(display);
    display.showCursor();
}

// The sprite drawn at (10, 10) on a cleared back surface, as it reads there.
// A blit that finds its surface lost reloads it; the next one draws.
bool drawsSprite(Display& display, Surface& sprite) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        display.clear();
        sprite.draw(10, 10);
        PixelCapture back(display.screen.backSurface, 0, 0, 32, 32);
        if (back.valid() && back.count(RGB(0, 0, 255)) == 64 && back.at(17, 17) == RGB(0, 0, 255)) return true;
    }
    return false;
}

TEST(DisplayWindow, AltEnterSwitchesToFullScreenAndBackKeepingDirectDrawAndSurfaces) {
    ASSERT_TRUE(writeBitmap24("altenter.bmp", Image(8, 8, RGB(0, 0, 255))));
    Display display{};
    display.windowScale = 1;
    ASSERT_TRUE(openTestDisplay(display));  // 640x480: full screen is possible here
    Surface sprite;
    ASSERT_TRUE(display.loadSurface(sprite, "altenter.bmp"));
    IDirectDraw* const directDraw = display.screen.directDraw;
    constexpr LPARAM ALT_HELD = 1 | (1 << 29);

    display.sendMessage(WM_SYSKEYDOWN, VK_RETURN, ALT_HELD);
    EXPECT_FALSE(display.windowed);
    EXPECT_TRUE(static_cast<DWORD>(GetWindowLongA(display.window, GWL_STYLE)) & WS_POPUP);
    EXPECT_EQ(display.screen.directDraw, directDraw);
    EXPECT_EQ(surfaceBits(display.screen.backSurface), surfaceBits(display.screen.primarySurface));
    EXPECT_TRUE(drawsSprite(display, sprite));
    display.flip();

    display.sendMessage(WM_SYSKEYDOWN, VK_RETURN, ALT_HELD | (1 << 30));  // a repeat: no switch
    EXPECT_FALSE(display.windowed);
    display.sendMessage(WM_SYSKEYDOWN, VK_RETURN, ALT_HELD);
    EXPECT_TRUE(display.windowed);
    EXPECT_EQ(display.screen.directDraw, directDraw);
    EXPECT_TRUE(static_cast<DWORD>(GetWindowLongA(display.window, GWL_STYLE)) & WS_CAPTION);
    EXPECT_TRUE(drawsSprite(display, sprite));
    // Alt+F4 and other system keys still reach the program's procedure.
    sprite.release();
    display.sendMessage(WM_SYSKEYDOWN, VK_F4, ALT_HELD);
    drainMessages();
    EXPECT_FALSE(IsWindow(display.window));
    display.releaseDevices();
    display.screen.release();
}

// A change of the display mode and back, as another program's would be. Wine
// marks lost only the surfaces of the DirectDraw object that changed the
// mode, so the change is made through the Display's own object.
bool changeTheModeAndBack(IDirectDraw* directDraw) {
    const bool changed = SUCCEEDED(directDraw->SetDisplayMode(640, 480, 16));
    directDraw->RestoreDisplayMode();
    drainMessages();
    return changed;
}

TEST(DisplayWindow, ALostPrimaryIsRestoredAndDrawingGoesOn) {
    Display display{};
    ASSERT_TRUE(openWindowed(display));
    if (!changeTheModeAndBack(display.screen.directDraw)) GTEST_SKIP() << "this DirectDraw cannot change the display mode";
    if (display.screen.primarySurface->IsLost() != DDERR_SURFACELOST)
        GTEST_SKIP() << "the mode change did not lose the primary here";
    display.clear();
    display.painter.setPixel(3, 4, RGB(255, 0, 0));
    display.flip();
    EXPECT_EQ(display.screen.primarySurface->IsLost(), DD_OK);
    display.flip();
    const POINT corner = clientCorner(display.window);
    const PixelCapture front = screenPixels(corner.x, corner.y, corner.x + WIDTH * SCALE, corner.y + HEIGHT * SCALE);
    ASSERT_TRUE(front.valid());
    EXPECT_EQ(front.count(RGB(255, 0, 0)), 4);
    closeWithoutRun(display);
}

TEST(DisplayWindow, ScaleOutsideOneToFourFailsBeforeCreatingAnything) {
    MessageBoxWatcher watcher;
    for (int scale : {-1, 5}) {
        Display display{};
        display.windowScale = scale;
        testWindow.display = &display;
        EXPECT_FALSE(display.open("KorvaneBadScale", WIDTH, HEIGHT, 4, testWindowProc,
                                  GetModuleHandleA(nullptr), nullptr, nullptr));
        EXPECT_EQ(display.window, nullptr);
        EXPECT_EQ(FindWindowA("KorvaneBadScale", nullptr), nullptr);
    }
    EXPECT_TRUE(watcher.seen().empty());
}

}  // namespace
