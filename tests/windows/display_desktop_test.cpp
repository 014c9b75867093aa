// Desktop full screen on the 640x480 screen of the Windows tests: a 200x150
// buffer fits at scale 3, as 600x450 at (20, 15). And the DPI manifest of
// every shipped program.
#include <gtest/gtest.h>

#include <string>

#include "bitmap_files.h"
#include "framework/surface/surface.h"
#include "pixel_probe.h"
#include "shipped_programs.h"
#include "test_display.h"

namespace {


constexpr int WIDTH = 200;
constexpr int HEIGHT = 150;
constexpr LPARAM ALT_ENTER = 1 | (1 << 29);

TEST(DisplayDesktop, BorderlessOverTheMonitorBlocksCentredOnBlackAndTheCursorMapped) {
    Display display{};
    display.desktopFullScreen = true;
    ASSERT_TRUE(openTestDisplay(display, 4, WIDTH, HEIGHT));
    EXPECT_TRUE(display.onDesktop);
    EXPECT_FALSE(display.windowed);
    const auto style = static_cast<DWORD>(GetWindowLongA(display.window, GWL_STYLE));
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_EQ(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME), 0u);
    RECT box;
    GetWindowRect(display.window, &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 640);
    EXPECT_EQ(box.bottom, 480);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);  // no mode set
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(display.screen.primarySurface->GetClipper(&clipper), DD_OK);
    clipper->Release();
    const DesktopPicture picture = display.desktopPicture();
    EXPECT_EQ(picture.scale, 3);
    EXPECT_EQ(picture.left, 20);
    EXPECT_EQ(picture.top, 15);

    display.clear();
    display.painter.setPixel(0, 0, RGB(255, 0, 0));
    display.painter.setPixel(WIDTH - 1, HEIGHT - 1, RGB(0, 255, 0));
    display.flip();
    const PixelCapture front = screenPixels(0, 0, 640, 480);
    ASSERT_TRUE(front.valid());
    EXPECT_EQ(front.count(RGB(255, 0, 0)), 9);
    EXPECT_EQ(front.at(20, 15), RGB(255, 0, 0));
    EXPECT_EQ(front.at(22, 17), RGB(255, 0, 0));
    EXPECT_EQ(front.at(23, 17), 0u);
    EXPECT_EQ(front.count(RGB(0, 255, 0)), 9);
    EXPECT_EQ(front.at(619, 464), RGB(0, 255, 0));
    EXPECT_EQ(front.count(0), 640 * 480 - 18);  // the border too

    // The pointer is hidden over the picture and its border.
    EXPECT_EQ(display.sendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(display.window), HTCLIENT),
              TRUE);
    EXPECT_EQ(GetCursor(), nullptr);
    int x = -1, y = -1;
    ASSERT_TRUE(SetCursorPos(20 + 3 * 7 + 2, 15 + 3 * 5));
    display.getCursorPos(x, y);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 5);
    ASSERT_TRUE(SetCursorPos(639, 2));  // on the border: the nearest edge pixel
    display.getCursorPos(x, y);
    EXPECT_EQ(x, WIDTH - 1);
    EXPECT_EQ(y, 0);
    closeWithoutRun(display);
}

