#include "bench/support/measured_display.h"

Display display;

LRESULT CALLBACK measuredWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ACTIVATEAPP) display.active = static_cast<std::int32_t>(wParam);
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
