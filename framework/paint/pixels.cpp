// Pixels and the pixel lines of Painter: one device context per call, one
// SetPixel per pixel.
#include "framework/display/back_surface_dc.h"
#include "framework/paint/line_algorithm.h"
#include "framework/paint/painter.h"

void Painter::bind(Screen* target) {
    screen = target;
}

void Painter::setPixel(int x, int y, ColorRef color) {
    BackSurfaceDc dc(screen);
    if (dc) {
        SetPixel(dc.get(), x, y, color);
    }
}

void Painter::verticalLine(int y1, int y2, int x, ColorRef color) {
    BackSurfaceDc dc(screen);
    if (!dc) {
        return;
    }
    // 64-bit so that y2 == INT_MAX ends the loop.
    for (long long y = y1; y <= y2; ++y) {
        SetPixel(dc.get(), x, static_cast<int>(y), color);
    }
}

void Painter::horizontalLine(int x1, int x2, int y, ColorRef color) {
    BackSurfaceDc dc(screen);
    if (!dc) {
        return;
    }
    for (long long x = x2; x >= x1; --x) {
        SetPixel(dc.get(), static_cast<int>(x), y, color);
    }
}

void Painter::line(int x1, int y1, int x2, int y2, ColorRef color) {
    BackSurfaceDc dc(screen);
    if (!dc) {
        return;
    }
    HDC context = dc.get();
    traceLine(x1, y1, x2, y2, [context, color](int x, int y) { SetPixel(context, x, y, color); });
}

ColorRef Painter::getPixel(int x, int y) {
    BackSurfaceDc dc(screen);
    if (!dc) {
        return CLR_INVALID;
    }
    return GetPixel(dc.get(), x, y);
}
