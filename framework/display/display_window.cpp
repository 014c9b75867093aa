// Small Display operations on its window, the cursor, the frame argument and
// fonts.
#include "framework/display/display.h"
#include "framework/text/font.h"

std::int32_t Display::getFrameArg() const {
    return frameArg;
}

void Display::setFrameArg(std::int32_t value) {
    frameArg = value;
}

LRESULT Display::sendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(window, message, wParam, lParam);
}

// WM_TIMER then reaches the window procedure.
UINT_PTR Display::setTimer(UINT id, UINT milliseconds) {
    return SetTimer(window, id, milliseconds, nullptr);
}

BOOL Display::killTimer(UINT id) {
    return KillTimer(window, id);
}

// A window keeps the cursor shown and desktop full screen hides it over its
// monitor; the level is applied when the Display takes the exclusive screen.
void Display::hideCursor() {
    --cursorLevel;
    if (!windowed && !onDesktop) {
        ShowCursor(FALSE);
    }
}

void Display::showCursor() {
    ++cursorLevel;
    if (!windowed && !onDesktop) {
        ShowCursor(TRUE);
    }
}

HFONT Display::createFont(const char* face, int height) {
    return ::createFont(face, height);
}
