// Copying a bitmap again into an existing surface, after a failed blit.
#include "framework/surface/surface.h"

HRESULT reloadBitmap(IDirectDrawSurface* surface, const char* name) {
    // A bitmap resource of the executable takes precedence over a file.
    HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) {
        bitmap =
            static_cast<HBITMAP>(LoadImageA(nullptr, name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    }
    if (!bitmap) {
        OutputDebugStringA("handle is null\n");
        return E_FAIL;
    }
    HRESULT result = stretchBitmapToSurface(surface, bitmap, 0, 0, 0, 0);
    if (result != DD_OK) {
        OutputDebugStringA("ddcopybitmap failed\n");
    }
    DeleteObject(bitmap);
    return result;
}

HRESULT stretchBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, int x, int y, int width, int height) {
    if (!bitmap || !surface) {
        return E_FAIL;
    }
    surface->Restore();  // brings back the memory of a lost surface
    HDC memory = CreateCompatibleDC(nullptr);
    if (!memory) {
        OutputDebugStringA("createcompatible dc failed\n");
    }
    HGDIOBJ previous = SelectObject(memory, bitmap);

    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    if (width == 0) {
        width = info.bmWidth;
    }
    if (height == 0) {
        height = info.bmHeight;
    }
    DDSURFACEDESC description;
    ZeroMemory(&description, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_HEIGHT | DDSD_WIDTH;
    surface->GetSurfaceDesc(&description);

    HDC target = nullptr;
    HRESULT result = surface->GetDC(&target);
    if (result == DD_OK) {
        StretchBlt(target, 0, 0, static_cast<int>(description.dwWidth), static_cast<int>(description.dwHeight), memory,
                   x, y, width, height, SRCCOPY);
        surface->ReleaseDC(target);
    }
    // Deselected before the context goes; the caller deletes the bitmap next.
    if (memory) {
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    return result;
}
