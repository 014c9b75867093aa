// desktop-copy: the cost of one frame's copy in desktop full screen, for the
// ways the platform offers to put the 640 x 480 back buffer on the monitor at
// the picture's whole scale, each timed in the same run:
//   flip      Display::flip as it is built (StretchBlt from the back
//             buffer's DC to the window's DC);
//   blocks    the buffer blitted into a system-memory surface at scale (by
//             the CPU), then that 1:1 onto the primary: the window mode's
//             earlier path;
//   scaled    one Blt of the buffer straight onto the primary's picture box.
// For each: CPU of the whole process (its own thread and Wine's) and wall
// time per copy, and whether the picture stays sharp: the colours found in a
// corner of the picture that the buffer does not hold (0 for a sharp copy).
//   desktop-copy [COPIES]   copies per way, default 300
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>

#include "bench/support/measured_display.h"

namespace {

double processSeconds() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

double wallSeconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Green text-like stripes on black: hard edges a smoothing copy would blur.
void drawPattern() {
    display.clear();
    for (int y = 0; y < 480; y += 3)
        for (int x = (y / 3) % 2; x < 640; x += 2) display.painter.setPixel(x, y, RGB(0, 200, 0));
}

// Colours other than black and the pattern's green in 48 x 48 screen pixels
// at the picture's corner.
int strayColours(const DesktopPicture& picture) {
    HDC screen = GetDC(nullptr);
    std::set<COLORREF> stray;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            const COLORREF c = GetPixel(screen, picture.left + x, picture.top + y);
            if (c != 0 && c != RGB(0, 200, 0)) stray.insert(c);
        }
    ReleaseDC(nullptr, screen);
    return static_cast<int>(stray.size());
}

void measure(const char* name, int copies, const std::function<void()>& copy) {
    drawPattern();
    copy();
    const double cpu = processSeconds();
    const double wall = wallSeconds();
    for (int i = 0; i < copies; ++i) copy();
    GdiFlush();
    const double cpuSpent = processSeconds() - cpu;
    const double wallSpent = wallSeconds() - wall;
    std::printf("%-7s %7.3f ms CPU, %7.3f ms wall a copy; stray colours %d\n", name, 1000 * cpuSpent / copies,
                1000 * wallSpent / copies, strayColours(display.desktopPicture()));
}

}  // namespace

int main(int argc, char** argv) {
    const int copies = argc > 1 ? std::atoi(argv[1]) : 300;
    display.desktopFullScreen = true;
    if (!display.open("Korvane", 640, 480, 4, measuredWindowProcedure, GetModuleHandleA(nullptr), nullptr, nullptr)) {
        std::printf("the display did not open\n");
        return 1;
    }
    const DesktopPicture picture = display.desktopPicture();
    const WindowBox monitor = display.monitorBox();
    std::printf("monitor %d x %d, scale %d, picture at (%d, %d)\n", monitor.width, monitor.height, picture.scale,
                picture.left, picture.top);
    RECT target{picture.left, picture.top, picture.left + 640 * picture.scale, picture.top + 480 * picture.scale};
    measure("flip", copies, [] { display.flip(); });
    DDSURFACEDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    description.dwWidth = static_cast<DWORD>(640 * picture.scale);
    description.dwHeight = static_cast<DWORD>(480 * picture.scale);
    IDirectDrawSurface* blocks = nullptr;
    if (display.screen.directDraw->CreateSurface(&description, &blocks, nullptr) == DD_OK) {
        measure("blocks", copies, [&] {
            blocks->Blt(nullptr, display.screen.backSurface, nullptr, DDBLT_WAIT, nullptr);
            display.screen.primarySurface->Blt(&target, blocks, nullptr, DDBLT_WAIT, nullptr);
        });
        blocks->Release();
    }
    measure("scaled", copies, [&] {
        display.screen.primarySurface->Blt(&target, display.screen.backSurface, nullptr, DDBLT_WAIT, nullptr);
    });
    display.close();
    return 0;
}
