#include "test_display.h"

TestWindowState testWindow;

LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATEAPP:
        if (testWindow.display && !testWindow.ignoreActivation) {
            testWindow.display->active = static_cast<std::int32_t>(wParam);
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_TIMER:
        if (testWindow.onTimer) {
            testWindow.onTimer(wParam);
        }
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool openTestDisplay(Display& display, int depthMode, int width, int height) {
    testWindow.display = &display;
    return display.open("KorvaneTest", width, height, depthMode, testWindowProc,
                        GetModuleHandleA(nullptr), nullptr, nullptr);
}

void drainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void closeWithoutRun(Display& display) {
    display.close();
    display.releaseDevices();
    display.screen.release();
    drainMessages();
}

int surfaceBits(IDirectDrawSurface* surface) {
    DDSURFACEDESC description;
    ZeroMemory(&description, sizeof description);
    description.dwSize = sizeof description;
    if (FAILED(surface->GetSurfaceDesc(&description))) {
        return 0;
    }
    return static_cast<int>(description.ddpfPixelFormat.dwRGBBitCount);
}
