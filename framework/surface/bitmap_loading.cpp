// Loading a bitmap file into a new off-screen surface.
#include "framework/surface/surface.h"

int lastBitmapWidth = 0;
int lastBitmapHeight = 0;

namespace {

// The bitmap file as a DIB section at its own size, or null.
HBITMAP loadBitmapFile(const char* name) {
    if (!name) {
        return nullptr;
    }
    return static_cast<HBITMAP>(LoadImageA(nullptr, name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

// The steps shared by both loaders; `loaded` says whether the file was a
// bitmap, so that only then the globals take its size.
BitmapSurface surfaceFromBitmapFile(IDirectDraw* directDraw, const char* name, bool& loaded) {
    BitmapSurface result{0, 0, nullptr};
    HBITMAP bitmap = loadBitmapFile(name);
    loaded = bitmap != nullptr;
    if (!bitmap) {
        return result;
    }
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    result.width = info.bmWidth;
    result.height = info.bmHeight;
    result.surface = createOffscreenSurface(directDraw, result.width, result.height);
    if (result.surface) {
        copyBitmapToSurface(result.surface, bitmap, result.width, result.height);
    }
    DeleteObject(bitmap);
    return result;
}

}  // namespace

IDirectDrawSurface* createSurfaceFromBitmap(IDirectDraw* directDraw, const char* name) {
    bool loaded = false;
    BitmapSurface result = surfaceFromBitmapFile(directDraw, name, loaded);
    if (loaded) {
        lastBitmapWidth = result.width;
        lastBitmapHeight = result.height;
    }
    return result.surface;
}

BitmapSurface loadBitmapSurface(IDirectDraw* directDraw, const char* name) {
    bool loaded = false;
    return surfaceFromBitmapFile(directDraw, name, loaded);
}

IDirectDrawSurface* createOffscreenSurface(IDirectDraw* directDraw, int width, int height) {
    if (!directDraw) {
        return nullptr;
    }
    DDSURFACEDESC description;
    ZeroMemory(&description, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    description.dwWidth = static_cast<DWORD>(width);
    description.dwHeight = static_cast<DWORD>(height);
    IDirectDrawSurface* surface = nullptr;
    if (directDraw->CreateSurface(&description, &surface, nullptr) != DD_OK) {
        return nullptr;
    }
    return surface;
}

HRESULT copyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, int width, int height) {
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    HDC target = nullptr;
    HRESULT result = surface->GetDC(&target);
    if (result == DD_OK) {
        BitBlt(target, 0, 0, width, height, memory, 0, 0, SRCCOPY);
        surface->ReleaseDC(target);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    return result;
}