TEST(DisplayDesktop, AltEnterGoesToAWindowAtItsPlaceAndBackKeepingSurfaces) {
    ASSERT_TRUE(writeBitmap24("desktop.bmp", Image(8, 8, RGB(0, 0, 255))));
    Display display{};
    display.desktopFullScreen = true;
    display.windowScale = 1;  // opens in a window; Alt+Enter goes to the desktop
    ASSERT_TRUE(openTestDisplay(display, 4, WIDTH, HEIGHT));
    EXPECT_TRUE(display.windowed);
    SetWindowPos(display.window, nullptr, 37, 41, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Surface sprite;
    ASSERT_TRUE(display.loadSurface(sprite, "desktop.bmp"));
    IDirectDraw* const directDraw = display.screen.directDraw;

    display.sendMessage(WM_SYSKEYDOWN, VK_RETURN, ALT_ENTER);
    EXPECT_TRUE(display.onDesktop);
    EXPECT_EQ(display.screen.directDraw, directDraw);
    display.clear();
    sprite.draw(0, 0);
    display.flip();
    const PixelCapture front = screenPixels(0, 0, 640, 480);
    ASSERT_TRUE(front.valid());
    EXPECT_EQ(front.count(RGB(0, 0, 255)), 8 * 8 * 9);
    EXPECT_EQ(front.at(20, 15), RGB(0, 0, 255));

    display.sendMessage(WM_SYSKEYDOWN, VK_RETURN, ALT_ENTER);
    EXPECT_TRUE(display.windowed);
    EXPECT_FALSE(display.onDesktop);
    RECT box;
    GetWindowRect(display.window, &box);
    EXPECT_EQ(box.left, 37);
    EXPECT_EQ(box.top, 41);
    RECT client;
    GetClientRect(display.window, &client);
    EXPECT_EQ(client.right, WIDTH);
    EXPECT_EQ(client.bottom, HEIGHT);
    sprite.release();
    closeWithoutRun(display);
}

// Each shipped program carries the application manifest that declares
// per-monitor DPI awareness, v2 with the older fallback.
TEST(DpiManifest, EveryShippedProgramEmbedsIt) {
    for (const char* path : SHIPPED_PROGRAMS) {
        SCOPED_TRACE(path);
        const std::string windowsPath = std::string("Z:") + path;
        HMODULE module = LoadLibraryExA(windowsPath.c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr);
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
        ASSERT_NE(found, nullptr);
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
        const std::string manifest(bytes, SizeofResource(module, found));
        EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                                "WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"),
                  std::string::npos);
        EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/"
                                "WindowsSettings\">true/pm</dpiAware>"),
                  std::string::npos);
        FreeLibrary(module);
    }
}

}  // namespace

// Two monitors side by side (tests/windows/two_monitors.sh gives them, from
// the Xorg dummy driver): a window on the second is drawn there, and desktop
// full screen covers the monitor the window is on.
TEST(DisplayTwoMonitors, AWindowOnTheSecondIsDrawnThereAndDesktopFullScreenCoversIt) {
    if (GetSystemMetrics(SM_CMONITORS) < 2) GTEST_SKIP() << "one monitor";
    const int second = GetSystemMetrics(SM_CXSCREEN);  // left edge of the monitor right of the primary
    Display display{};
    display.desktopFullScreen = true;
    display.windowScale = 2;
    ASSERT_TRUE(openTestDisplay(display, 4, WIDTH, HEIGHT));
    SetWindowPos(display.window, nullptr, second + 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    drainMessages();
    POINT corner{0, 0};
    ClientToScreen(display.window, &corner);
    display.clear();
    display.painter.setPixel(0, 0, RGB(255, 0, 0));
    display.flip();
    const PixelCapture window = screenPixels(corner.x, corner.y, corner.x + 8, corner.y + 8);
    ASSERT_TRUE(window.valid());
    EXPECT_EQ(window.count(RGB(255, 0, 0)), 4);

    display.sendMessage(WM_SYSKEYDOWN, VK_RETURN, ALT_ENTER);
    ASSERT_TRUE(display.onDesktop);
    RECT box;
    GetWindowRect(display.window, &box);
    EXPECT_EQ(box.left, second);
    EXPECT_EQ(box.top, 0);
    const DesktopPicture picture = display.desktopPicture();
    EXPECT_GE(picture.left, second);
    display.clear();
    display.painter.setPixel(0, 0, RGB(255, 0, 0));
    display.flip();
    const PixelCapture covered = screenPixels(picture.left, picture.top, picture.left + 16, picture.top + 16);
    ASSERT_TRUE(covered.valid());
    EXPECT_EQ(covered.count(RGB(255, 0, 0)), picture.scale * picture.scale);
    closeWithoutRun(display);
}
