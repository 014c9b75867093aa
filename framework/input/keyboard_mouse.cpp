// Polling the keyboard and the mouse through the Display: the DirectInput
// keyboard device by scan code, the asynchronous key state by virtual key,
// and the cursor position.
#include "framework/display/display.h"

namespace {

constexpr int KEYBOARD_STATE_SIZE = 256;
constexpr BYTE KEY_DOWN_BIT = 0x80;

}  // namespace

bool Display::keyDown(int scanCode) {
    if (scanCode < 0 || scanCode >= KEYBOARD_STATE_SIZE || !keyboard) {
        return false;
    }
    BYTE state[KEYBOARD_STATE_SIZE];
    // Fails while the window is not in the foreground or the device is lost:
    // the buffer then holds no state, so nothing counts as pressed.
    if (FAILED(keyboard->GetDeviceState(sizeof state, state))) {
        return false;
    }
    return (state[scanCode] & KEY_DOWN_BIT) != 0;
}

void Display::getCursorPos(int& x, int& y) {
    POINT point{0, 0};
    ::GetCursorPos(&point);
    x = point.x;
    y = point.y;
}

bool Display::asyncKeyDown(int virtualKey) {
    return GetAsyncKeyState(virtualKey) != 0;
}
