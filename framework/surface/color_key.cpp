// Source colour keys: the raw pixel value of a colour on a surface, whatever
// the display's pixel format, found by letting the GDI write it.
#include "framework/surface/surface.h"

std::uint32_t matchColor(IDirectDrawSurface* surface, ColorRef color) {
    std::uint32_t result = CLR_INVALID;
    if (!surface) {
        return result;
    }
    bool saved = false;
    COLORREF savedPixel = 0;
    HDC dc = nullptr;
    if (color != CLR_INVALID && surface->GetDC(&dc) == DD_OK) {
        savedPixel = GetPixel(dc, 0, 0);
        SetPixel(dc, 0, 0, color);
        surface->ReleaseDC(dc);
        saved = true;
    }

    DDSURFACEDESC description;
    ZeroMemory(&description, sizeof description);
    description.dwSize = sizeof description;
    HRESULT locked;
    do {
        locked = surface->Lock(nullptr, &description, 0, nullptr);
    } while (locked == DDERR_WASSTILLDRAWING);
    if (locked == DD_OK) {
        result = *static_cast<const std::uint32_t*>(description.lpSurface);
        DWORD bits = description.ddpfPixelFormat.dwRGBBitCount;
        if (bits < 32) {
            result &= (std::uint32_t{1} << bits) - 1;
        }
        surface->Unlock(nullptr);
    }

    if (saved && surface->GetDC(&dc) == DD_OK) {
        SetPixel(dc, 0, 0, savedPixel);
        surface->ReleaseDC(dc);
    }
    return result;
}

HRESULT setColorKeyFromColor(IDirectDrawSurface* surface, ColorRef color) {
    if (!surface) {
        return E_FAIL;
    }
    DDCOLORKEY key;
    key.dwColorSpaceLowValue = matchColor(surface, color);
    key.dwColorSpaceHighValue = key.dwColorSpaceLowValue;
    return surface->SetColorKey(DDCKEY_SRCBLT, &key);
}
