// The frame loop: one window message per pass while there are any; otherwise,
// while active, a frame (clear, callback, flip) once the pace says one is due,
// or a wait for messages until it is; while inactive, sleep until a message.
// With frames driven by change, a frame is due only after a change, and then
// at once (nextChangeStep).
#include <windows.h>

#include <mmsystem.h>

#include "framework/display/display.h"

namespace {

std::int64_t counterNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

}  // namespace

void Display::setFramePace(FramePace pace) { framePace = pace; }

void Display::setFramesOnChange(bool on) {
    framesOnChange = on;
    changed = true;  // the first frame shows what is there
}

void Display::invalidate() { changed = true; }

int Display::refreshRate() {
    DWORD hertz = 0;
    if (screen.directDraw && screen.directDraw->GetMonitorFrequency(&hertz) == DD_OK &&
        plausibleRefreshRate(static_cast<int>(hertz)) == static_cast<int>(hertz)) {
        return static_cast<int>(hertz);
    }
    if (HDC dc = window ? GetDC(window) : nullptr) {
        const int fromDc = GetDeviceCaps(dc, VREFRESH);
        ReleaseDC(window, dc);
        return plausibleRefreshRate(fromDc);
    }
    return FALLBACK_REFRESH_RATE;
}

int Display::run(FrameCallback callback) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const int refresh = refreshRate();
    ChangePace changePace{0, 0};
    // Waits of a few milliseconds need the system timer at 1 ms; it is
    // 15.6 ms by default on Windows, which would halve the frame rate.
    timeBeginPeriod(1);
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            // -1 (an error) is dispatched like a message; only WM_QUIT ends.
            if (GetMessageA(&message, nullptr, 0, 0) == 0) {
                timeEndPeriod(1);
                releaseDevices();
                return static_cast<int>(message.wParam);
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else if (active) {
            const std::int64_t interval = frameInterval(framePace, refresh, frequency.QuadPart);
            bool draw = false;
            std::uint32_t waitMilliseconds = 0;
            if (framesOnChange) {
                const ChangeStep step =
                    nextChangeStep(changed || settleFrames > 0, counterNow(), changePace, interval, frequency.QuadPart);
                changePace = step.pace;
                draw = step.draw;
                waitMilliseconds = step.waitMilliseconds;
            } else {
                const FrameStep step = nextFrameStep(counterNow(), changePace.deadline, interval, frequency.QuadPart);
                changePace = {step.deadline, step.draw ? step.deadline : changePace.drawnSlot};
                draw = step.draw;
                waitMilliseconds = step.waitMilliseconds;
            }
            if (draw) {
                clear();
                if (callback) {
                    callback(frameArg);
                }
                changed = false;
                if (settleFrames > 0) --settleFrames;
                flip();
            } else {
                // Any message ends the wait, sent ones included: they are
                // answered at the next PeekMessageA, without a frame.
                // WAIT_FOR_MESSAGES is INFINITE: nothing to draw until a message changes something.
                MsgWaitForMultipleObjectsEx(0, nullptr, waitMilliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            }
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
    if (windowed || onDesktop) {
        presentWindow();
        return;
    }
    // Any failure, not only a lost surface, costs one restore; the frame is
    // not drawn again.
    if (screen.primarySurface->Flip(nullptr, DDFLIP_WAIT) != DD_OK) {
        screen.primarySurface->Restore();
        changed = true;  // the frame did not show: frames driven by change draw it again
    }
}
