// Polling the keyboard and the mouse through the Display: the DirectInput
// keyboard device by scan code, the asynchronous key state by virtual key,
// and the cursor position.
#include "framework/display/display.h"
#include "framework/display/window_layout.h"

namespace {

constexpr int KEYBOARD_STATE_SIZE = 256;
constexpr BYTE KEY_DOWN_BIT = 0x80;

}  // namespace

bool Display::keyDown(int scanCode) {
    if (scanCode < 0 || scanCode >= KEYBOARD_STATE_SIZE || !keyboard) {
        return false;
    }
    BYTE state[KEYBOARD_STATE_SIZE];
    HRESULT read = keyboard->GetDeviceState(sizeof state, state);
    // The device is lost when the window loses the foreground and was never
    // acquired when the window opened behind another: acquire it again. As a
    // foreground device it is acquired only while the window has the
    // foreground, so out of it the read still fails.
    if (read == DIERR_INPUTLOST || read == DIERR_NOTACQUIRED) {
        if (SUCCEEDED(keyboard->Acquire())) {
            read = keyboard->GetDeviceState(sizeof state, state);
        }
    }
    // Failed: the buffer holds no state, so nothing counts as pressed.
    if (FAILED(read)) {
        return false;
    }
    return (state[scanCode] & KEY_DOWN_BIT) != 0;
}

// Full screen: the screen is the back buffer. A window: the client area's
// blocks, mapped back onto the buffer's pixels. Desktop full screen: the
// picture's blocks on its monitor, the border giving the nearest edge pixel.
void Display::getCursorPos(int& x, int& y) {
    POINT point{0, 0};
    if (::GetCursorPos(&point) && windowed) {
        ScreenToClient(window, &point);
        const BufferPoint pixel = bufferPoint(point.x, point.y, windowScale, screenWidth, screenHeight);
        point = {pixel.x, pixel.y};
    } else if (onDesktop) {
        const BufferPoint pixel = desktopPoint(point.x, point.y, monitorBox(), screenWidth, screenHeight);
        point = {pixel.x, pixel.y};
    }
    x = point.x;
    y = point.y;
}

bool Display::asyncKeyDown(int virtualKey) {
    return GetAsyncKeyState(virtualKey) != 0;
}
