#pragma once
// A Display opened the way the application opens it, for tests that need a
// real full-screen window and flipping surfaces (Xvfb 640x480x24 under Wine).
#include <functional>

#include "framework/display/display.h"

// The Display the test window procedure serves: WM_ACTIVATEAPP's wParam goes
// to its `active` unless activation is ignored, WM_DESTROY posts the quit
// message, WM_TIMER goes to onTimer.
struct TestWindowState {
    Display* display = nullptr;
    bool ignoreActivation = false;
    std::function<void(WPARAM timerId)> onTimer;
};
extern TestWindowState testWindow;

LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Opens `display` as the application does (depth mode 4 unless given), served
// by testWindowProc.
bool openTestDisplay(Display& display, int depthMode = 4, int width = 640, int height = 480);

// Closes a Display whose loop is not running and throws away the quit message
// that the close posts, so that the next Display::run of the process does not
// end at once.
void closeWithoutRun(Display& display);

// Removes every waiting message of this thread, WM_QUIT included.
void drainMessages();

// Bits per pixel of a DirectDraw surface.
int surfaceBits(IDirectDrawSurface* surface);
