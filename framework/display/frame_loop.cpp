// The frame loop: one window message per pass while there are any; otherwise
// a frame (clear, callback, flip) while active, or sleep until a message.
#include "framework/display/display.h"

int Display::run(FrameCallback callback) {
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            // -1 (an error) is dispatched like a message; only WM_QUIT ends.
            if (GetMessageA(&message, nullptr, 0, 0) == 0) {
                releaseDevices();
                return static_cast<int>(message.wParam);
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else if (active) {
            clear();
            if (callback) {
                callback(frameArg);
            }
            flip();
        } else {
            WaitMessage();
        }
    }
}

void Display::close() {
    running = false;
    SendMessageA(window, WM_CLOSE, 0, 0);
}

void Display::clear() {
    ZeroMemory(&clearFx, sizeof clearFx);
    clearFx.dwSize = sizeof clearFx;
    clearFx.dwFillColor = 0;
    if (screen.backSurface) {
        screen.backSurface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &clearFx);
    }
}

void Display::flip() {
    if (!screen.primarySurface) {
        return;
    }
    if (windowed) {
        presentWindow();
        return;
    }
    // Any failure, not only a lost surface, costs one restore; the frame is
    // not drawn again.
    if (screen.primarySurface->Flip(nullptr, DDFLIP_WAIT) != DD_OK) {
        screen.primarySurface->Restore();
    }
}
