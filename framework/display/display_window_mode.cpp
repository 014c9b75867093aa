// The Display in a window: its surfaces and their presentation, the window's
// shape, the Display's own window procedure (Alt+Enter, the cursor, the
// activation rule) and the switch between the window and the whole screen.
#include "framework/display/com_release.h"
#include "framework/display/display.h"
#include "framework/display/display_surfaces.h"
#include "framework/display/window_layout.h"
#include "framework/surface/surface.h"

namespace {

constexpr DWORD WINDOW_STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD FULL_SCREEN_STYLE = WS_POPUPWINDOW;
constexpr char DISPLAY_PROPERTY[] = "KorvaneDisplay";
constexpr LPARAM ALT_HELD = 1 << 29;
constexpr LPARAM KEY_WAS_DOWN = 1 << 30;
// WM_DPICHANGED, which the headers define only for newer Windows versions.
constexpr UINT DPI_CHANGED = 0x02E0;
// Frames drawn after a switch whatever changed: half a second at 60 Hz.
constexpr std::int32_t SETTLE_FRAMES = 30;

// The work area of the monitor that holds the window: a window on a second
// monitor comes back there.
WindowBox workArea(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info)) {
        const RECT& area = info.rcWork;
        return {area.left, area.top, area.right - area.left, area.bottom - area.top};
    }
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// Every monitor together: the screen a window may be drawn on.
WindowBox virtualScreen() {
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) {
        return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), width, height};
}

bool isAltEnter(WPARAM key, LPARAM flags) {
    return key == VK_RETURN && (flags & ALT_HELD) != 0;
}

}  // namespace

void attachDisplay(HWND window, Display* display) {
    SetPropA(window, DISPLAY_PROPERTY, display);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(displayWindowProcedure));
}

namespace {

// The window's outer size changed so that its client area is exactly
// clientWidth x clientHeight; its corner stays.
void fitClientArea(HWND window, int clientWidth, int clientHeight) {
    RECT outer;
    RECT client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    if (client.right != clientWidth || client.bottom != clientHeight) {
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + clientWidth - client.right,
                     outer.bottom - outer.top + clientHeight - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace

void shapeWindow(HWND window, int width, int height, int scale) {
    if (scale == 0) {
        SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(FULL_SCREEN_STYLE | WS_VISIBLE));
        SetWindowPos(window, HWND_TOP, 0, 0, width, height, SWP_FRAMECHANGED);
        return;
    }
    const bool visible = IsWindowVisible(window) != 0;
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(WINDOW_STYLE | (visible ? WS_VISIBLE : 0)));
    const int clientWidth = width * scale;
    const int clientHeight = height * scale;
    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, WINDOW_STYLE, FALSE, 0);
    const WindowFrame frame{-outer.left, -outer.top, outer.right - clientWidth,
                            outer.bottom - clientHeight};
    const WindowBox box = windowBox(width, height, scale, frame, workArea(window));
    SetWindowPos(window, HWND_TOP, box.left, box.top, box.width, box.height, SWP_FRAMECHANGED);
    // The frame drawn may differ from the one computed (another caption
    // height): one correction from the client area the window really got.
    fitClientArea(window, clientWidth, clientHeight);
}

