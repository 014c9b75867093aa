// idle-window: a hidden top-level window (class korvane_idle_window) in a
// process of its own that does nothing but wait for messages in GetMessage.
// Its SendMessage round trip is the floor of any request to a window of
// another process: the reference the console's round trips are measured
// against. Ends on WM_CLOSE.
#include <windows.h>

namespace {

LRESULT CALLBACK idleProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = idleProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "korvane_idle_window";
    if (!RegisterClassA(&windowClass)) return 1;
    // Never shown: a shown window would take the activation from the console.
    if (!CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                         windowClass.hInstance, nullptr))
        return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
