#pragma once
// A device context of the Screen's back surface for the length of one drawing
// call. Empty when there is no surface or the surface gives no context (for
// instance while it is lost); the callers then draw nothing.
#include "framework/display/screen.h"

class BackSurfaceDc {
public:
    explicit BackSurfaceDc(const Screen* screen) {
        if (screen && screen->backSurface) {
            surface = screen->backSurface;
            if (FAILED(surface->GetDC(&dc))) {
                dc = nullptr;
            }
        }
    }
    ~BackSurfaceDc() {
        if (dc) {
            surface->ReleaseDC(dc);
        }
    }
    BackSurfaceDc(const BackSurfaceDc&) = delete;
    BackSurfaceDc& operator=(const BackSurfaceDc&) = delete;

    explicit operator bool() const { return dc != nullptr; }
    HDC get() const { return dc; }

private:
    IDirectDrawSurface* surface = nullptr;
    HDC dc = nullptr;
};
