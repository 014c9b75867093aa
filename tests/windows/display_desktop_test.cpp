// Desktop full screen on the 640x480 test screen (a 200x150 buffer at scale 3,
// at (20, 15)), on two monitors; the DPI manifest of every shipped program.
#include <gtest/gtest.h>

#include <string>

#include "pixel_probe.h"
#include "test_display.h"

namespace {

constexpr int WIDTH = 200;
constexpr int HEIGHT = 150;
constexpr LPARAM ALT_ENTER = 1 | (1 << 29);

TEST(DisplayDesktop, BorderlessOverTheMonitorBlocksCentredOnBlackPointerHiddenAndMapped) {
    Display display{};
    display.desktopFullScreen = true;
    ASSERT_TRUE(openTestDisplay(display, 4, WIDTH, HEIGHT));
    EXPECT_TRUE(display.onDesktop && !display.windowed);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(display.window, GWL_STYLE)) & (WS_POPUP | WS_CAPTION), WS_POPUP);
    RECT box;
    GetWindowRect(display.window, &box);
    EXPECT_TRUE(box.left == 0 && box.top == 0 && box.right == 640 && box.bottom == 480);

    display.clear();
    display.painter.setPixel(0, 0, RGB(255, 0, 0));
    display.flip();
    const PixelCapture front = screenPixels(0, 0, 640, 480);
    EXPECT_EQ(front.count(RGB(255, 0, 0)), 9);
    EXPECT_EQ(front.count(0), 640 * 480 - 9);  // the border too

    EXPECT_EQ(display.sendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(display.window), HTCLIENT), TRUE);
    EXPECT_EQ(GetCursor(), nullptr);
    int x = -1, y = -1;
    ASSERT_TRUE(SetCursorPos(20 + 3 * 7 + 2, 15 + 3 * 5));
    display.getCursorPos(x, y);
    EXPECT_TRUE(x == 7 && y == 5) << x << "," << y;
    ASSERT_TRUE(SetCursorPos(639, 2));  // on the border: the nearest edge pixel
    display.getCursorPos(x, y);
    EXPECT_TRUE(x == WIDTH - 1 && y == 0) << x << "," << y;
    closeWithoutRun(display);
}

// Run by two_monitors.sh: a window on the second monitor is drawn there, desktop
// full screen covers it, and the window comes back at its place and size.
TEST(DisplayTwoMonitors, AWindowOnTheSecondIsDrawnThereAndDesktopFullScreenCoversIt) {
    if (GetSystemMetrics(SM_CMONITORS) < 2) GTEST_SKIP() << "one monitor";
    const int second = GetSystemMetrics(SM_CXSCREEN);
    Display display{};
    display.desktopFullScreen = true;
    display.windowScale = 2;
    ASSERT_TRUE(openTestDisplay(display, 4, WIDTH, HEIGHT));
    IDirectDraw* const directDraw = display.screen.directDraw;  // and with it every Surface
    SetWindowPos(display.window, nullptr, second + 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    POINT corner{0, 0};
    ClientToScreen(display.window, &corner);
    display.clear();
    display.painter.setPixel(0, 0, RGB(255, 0, 0));
    display.flip();
    EXPECT_EQ(screenPixels(corner.x, corner.y, corner.x + 8, corner.y + 8).count(RGB(255, 0, 0)), 4);
    SetWindowPos(display.window, nullptr, second - 200, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // straddling
    display.painter.setPixel(WIDTH - 1, 0, RGB(255, 0, 0));
    display.flip();
    ClientToScreen(display.window, &(corner = {0, 0}));
    EXPECT_EQ(screenPixels(corner.x, corner.y, corner.x + 2 * WIDTH, corner.y + 2).count(RGB(255, 0, 0)), 8);
    SetWindowPos(display.window, nullptr, second + 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    display.sendMessage(WM_SYSKEYDOWN, VK_RETURN, ALT_ENTER);
    ASSERT_TRUE(display.onDesktop);
    RECT box;
    GetWindowRect(display.window, &box);
    EXPECT_EQ(box.left, second);
    const DesktopPicture picture = display.desktopPicture();
    display.clear();  // the back buffer was made again: a frame draws anew
    display.painter.setPixel(0, 0, RGB(255, 0, 0));
    display.flip();
    EXPECT_EQ(screenPixels(picture.left, picture.top, picture.left + 16, picture.top + 16).count(RGB(255, 0, 0)),
              picture.scale * picture.scale);

    display.sendMessage(WM_SYSKEYDOWN, VK_RETURN, ALT_ENTER);
    RECT suggested{0, 0, 2000, 1000};
    display.sendMessage(0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(display.window, &box);
    RECT client;
    GetClientRect(display.window, &client);
    EXPECT_TRUE(display.windowed && box.left == second + 100 && box.top == 100);
    EXPECT_EQ(display.screen.directDraw, directDraw);
    EXPECT_TRUE(client.right == 2 * WIDTH && client.bottom == 2 * HEIGHT);
    closeWithoutRun(display);
}

TEST(DpiManifest, EveryShippedProgramDeclaresPerMonitorAwareness) {
    for (const char* path : {KORVANE_EXE, STREAM_EXE, TOUR_EXE}) {
        SCOPED_TRACE(path);
        HMODULE module = LoadLibraryExA((std::string("Z:") + path).c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr);
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
        ASSERT_NE(found, nullptr);
        const std::string manifest(static_cast<const char*>(LockResource(LoadResource(module, found))),
                                   SizeofResource(module, found));
        EXPECT_NE(manifest.find("SMI/2016/WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
        EXPECT_NE(manifest.find("SMI/2005/WindowsSettings\">true/pm</dpiAware>"), std::string::npos);
        FreeLibrary(module);
    }
}

}  // namespace
