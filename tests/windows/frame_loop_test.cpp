// Display::run: frames with the frame argument, sleeping while inactive, the
// quit message, a failed flip, and the pace of frames with messages answered
// between them.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "fake_surface.h"
#include "pixel_probe.h"
#include "test_display.h"

namespace {

// The loop's callback is a plain function: it reports through these.
Display* loopDisplay = nullptr;
std::vector<std::int32_t> frameArgs;
int closeAfterFrames = 0;

void recordFrame(std::int32_t frameArg) {
    frameArgs.push_back(frameArg);
    if (static_cast<int>(frameArgs.size()) == closeAfterFrames) {
        loopDisplay->close();
    }
}

void startLoop(Display& display, int framesBeforeClose) {
    loopDisplay = &display;
    frameArgs.clear();
    closeAfterFrames = framesBeforeClose;
}

TEST(FrameLoop, FrameArgReachesEveryFrameAndQuitEndsRun) {
    for (std::int32_t value : {0, -0x7A5A1234}) {
        SCOPED_TRACE(value);
        Display display{};
        ASSERT_TRUE(openTestDisplay(display));
        EXPECT_EQ(display.getFrameArg(), 0);
        if (value != 0) {
            display.setFrameArg(value);
        }
        EXPECT_EQ(display.getFrameArg(), value);
        display.active = 1;
        startLoop(display, 5);

        EXPECT_EQ(display.run(recordFrame), 0);

        EXPECT_EQ(frameArgs, std::vector<std::int32_t>(5, value));
        EXPECT_FALSE(display.running);
        EXPECT_FALSE(IsWindow(display.window));
        // The loop released the devices but not the surfaces.
        EXPECT_EQ(display.keyboard, nullptr);
        EXPECT_EQ(display.directInput, nullptr);
        EXPECT_EQ(display.directSound, nullptr);
        EXPECT_NE(display.screen.primarySurface, nullptr);
        display.screen.release();
    }
}

TEST(FrameLoop, QuitCodeIsWhatRunReturns) {
    Display display{};
    ASSERT_TRUE(openTestDisplay(display));
    PostQuitMessage(42);
    EXPECT_EQ(display.run(recordFrame), 42);
    display.close();
    display.screen.release();
    drainMessages();
}

TEST(FrameLoop, InactiveDisplaySleepsWithoutDrawingUntilActivated) {
    Display display{};
    ASSERT_TRUE(openTestDisplay(display));
    display.active = 1;
    startLoop(display, 4);

    // Frame 2 deactivates as WM_ACTIVATEAPP would; a timer checks that no
    // frame came meanwhile and activates again.
    int framesWhileInactive = -1;
    testWindow.onTimer = [&](WPARAM id) {
        display.killTimer(static_cast<UINT>(id));
        framesWhileInactive = static_cast<int>(frameArgs.size());
        display.sendMessage(WM_ACTIVATEAPP, 1, 0);
    };
    static Display* target;
    target = &display;
    closeAfterFrames = 4;
    auto frame = [](std::int32_t frameArg) {
        recordFrame(frameArg);
        if (frameArgs.size() == 2) {
            target->sendMessage(WM_ACTIVATEAPP, 0, 0);
            target->setTimer(7, 300);
        }
    };

    EXPECT_EQ(display.run(frame), 0);

    testWindow.onTimer = nullptr;
    EXPECT_EQ(framesWhileInactive, 2);
    EXPECT_EQ(frameArgs.size(), 4u);
    display.screen.release();
}

TEST(FrameLoop, NeverActivatedDisplayDrawsNoFrame) {
    Display display{};
    testWindow.ignoreActivation = true;
    ASSERT_TRUE(openTestDisplay(display));
    display.active = 0;
    startLoop(display, 1);
    testWindow.onTimer = [&](WPARAM id) {
        display.killTimer(static_cast<UINT>(id));
        display.close();
    };
    display.setTimer(3, 300);

    EXPECT_EQ(display.run(recordFrame), 0);

    testWindow.onTimer = nullptr;
    testWindow.ignoreActivation = false;
    EXPECT_TRUE(frameArgs.empty());
    display.screen.release();
}

TEST(FrameLoop, ClearFillsBackSurfaceWithZeroAndFlipShowsIt) {
    Display display{};
    ASSERT_TRUE(openTestDisplay(display));
    display.painter.rectangle(0, 0, 640, 480, RGB(0, 0, 255), RGB(0, 0, 255));
    display.flip();  // blue now shows; the old front is the back surface
    display.painter.rectangle(0, 0, 640, 480, RGB(0, 0, 255), RGB(0, 0, 255));
    display.clear();
    EXPECT_EQ(display.clearFx.dwSize, sizeof(DDBLTFX));
    EXPECT_EQ(display.clearFx.dwFillColor, 0u);
    {
        PixelCapture back(display.screen.backSurface, 0, 0, 640, 480);
        ASSERT_TRUE(back.valid());
        EXPECT_EQ(back.count(0), 640 * 480);
    }
    display.painter.setPixel(5, 5, RGB(255, 0, 0));
    display.flip();
    PixelCapture front(display.screen.primarySurface, 0, 0, 16, 16);
    ASSERT_TRUE(front.valid());
    EXPECT_EQ(front.at(5, 5), RGB(255, 0, 0));
    EXPECT_EQ(front.at(6, 6), 0u);
    closeWithoutRun(display);
}

// A plain window served by the test window procedure, for a Display whose
// surfaces are stand-ins.
HWND createPlainWindow(Display& display) {
    testWindow.display = &display;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = testWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KorvaneFakeScreen";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "KorvaneFakeScreen", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// DirectDraw under Wine cannot be made to fail a flip on demand: fake
// surfaces stand in, behind a real window and the real loop.
TEST(FrameLoop, FailedFlipRestoresOnceAndNextFrameIsDrawn) {
    for (HRESULT failure : {DDERR_SURFACELOST, DDERR_GENERIC}) {
        SCOPED_TRACE(failure);
        FakeSurface primary;
        FakeSurface back;
        primary.flipResults = {DD_OK, failure};
        Display display{};
        display.window = createPlainWindow(display);
        ASSERT_NE(display.window, nullptr);
        display.screen.primarySurface = &primary;
        display.screen.backSurface = &back;
        display.active = 1;
        startLoop(display, 4);

        EXPECT_EQ(display.run(recordFrame), 0);

        EXPECT_EQ(frameArgs.size(), 4u);
        EXPECT_EQ(back.colorFills, 4);
        EXPECT_EQ(back.lastFillColor, 0u);
        EXPECT_EQ(primary.flips, 4);
        EXPECT_EQ(primary.restores, 1);
        EXPECT_EQ(back.restores, 0);
        display.screen.backSurface = nullptr;
        display.screen.primarySurface = nullptr;
    }
}

TEST(FrameLoop, NullCallbackGivesBareFramesOfClearAndFlip) {
    FakeSurface primary;
    FakeSurface back;
    Display display{};
    display.window = createPlainWindow(display);
    ASSERT_NE(display.window, nullptr);
    display.screen.primarySurface = &primary;
    display.screen.backSurface = &back;
    display.active = 1;
    testWindow.onTimer = [&](WPARAM id) {
        display.killTimer(static_cast<UINT>(id));
        display.close();
    };
    display.setTimer(5, 100);

    EXPECT_EQ(display.run(nullptr), 0);

    testWindow.onTimer = nullptr;
    EXPECT_GT(back.colorFills, 0);
    EXPECT_EQ(primary.flips, back.colorFills);
    display.screen.backSurface = nullptr;
    display.screen.primarySurface = nullptr;
}

// Frames counted from the loop's thread, read by a sending thread.
std::atomic<int> pacedFrames{0};
HANDLE frameDrawn = nullptr;
WNDPROC servingProc = nullptr;
constexpr UINT FRAMES_SO_FAR = WM_APP + 3;

void countFrame(std::int32_t) {
    ++pacedFrames;
    if (frameDrawn) SetEvent(frameDrawn);
}

// Answers FRAMES_SO_FAR with the frames drawn when it is handled.
LRESULT CALLBACK countingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == FRAMES_SO_FAR) return pacedFrames.load();
    return CallWindowProcA(servingProc, window, message, wParam, lParam);
}

