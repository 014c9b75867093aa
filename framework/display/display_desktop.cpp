// Desktop full screen: a borderless window over one monitor at the desktop's
// own mode, and the switch between it and a window.
#include "framework/display/com_release.h"
#include "framework/display/display.h"
#include "framework/display/display_surfaces.h"

void coverMonitor(HWND window, const WindowBox& monitor) {
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_VISIBLE));
    SetWindowPos(window, HWND_TOP, monitor.left, monitor.top, monitor.width, monitor.height,
                 SWP_FRAMECHANGED);
}

WindowBox Display::monitorBox() const {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (window && GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info)) {
        const RECT& area = info.rcMonitor;
        return {area.left, area.top, area.right - area.left, area.bottom - area.top};
    }
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

DesktopPicture Display::desktopPicture() const {
    return ::desktopPicture(monitorBox(), screenWidth, screenHeight);
}

bool Display::switchDesktop(bool toDesktop) {
    if (!screen.directDraw || toDesktop == onDesktop) {
        return false;
    }
    // From the exclusive full screen, the desktop's mode comes back first.
    if (!windowed && !onDesktop && !switchWindowed(true)) {
        return false;
    }
    if (toDesktop) {
        // The monitor is the one that holds the window now; the window's box
        // is kept for the way back.
        windowPlaceKept = GetWindowRect(window, &windowPlace) != 0;
    }
    releaseSurfacePair(screen);
    if (blockSurfaceGeneration == directDrawGeneration) {
        releaseInterface(blockSurface);  // made again at the next flip, at the new scale
    }
    blockSurface = nullptr;
    if (toDesktop) {
        coverMonitor(window, monitorBox());
        windowed = false;
        onDesktop = true;
    } else {
        onDesktop = false;
        windowed = true;
        if (windowScale == 0) {
            windowScale = MIN_WINDOW_SCALE;  // opened in desktop full screen
        }
        shapeWindow(window, screenWidth, screenHeight, windowScale);
        if (windowPlaceKept) {
            SetWindowPos(window, nullptr, windowPlace.left, windowPlace.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER);
        }
    }
    active = IsIconic(window) ? 0 : 1;
    return createWindowPair(screen, window, screenWidth, screenHeight);
}
