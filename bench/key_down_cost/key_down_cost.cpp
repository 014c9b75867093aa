// key-down-cost: what one Display::keyDown costs (a full 256-byte read of the
// DirectInput keyboard per key), beside Display::asyncKeyDown (one
// GetAsyncKeyState) on the same Display. Prints one line per figure.
//   key-down-cost [CALLS]   calls per figure, default 20000
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "bench/support/measured_display.h"

namespace {

double seconds(LARGE_INTEGER start, LARGE_INTEGER end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Poll>
void measure(const char* name, int calls, Poll poll) {
    int down = 0;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < calls; ++i) down += poll() ? 1 : 0;
    QueryPerformanceCounter(&end);
    const double total = seconds(start, end);
    std::printf("%-28s %8d calls  %8.3f s  %10.1f ns/call  (%d down)\n", name, calls, total, total * 1e9 / calls, down);
}

}  // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 20000;
    if (!display.open("KorvaneKeyDownCost", 640, 480, 4, measuredWindowProcedure, GetModuleHandleA(nullptr), nullptr,
                      nullptr)) {
        std::printf("key-down-cost: the display did not open\n");
        return 1;
    }
    SetForegroundWindow(display.window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);

    BYTE state[256];
    const bool readable = display.keyboard && SUCCEEDED(display.keyboard->GetDeviceState(sizeof state, state));
    std::printf("keyboard device %s\n",
                readable ? "acquired: keyDown reads the full state" : "not readable: keyDown measures a failing read");
    measure("Display::keyDown", calls, [] { return display.keyDown(DIK_A); });
    measure("Display::asyncKeyDown", calls, [] { return display.asyncKeyDown('A'); });
    display.close();
    display.releaseDevices();
    return readable ? 0 : 2;
}