double secondsBetween(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// By default the loop draws at the display's refresh rate, not as fast as
// the flip returns (hundreds a second under Wine). Between frames it waits
// for messages: one sent from another thread while it waits is answered with
// no frame drawn in between, at any pace that leaves it waiting.
TEST(FrameLoop, DrawsAtTheRefreshRateAndAnswersSentMessagesBetweenFrames) {
    Display display{};
    ASSERT_TRUE(openTestDisplay(display));
    const int refresh = display.refreshRate();
    EXPECT_GE(refresh, 20);
    EXPECT_LE(refresh, 1000);
    std::printf("display refresh rate as the loop paces it: %d Hz\n", refresh);
    display.active = 1;
    pacedFrames = 0;
    LARGE_INTEGER start, end;
    testWindow.onTimer = [&](WPARAM id) {
        display.killTimer(static_cast<UINT>(id));
        QueryPerformanceCounter(&end);
        display.close();
    };
    QueryPerformanceCounter(&start);
    display.setTimer(9, 1000);

    EXPECT_EQ(display.run(countFrame), 0);

    testWindow.onTimer = nullptr;
    const double seconds = secondsBetween(start, end);
    std::printf("%d frames in %.3f s\n", pacedFrames.load(), seconds);
    EXPECT_LE(pacedFrames.load(), static_cast<int>(seconds * refresh) + 2);
    EXPECT_GE(pacedFrames.load(), refresh / 6) << "it still draws";
    display.screen.release();

    // Two frames a second: 100 ms after a frame the loop waits for the next
    // one, 400 ms later. Twenty sends in a row then are all answered before
    // it: a loop that slept without waking for messages would answer one
    // per frame.
    Display slow{};
    ASSERT_TRUE(openTestDisplay(slow));
    slow.active = 1;
    slow.setFramePace(FramePace::perSecond(2));
    pacedFrames = 0;
    frameDrawn = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    servingProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(slow.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(countingProc)));
    std::vector<int> before, answered;
    std::thread sender([&] {
        // From the second frame on: the first comes whenever the new window
        // lets it, and may leave less than the sends' time to the next slot.
        for (int i = 0; i < 5; ++i) {
            if (WaitForSingleObject(frameDrawn, 10000) != WAIT_OBJECT_0) break;
            if (i == 0) continue;
            Sleep(100);
            const int frames = pacedFrames.load();
            for (int send = 0; send < 20; ++send) {
                before.push_back(frames);
                answered.push_back(static_cast<int>(SendMessageA(slow.window, FRAMES_SO_FAR, 0, 0)));
            }
        }
        SendMessageA(slow.window, WM_CLOSE, 0, 0);
    });

    EXPECT_EQ(slow.run(countFrame), 0);

    sender.join();
    CloseHandle(frameDrawn);
    frameDrawn = nullptr;
    ASSERT_EQ(before.size(), 80u);
    EXPECT_EQ(answered, before) << "a frame was drawn before a sent message was answered";
    slow.screen.release();
}

