#pragma once
// Reads pixels of a surface's device context for checks: one context per
// capture, so a capture is a snapshot of one moment.
#include <vector>

#include "framework/display/directx.h"

class PixelCapture;
// What the screen shows in [left, right) x [top, bottom): where a window's
// picture goes through its device context rather than onto the primary.
PixelCapture screenPixels(int left, int top, int right, int bottom);

class PixelCapture {
public:
    // Captures the rectangle [left, right) x [top, bottom) of the surface.
    PixelCapture(IDirectDrawSurface* surface, int left, int top, int right, int bottom);
    // The same from a device context (the screen's: GetDC(nullptr)).
    PixelCapture(HDC dc, int left, int top, int right, int bottom);

    COLORREF at(int x, int y) const;
    int count(COLORREF color) const;  // pixels of exactly that colour
    bool rowHas(int y, COLORREF color) const;
    bool columnHas(int x, COLORREF color) const;
    // Rightmost and lowest column/row holding the colour; -1 when none.
    int rightmost(COLORREF color) const;
    int lowest(COLORREF color) const;
    bool sameAs(const PixelCapture& other) const { return pixels == other.pixels; }
    bool valid() const { return ok; }

private:
    void read(HDC dc);
    int left, top, right, bottom;
    bool ok = false;
    std::vector<COLORREF> pixels;
};
