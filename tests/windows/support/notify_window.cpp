#include "notify_window.h"

namespace {
const char* const CLASS_NAME = "KorvaneNotifyWindow";
}

LRESULT CALLBACK NotifyWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<NotifyWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && message >= WM_USER) {
        self->received.push_back({message, wParam, lParam});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

NotifyWindow::NotifyWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = CLASS_NAME;
    RegisterClassA(&windowClass);  // already registered by an earlier window: fine
    window =
        CreateWindowExA(0, CLASS_NAME, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

NotifyWindow::~NotifyWindow() {
    if (window) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
}

bool NotifyWindow::take(UINT message, int event, Notification* got) {
    for (auto it = received.begin(); it != received.end(); ++it) {
        if (it->message == message && it->event() == event) {
            if (got) *got = *it;
            received.erase(it);
            return true;
        }
    }
    return false;
}

bool NotifyWindow::waitFor(UINT message, int event, int timeoutMs, Notification* got) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (take(message, event, got)) return true;
        DWORD waited = GetTickCount() - start;
        if (waited >= static_cast<DWORD>(timeoutMs)) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(timeoutMs) - waited, QS_ALLINPUT);
    }
}

void NotifyWindow::pump(int milliseconds) { waitFor(0, -1, milliseconds); }
