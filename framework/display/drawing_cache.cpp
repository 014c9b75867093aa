#include "framework/display/drawing_cache.h"

#include "framework/display/com_release.h"

bool DrawingCache::begin(const Screen& screen, int w, int h) {
    if (!screen.directDraw || !screen.backSurface) return false;
    // A surface of another DirectDraw object may have gone with it: forgotten,
    // not released.
    if (target.backSurface && owner != screen.directDraw) target.backSurface = nullptr;
    if (target.backSurface && (ownerBack != screen.backSurface || w != width || h != height ||
                               target.backSurface->IsLost() != DD_OK))
        drop();
    if (!target.backSurface) {
        DDSURFACEDESC description;
        ZeroMemory(&description, sizeof description);
        description.dwSize = sizeof description;
        description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        // No pixel format given: the surface takes the display's, so a copy
        // onto the back surface is a plain copy of pixels.
        description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        description.dwWidth = static_cast<DWORD>(w);
        description.dwHeight = static_cast<DWORD>(h);
        if (FAILED(screen.directDraw->CreateSurface(&description, &target.backSurface, nullptr))) {
            target.backSurface = nullptr;
            return false;
        }
        owner = screen.directDraw;
        ownerBack = screen.backSurface;
        width = w;
        height = h;
    }
    target.directDraw = screen.directDraw;
    target.primarySurface = nullptr;
    DDBLTFX fill;
    ZeroMemory(&fill, sizeof fill);
    fill.dwSize = sizeof fill;
    fill.dwFillColor = 0;
    if (FAILED(target.backSurface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill))) {
        drop();
        return false;
    }
    return true;
}

bool DrawingCache::show(const Screen& screen) {
    if (!target.backSurface || !screen.backSurface || screen.directDraw != owner || screen.backSurface != ownerBack)
        return false;
    RECT whole;
    SetRect(&whole, 0, 0, width, height);
    if (FAILED(screen.backSurface->BltFast(0, 0, target.backSurface, &whole, DDBLTFAST_NOCOLORKEY | DDBLTFAST_WAIT))) {
        drop();
        return false;
    }
    return true;
}

void DrawingCache::drop() {
    releaseInterface(target.backSurface);
    owner = nullptr;
    ownerBack = nullptr;
}