// Frames driven by change on a grid of two frames a second. The loop starts
// paced; from a frame drawn at a slot it switches (the switch itself counts
// as drawn). A key sent 600 ms later, in an interval without a frame, is
// drawn at once, not 400 ms later at the next slot; then nothing changes and
// nothing is drawn.
Display* keyDisplay = nullptr;
LRESULT CALLBACK keyInvalidatesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) {
        keyDisplay->invalidate();
        return 0;
    }
    return CallWindowProcA(servingProc, window, message, wParam, lParam);
}

void switchOnThirdFrame(std::int32_t frameArg) {
    if (pacedFrames.load() == 2) keyDisplay->setFramesOnChange(true);
    countFrame(frameArg);
}

TEST(FrameLoop, SentKeyIsDrawnBeforeTheNextSlotAndQuietDrawsNothing) {
    Display display{};
    ASSERT_TRUE(openTestDisplay(display));
    display.active = 1;
    display.setFramePace(FramePace::perSecond(2));
    keyDisplay = &display;
    pacedFrames = 0;
    frameDrawn = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    servingProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(display.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(keyInvalidatesProc)));
    double keyToFrame = -1;
    int quietFrames = -1;
    std::thread sender([&] {
        while (pacedFrames.load() < 3 && WaitForSingleObject(frameDrawn, 10000) == WAIT_OBJECT_0) {
        }
        Sleep(600);
        ResetEvent(frameDrawn);
        LARGE_INTEGER sent, drawn;
        QueryPerformanceCounter(&sent);
        SendMessageA(display.window, WM_KEYDOWN, 'A', 0);
        if (WaitForSingleObject(frameDrawn, 2000) == WAIT_OBJECT_0) {
            QueryPerformanceCounter(&drawn);
            keyToFrame = secondsBetween(sent, drawn);
        }
        const int before = pacedFrames.load();
        Sleep(1200);
        quietFrames = pacedFrames.load() - before;
        SendMessageA(display.window, WM_CLOSE, 0, 0);
    });

    EXPECT_EQ(display.run(switchOnThirdFrame), 0);

    sender.join();
    CloseHandle(frameDrawn);
    frameDrawn = nullptr;
    std::printf("key drawn %.1f ms after it was sent; the next slot was about 400 ms away\n", keyToFrame * 1000);
    EXPECT_GE(keyToFrame, 0.0) << "the key was never drawn";
    EXPECT_LT(keyToFrame, 0.3) << "the key waited for the slot";
    EXPECT_EQ(quietFrames, 0) << "frames drawn with nothing changed";
    display.screen.release();
}

// Without surfaces, clear and flip reach nothing, full screen or in a window:
// no DirectDraw object or surface appears and none is released; the clear
// still leaves its fill record ready for black.
TEST(FrameLoop, ClearAndFlipWithoutSurfacesDoNothing) {
    for (const bool windowed : {false, true}) {
        Display display{};
        display.windowed = windowed;
        display.clearFx.dwFillColor = 0x00FFFFFF;
        const std::uint32_t generation = directDrawGeneration;
        display.clear();
        display.flip();
        EXPECT_TRUE(!display.screen.directDraw && !display.screen.backSurface && !display.screen.primarySurface);
        EXPECT_EQ(directDrawGeneration, generation);
        EXPECT_TRUE(display.clearFx.dwSize == sizeof(DDBLTFX) && display.clearFx.dwFillColor == 0);
    }
}

}  // namespace
