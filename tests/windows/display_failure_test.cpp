// The fatal failures of Display::open that a real system can be brought to:
// each shows its message box (no owner, error icon) and leaves no DirectDraw
// object behind. Wine cannot be made to refuse DirectDrawCreate or the
// exclusive cooperative level on demand, so those two rows go untested here.
#include <gtest/gtest.h>

#include "message_box_watcher.h"
#include "test_display.h"

namespace {

void expectOneErrorBox(MessageBoxWatcher& watcher, const char* text, const char* caption) {
    const auto seen = watcher.seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, text);
    EXPECT_EQ(seen[0].caption, caption);
    EXPECT_FALSE(seen[0].hasOwner);
    EXPECT_TRUE(seen[0].errorIcon);
}

void destroyLeftWindow(Display& display) {
    if (display.window) {
        DestroyWindow(display.window);
    }
    drainMessages();
}

TEST(DisplayFailure, DisplayModeFailureShowsMessageAndReleasesDirectDraw) {
    MessageBoxWatcher watcher;
    Display display{};
    // The Xvfb screen is 640x480: no other size can be set.
    EXPECT_FALSE(openTestDisplay(display, 4, 800, 600));
    EXPECT_EQ(display.screen.directDraw, nullptr);
    EXPECT_EQ(display.screen.primarySurface, nullptr);
    EXPECT_FALSE(display.running);
    // A null caption: the system's default title.
    expectOneErrorBox(watcher, "Error Setting Display Mode", "Error");
    // The window stays; the program is expected to end.
    EXPECT_TRUE(IsWindow(display.window));
    destroyLeftWindow(display);
}

TEST(DisplayFailure, CreateSurfacesWithoutExclusiveModeReleasesDirectDraw) {
    Display display{};
    ASSERT_EQ(DirectDrawCreate(nullptr, &display.screen.directDraw, nullptr), DD_OK);
    ASSERT_EQ(display.screen.directDraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
    // A flipping chain needs exclusive mode.
    EXPECT_FALSE(display.createSurfaces());
    EXPECT_EQ(display.screen.directDraw, nullptr);
    EXPECT_EQ(display.screen.primarySurface, nullptr);
    EXPECT_EQ(display.screen.backSurface, nullptr);
}

TEST(DisplayFailure, ScreenReleaseEmptiesFieldsSoSecondReleaseDoesNothing) {
    Display display{};
    ASSERT_TRUE(openTestDisplay(display));
    display.screen.release();
    EXPECT_EQ(display.screen.backSurface, nullptr);
    EXPECT_EQ(display.screen.primarySurface, nullptr);
    EXPECT_EQ(display.screen.directDraw, nullptr);
    display.screen.release();
    closeWithoutRun(display);
}

}  // namespace