namespace {

// An off-screen surface in system memory, in the desktop's format. A blit
// between two such surfaces is done by the CPU, which stretches by repeating
// pixels; a blit through the graphics device may smooth them.
IDirectDrawSurface* createSystemSurface(IDirectDraw* directDraw, int width, int height) {
    DDSURFACEDESC description;
    ZeroMemory(&description, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    description.dwWidth = static_cast<DWORD>(width);
    description.dwHeight = static_cast<DWORD>(height);
    IDirectDrawSurface* surface = nullptr;
    if (FAILED(directDraw->CreateSurface(&description, &surface, nullptr))) {
        return nullptr;
    }
    return surface;
}

// One StretchBlt from the back buffer's device context into the window's:
// GDI repeats pixels when it enlarges (COLORONCOLOR says so), and under Wine
// this costs a small part of the two DirectDraw blits (bench/desktop_copy).
// The window's device context is clipped to what of it can be seen, on
// whichever monitor. False when a device context cannot be had.
bool presentThroughGdi(HWND window, IDirectDrawSurface* backSurface, const BlockCopy& copy) {
    HDC source = nullptr;
    if (backSurface->GetDC(&source) != DD_OK) {
        return false;
    }
    HDC target = GetDC(window);
    bool drawn = false;
    if (target) {
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        SetStretchBltMode(target, COLORONCOLOR);
        drawn = StretchBlt(target, copy.target.left - origin.x, copy.target.top - origin.y,
                           copy.target.width, copy.target.height, source, copy.source.left,
                           copy.source.top, copy.source.width, copy.source.height, SRCCOPY) != 0;
        ReleaseDC(window, target);
    }
    backSurface->ReleaseDC(source);
    return drawn;
}

}  // namespace

bool createWindowPair(Screen& screen, HWND window, int width, int height) {
    DDSURFACEDESC description;
    ZeroMemory(&description, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (FAILED(screen.directDraw->CreateSurface(&description, &screen.primarySurface, nullptr))) {
        screen.primarySurface = nullptr;
        return false;
    }
    // The primary keeps its clipper: our reference goes at once.
    IDirectDrawClipper* clipper = nullptr;
    const bool clipped = SUCCEEDED(screen.directDraw->CreateClipper(0, &clipper, nullptr)) &&
                         SUCCEEDED(clipper->SetHWnd(0, window)) &&
                         SUCCEEDED(screen.primarySurface->SetClipper(clipper));
    releaseInterface(clipper);
    if (clipped) {
        // Without a pixel format the surface takes the primary's: the desktop's.
        screen.backSurface = createOffscreenSurface(screen.directDraw, width, height);
    }
    if (!screen.backSurface) {
        releaseInterface(screen.primarySurface);
        return false;
    }
    return true;
}

void releaseSurfacePair(Screen& screen) {
    releaseInterface(screen.backSurface);
    releaseInterface(screen.primarySurface);
}

void Display::presentWindow() {
    if (!screen.backSurface || IsIconic(window)) {
        return;
    }
    // Another program's mode change loses the surfaces; they come back here
    // and the frame is drawn as usual.
    if (screen.primarySurface->IsLost() == DDERR_SURFACELOST) {
        screen.primarySurface->Restore();
    }
    if (screen.backSurface->IsLost() == DDERR_SURFACELOST) {
        screen.backSurface->Restore();
    }
    // Exactly scale times the buffer, from the client area's corner (in
    // desktop full screen, from the picture's corner on its monitor): each
    // pixel becomes a block, whatever the window's size has become. Blocks
    // off the screen are left out (a window larger than a small screen); on
    // several monitors the screen is all of them.
    int scale = windowScale;
    POINT corner{0, 0};
    WindowBox bounds;
    if (onDesktop) {
        const DesktopPicture picture = desktopPicture();
        scale = picture.scale;
        corner = {picture.left, picture.top};
        bounds = monitorBox();
    } else {
        ClientToScreen(window, &corner);
        bounds = virtualScreen();
    }
    BlockCopy copy;
    if (!visibleBlocksWithin(corner.x, corner.y, scale, screenWidth, screenHeight, bounds, copy)) {
        return;
    }
    if (presentThroughGdi(window, screen.backSurface, copy)) {
        return;
    }
    // Through DirectDraw instead: the primary surface may cover the primary
    // monitor only, and a blit that leaves it draws nothing.
    if (!visibleBlocksWithin(corner.x, corner.y, scale, screenWidth, screenHeight,
                             {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
                             copy)) {
        return;
    }
    RECT target{copy.target.left, copy.target.top, copy.target.left + copy.target.width,
                copy.target.top + copy.target.height};
    RECT part{copy.source.left, copy.source.top, copy.source.left + copy.source.width,
              copy.source.top + copy.source.height};
    IDirectDrawSurface* source = screen.backSurface;
    if (scale > 1) {
        if (blockSurface && (blockSurfaceGeneration != directDrawGeneration)) {
            blockSurface = nullptr;  // went with an earlier DirectDraw object
        }
        if (blockSurface && blockSurfaceScale != scale) {
            releaseInterface(blockSurface);  // the picture's scale changed
        }
        if (!blockSurface) {
            blockSurface = createSystemSurface(screen.directDraw, screenWidth * scale,
                                               screenHeight * scale);
            blockSurfaceGeneration = directDrawGeneration;
            blockSurfaceScale = scale;
        }
        if (blockSurface && blockSurface->IsLost() == DDERR_SURFACELOST) {
            blockSurface->Restore();
        }
        if (blockSurface &&
            SUCCEEDED(blockSurface->Blt(nullptr, screen.backSurface, nullptr, DDBLT_WAIT, nullptr))) {
            source = blockSurface;
            part = {part.left * scale, part.top * scale, part.right * scale, part.bottom * scale};
        }
    }
    if (screen.primarySurface->Blt(&target, source, &part, DDBLT_WAIT, nullptr) ==
        DDERR_SURFACELOST) {
        screen.primarySurface->Restore();
    }
}

bool Display::switchWindowed(bool toWindow) {
    if (!screen.directDraw || toWindow == windowed) {
        return false;
    }
    if (windowScale == 0) {
        windowScale = MIN_WINDOW_SCALE;  // opened full screen: the window at scale 1
    }
    releaseSurfacePair(screen);
    if (blockSurfaceGeneration == directDrawGeneration) {
        releaseInterface(blockSurface);  // made again for the new mode, at the next flip
    }
    blockSurface = nullptr;
    IDirectDraw* directDraw = screen.directDraw;
    if (!toWindow) {
        shapeWindow(window, screenWidth, screenHeight, 0);
        if (SUCCEEDED(directDraw->SetCooperativeLevel(
                window, DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE)) &&
            SUCCEEDED(directDraw->SetDisplayMode(screenWidth, screenHeight, screenBits)) &&
            createFlippingPair(screen)) {
            windowed = false;
            for (int level = cursorLevel; level < 0; ++level) ShowCursor(FALSE);
            return true;
        }
        // This screen cannot take the mode: the window stays.
        releaseSurfacePair(screen);
    }
    directDraw->RestoreDisplayMode();
    directDraw->SetCooperativeLevel(window, DDSCL_NORMAL);
    if (!windowed) {
        for (int level = cursorLevel; level < 0; ++level) ShowCursor(TRUE);
    }
    windowed = true;
    shapeWindow(window, screenWidth, screenHeight, windowScale);
    active = IsIconic(window) ? 0 : 1;
    return createWindowPair(screen, window, screenWidth, screenHeight) && toWindow;
}

LRESULT CALLBACK displayWindowProcedure(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
    auto* display = static_cast<Display*>(GetPropA(window, DISPLAY_PROPERTY));
    if (!display || !display->clientWindowProc) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_SYSKEYDOWN:
        if (isAltEnter(wParam, lParam)) {
            if ((lParam & KEY_WAS_DOWN) == 0) {
                if (display->desktopFullScreen) {
                    display->switchDesktop(!display->onDesktop);
                } else {
                    display->switchWindowed(!display->windowed);
                }
                display->invalidate();  // the new surfaces hold nothing yet
                display->settleFrames = SETTLE_FRAMES;
            }
            return 0;
        }
        break;
    case WM_SYSCHAR:
        if (wParam == '\r') {
            return 0;  // the character of Alt+Enter: no beep
        }
        break;
    case WM_SETCURSOR:
        // Desktop full screen hides the pointer over the whole monitor.
        if (display->onDesktop && LOWORD(lParam) == HTCLIENT) {
            SetCursor(nullptr);
            return TRUE;
        }
        // A class without a cursor of its own still shows the arrow in a window.
        if (display->windowed && LOWORD(lParam) == HTCLIENT &&
            !GetClassLongPtrA(window, GCLP_HCURSOR)) {
            SetCursor(LoadCursorA(nullptr, IDC_ARROW));
            return TRUE;
        }
        break;
    case DPI_CHANGED:
        // Moved onto a monitor of another scaling: the picture keeps its size
        // in physical pixels, so the box Windows suggests is not taken. Only
        // the frame (drawn at the new scaling) is allowed for again.
        if (display->onDesktop) {
            coverMonitor(window, display->monitorBox());
        } else if (display->windowed) {
            fitClientArea(window, display->screenWidth * display->windowScale,
                          display->screenHeight * display->windowScale);
        }
        return 0;
    case WM_NCDESTROY: RemovePropA(window, DISPLAY_PROPERTY); break;
    default: break;
    }
    const LRESULT result = CallWindowProcA(display->clientWindowProc, window, message, wParam, lParam);
    // In a window and in desktop full screen the Display draws whenever it
    // can be seen: behind another window too, so that output shows at once,
    // but not while minimised.
    if ((display->windowed || display->onDesktop) && (message == WM_ACTIVATEAPP || message == WM_SIZE)) {
        display->active = IsIconic(window) ? 0 : 1;
    }
    // What the window showed may be gone or elsewhere (activated, moved,
    // resized, uncovered, another mode): frames driven by change draw it
    // again. A window's frame is copied to where its client area is then.
    switch (message) {
    case WM_ACTIVATEAPP:
    case WM_WINDOWPOSCHANGED:
    case WM_MOVE:
    case WM_SIZE:
    case WM_PAINT:
    case WM_DISPLAYCHANGE: display->invalidate(); break;
    default: break;
    }
    return result;
}
