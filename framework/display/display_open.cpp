// Opening the Display: window, DirectDraw object, display mode, flipping
// surfaces (or, in a window and desktop full screen, the desktop's primary), then sound and keyboard, which may fail without stopping it.
#include "framework/display/com_release.h"
#include "framework/display/depth_mode.h"
#include "framework/display/display.h"
#include "framework/display/display_surfaces.h"
#include "framework/display/window_layout.h"

namespace {

int desktopBits() {
    HDC screenDc = GetDC(nullptr);
    const int bits = GetDeviceCaps(screenDc, BITSPIXEL);
    ReleaseDC(nullptr, screenDc);
    return bits;
}

void fatal(const char* text, const char* caption) {
    MessageBoxA(nullptr, text, caption, MB_ICONERROR);
}

}  // namespace

bool Display::open(const char* className, int width, int height, int depthMode,
                   WNDPROC windowProc, HINSTANCE instance, HICON icon, HCURSOR cursor) {
    // An unknown depth mode is the caller's mistake; refusing it before the
    // first call leaves nothing to undo.
    if (!isDepthMode(depthMode) || (windowScale != 0 && !isWindowScale(windowScale))) {
        return false;
    }

    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);  // may already exist

    window = CreateWindowExA(0, className, className, WS_POPUPWINDOW, 0, 0, width, height,
                             nullptr, nullptr, instance, nullptr);
    if (!window) {
        return false;
    }
    clientWindowProc = windowProc;
    screenWidth = width;
    screenHeight = height;
    attachDisplay(window, this);
    windowed = windowScale != 0;
    onDesktop = !windowed && desktopFullScreen;
    if (windowed) {
        shapeWindow(window, width, height, windowScale);
    } else if (onDesktop) {
        coverMonitor(window, monitorBox());  // made at (0, 0): the primary monitor
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);

    const int bits =
        depthModeBits(depthMode, depthMode == DEPTH_MODE_DESKTOP ? desktopBits() : 0);
    screenBits = bits;

    if (FAILED(DirectDrawCreate(nullptr, &screen.directDraw, nullptr))) {
        screen.directDraw = nullptr;
        fatal("Couldnt Create DirectX Object! Error: Terminating!", "Error!!!");
        close();
        return false;
    }
    // A window and desktop full screen share the desktop: normal level, no
    // display mode of their own.
    const bool sharesDesktop = windowed || onDesktop;
    if (FAILED(screen.directDraw->SetCooperativeLevel(
            window, sharesDesktop ? DDSCL_NORMAL
                             : DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE))) {
        releaseInterface(screen.directDraw);
        fatal("Couldnt Set Cooperative Level, Fatal Error Aborting", "Error");
        return false;
    }
    if (!sharesDesktop && FAILED(screen.directDraw->SetDisplayMode(width, height, bits))) {
        fatal("Error Setting Display Mode", nullptr);
        releaseInterface(screen.directDraw);
        return false;
    }
    if (!createSurfaces()) {
        fatal("Couldnt Set Surfaces! Fatal Error! DirectX is jacked Man", "Broken Software :(");
        return false;
    }

    soundAvailable = initSound();
    initKeyboard();
    textPainter.init(&screen);
    painter.bind(&screen);
    running = true;
    return true;
}

bool Display::createSurfaces() {
    const bool made = windowed || onDesktop ? createWindowPair(screen, window, screenWidth, screenHeight)
                               : createFlippingPair(screen);
    if (!made) {
        releaseInterface(screen.directDraw);
    }
    return made;
}

bool createFlippingPair(Screen& screen) {
    DDSURFACEDESC description;
    ZeroMemory(&description, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    description.dwBackBufferCount = 1;
    if (FAILED(screen.directDraw->CreateSurface(&description, &screen.primarySurface, nullptr))) {
        screen.primarySurface = nullptr;
        return false;
    }

    DDSCAPS caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    if (FAILED(screen.primarySurface->GetAttachedSurface(&caps, &screen.backSurface))) {
        screen.backSurface = nullptr;
        releaseInterface(screen.primarySurface);
        return false;
    }
    return true;
}
