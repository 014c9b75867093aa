#include "app/window_procedure.h"

#include "app/exception_barrier.h"
#include "app/globals.h"
#include "app/scrollback_input.h"
#include "bridge/bridge_requests.h"

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_ACTIVATEAPP: display.active = static_cast<std::int32_t>(wParam); return 0;
    case WM_KEYDOWN: {
        // Scrolling, copying and pasting keys go no further.
        bool used = false;
        withoutExceptions([&used, window, wParam] { used = scrollbackKey(window, wParam); });
        if (used) return 0;
        // Close first; the key still goes to the console, where it can end a
        // pending pause.
        if (wParam == VK_ESCAPE) display.close();
        withoutExceptions([wParam] { console.onKey(static_cast<std::uint32_t>(wParam)); });
        return 0;
    }
    default: {
        bool handled = false;
        withoutExceptions([&handled, window, message, wParam, lParam] {
            handled = scrollbackMessage(window, message, wParam, lParam);
        });
        if (handled) return 0;
        withoutExceptions([&handled, message, wParam] { handled = handleBridgeRequest(console, message, wParam); });
        if (handled) return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    }
}
