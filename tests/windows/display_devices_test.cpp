// Keyboard and sound set-up and release, including absent devices.
#include <gtest/gtest.h>

#include "test_display.h"

namespace {

TEST(DisplayDevices, ReleaseCopesWithAbsentDevices) {
    Display display{};
    display.releaseDevices();
    EXPECT_EQ(display.keyboard, nullptr);

    // DirectInput without a keyboard device.
    ASSERT_EQ(DirectInputCreateA(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION,
                                 &display.directInput, nullptr),
              DI_OK);
    display.releaseDevices();
    EXPECT_EQ(display.directInput, nullptr);
    display.releaseDevices();
}

TEST(DisplayDevices, OpenAcquiresKeyboardAndReleaseEmptiesIt) {
    Display display{};
    ASSERT_TRUE(openTestDisplay(display));
    if (!display.keyboard) {
        closeWithoutRun(display);
        GTEST_SKIP() << "no DirectInput keyboard device on this system";
    }
    EXPECT_NE(display.directInput, nullptr);
    BYTE keys[256];
    const HRESULT state = display.keyboard->GetDeviceState(sizeof keys, keys);
    if (state == DIERR_NOTACQUIRED && GetForegroundWindow() != display.window) {
        closeWithoutRun(display);
        GTEST_SKIP() << "the window did not get the foreground, so a foreground keyboard "
                        "cannot be acquired (Xvfb without a window manager)";
    }
    EXPECT_EQ(state, DI_OK);

    display.releaseDevices();
    EXPECT_EQ(display.keyboard, nullptr);
    EXPECT_EQ(display.directInput, nullptr);
    EXPECT_EQ(display.directSound, nullptr);
    closeWithoutRun(display);
}

TEST(DisplayDevices, SoundSetUpLoopsPrimaryBufferWhenAvailable) {
    Display display{};
    display.window = nullptr;
    const bool available = display.initSound();
    EXPECT_EQ(available, display.directSound != nullptr);
    if (!available) {
        GTEST_SKIP() << "no DirectSound device on this system (Wine without audio)";
    }
    // The primary buffer was made and set looping by initSound.
    DSCAPS caps{};
    caps.dwSize = sizeof caps;
    EXPECT_EQ(display.directSound->GetCaps(&caps), DS_OK);
    display.releaseDevices();
    EXPECT_EQ(display.directSound, nullptr);
}

}  // namespace
