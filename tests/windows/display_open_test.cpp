// Display::open with a real full-screen window and DirectDraw under Xvfb.
#include <gtest/gtest.h>

#include "message_box_watcher.h"
#include "test_display.h"

namespace {

int desktopBits() {
    HDC dc = GetDC(nullptr);
    int bits = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(nullptr, dc);
    return bits;
}

TEST(DisplayOpen, OpensFullScreenFlippingPairAndBindsPainters) {
    Display display{};
    ASSERT_TRUE(openTestDisplay(display));

    EXPECT_TRUE(display.running);
    ASSERT_NE(display.window, nullptr);
    EXPECT_TRUE(IsWindowVisible(display.window));
    char title[32] = {};
    GetWindowTextA(display.window, title, sizeof title);
    EXPECT_STREQ(title, "KorvaneTest");
    // Exclusive mode may take the border off; the window stays a popup.
    EXPECT_TRUE(static_cast<DWORD>(GetWindowLongA(display.window, GWL_STYLE)) & WS_POPUP);

    ASSERT_NE(display.screen.directDraw, nullptr);
    ASSERT_NE(display.screen.primarySurface, nullptr);
    ASSERT_NE(display.screen.backSurface, nullptr);
    DDSURFACEDESC description;
    ZeroMemory(&description, sizeof description);
    description.dwSize = sizeof description;
    ASSERT_EQ(display.screen.backSurface->GetSurfaceDesc(&description), DD_OK);
    EXPECT_EQ(description.dwWidth, 640u);
    EXPECT_EQ(description.dwHeight, 480u);
    EXPECT_TRUE(description.ddsCaps.dwCaps & DDSCAPS_BACKBUFFER);
    EXPECT_EQ(surfaceBits(display.screen.backSurface), desktopBits());

    EXPECT_EQ(display.textPainter.screen, &display.screen);
    EXPECT_EQ(display.painter.screen, &display.screen);
    EXPECT_NE(display.textPainter.font, nullptr);
    EXPECT_NE(display.textPainter.underlineFont, nullptr);
    EXPECT_EQ(display.textPainter.backColor, 1u);
    EXPECT_EQ(display.textPainter.textColor, 255u);

    // Sound may be missing (no audio device under Wine); the flag follows it.
    EXPECT_EQ(soundAvailable, display.directSound != nullptr);

    closeWithoutRun(display);
    EXPECT_FALSE(display.running);
    EXPECT_FALSE(IsWindow(display.window));
}

TEST(DisplayOpen, DepthModesSetBitsPerPixel) {
    MessageBoxWatcher watcher;
    const struct {
        int mode;
        int bits;
    } cases[] = {{0, 8}, {1, 16}, {3, 32}, {4, desktopBits()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        Display display{};
        ASSERT_TRUE(openTestDisplay(display, c.mode));
        EXPECT_EQ(surfaceBits(display.screen.backSurface), c.bits);
        EXPECT_EQ(surfaceBits(display.screen.primarySurface), c.bits);
        closeWithoutRun(display);
    }
    EXPECT_TRUE(watcher.seen().empty());
}

TEST(DisplayOpen, TwentyFourBitDepthMode) {
    MessageBoxWatcher watcher;
    Display display{};
    if (!openTestDisplay(display, 2)) {
        // The failure still went through the display-mode row of the table.
        ASSERT_EQ(watcher.seen().size(), 1u);
        EXPECT_EQ(watcher.seen()[0].text, "Error Setting Display Mode");
        DestroyWindow(display.window);
        drainMessages();
        GTEST_SKIP() << "this display driver offers no 24-bit mode (Wine answers E_NOTIMPL)";
    }
    EXPECT_EQ(surfaceBits(display.screen.backSurface), 24);
    closeWithoutRun(display);
}

TEST(DisplayOpen, UnknownDepthModeFailsBeforeCreatingAnything) {
    MessageBoxWatcher watcher;
    for (int mode : {-1, 5, 1000}) {
        SCOPED_TRACE(mode);
        Display display{};
        testWindow.display = &display;
        EXPECT_FALSE(display.open("KorvaneBadDepth", 640, 480, mode, testWindowProc,
                                  GetModuleHandleA(nullptr), nullptr, nullptr));
        EXPECT_EQ(display.window, nullptr);
        EXPECT_EQ(display.screen.directDraw, nullptr);
        EXPECT_FALSE(display.running);
        EXPECT_EQ(FindWindowA("KorvaneBadDepth", nullptr), nullptr);
        WNDCLASSA windowClass;
        EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "KorvaneBadDepth", &windowClass));
    }
    Sleep(300);  // a message box would have shown by now
    EXPECT_TRUE(watcher.seen().empty());
}

LRESULT CALLBACK refuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        return FALSE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(DisplayOpen, WindowCreationFailureShowsNoMessageAndCreatesNoDirectDraw) {
    MessageBoxWatcher watcher;
    Display display{};
    EXPECT_FALSE(display.open("KorvaneRefused", 640, 480, 4, refuseCreation,
                              GetModuleHandleA(nullptr), nullptr, nullptr));
    EXPECT_EQ(display.window, nullptr);
    EXPECT_EQ(display.screen.directDraw, nullptr);
    EXPECT_FALSE(display.running);
    Sleep(300);
    EXPECT_TRUE(watcher.seen().empty());
}

}  // namespace
