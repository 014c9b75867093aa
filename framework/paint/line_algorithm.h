#pragma once
// The integer line of Painter::line, free of any platform so that it can be
// tested on its own. Calls setPoint(x, y) once per pixel, from the first end
// on.
//
// Two branches with deliberately different error tests: the x-major one
// steps in y only once the error has grown past dx, so it can end a row short
// of y2; the y-major one (also taken for dx == dy and for a single point)
// steps in x as soon as the error is positive, so its first sideways step
// comes right after the first pixel.
//
// Differences, error and the running point are 64-bit: far-apart ends in the
// full int range must not overflow.
#include <cstdint>

template <typename SetPoint>
void traceLine(int x1, int y1, int x2, int y2, SetPoint&& setPoint) {
    const std::int64_t sy = y2 < y1 ? -1 : 1;
    const std::int64_t dy = y2 < y1 ? std::int64_t{y1} - y2 : std::int64_t{y2} - y1;
    const std::int64_t sx = x2 < x1 ? -1 : 1;
    const std::int64_t dx = x2 < x1 ? std::int64_t{x1} - x2 : std::int64_t{x2} - x1;
    std::int64_t x = x1;
    std::int64_t y = y1;
    std::int64_t error = 0;

    if (dx > dy) {
        for (std::int64_t i = 0; i <= dx; ++i) {
            setPoint(static_cast<int>(x), static_cast<int>(y));
            x += sx;
            error += dy;
            if (error > dx) {
                error -= dx;
                y += sy;
            }
        }
    } else {
        for (std::int64_t i = 0; i <= dy; ++i) {
            setPoint(static_cast<int>(x), static_cast<int>(y));
            y += sy;
            error += dx;
            if (error > 0) {
                error -= dy;
                x += sx;
            }
        }
    }
}
