#include "app/drawing_cache.h"

#include "framework/display/com_release.h"
#include "framework/surface/surface.h"

bool DrawingCache::begin(const Screen& screen, int w, int h) {
    if (!screen.directDraw || !screen.backSurface) return false;
    // A surface of another DirectDraw object, or of one released since, may
    // have gone with it: forgotten, not released.
    if (target.backSurface && (owner != screen.directDraw || generation != directDrawGeneration))
        target.backSurface = nullptr;
    if (target.backSurface && (ownerBack != screen.backSurface || w != width || h != height ||
                               target.backSurface->IsLost() != DD_OK))
        drop();
    if (!target.backSurface) {
        // No pixel format given: the surface takes the display's, so a copy
        // onto the back surface is a plain copy of pixels.
        target.backSurface = createOffscreenSurface(screen.directDraw, w, h);
        if (!target.backSurface) {
            return false;
        }
        owner = screen.directDraw;
        ownerBack = screen.backSurface;
        generation = directDrawGeneration;
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
    SetRect(&bounds, 0, 0, width, height);
    return true;
}

namespace {

bool rowIsZero(const unsigned char* row, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i)
        if (row[i] != 0) return false;
    return true;
}

// Leftmost and rightmost pixel of a row that is not zero, as byte offsets.
void rowExtent(const unsigned char* row, std::size_t bytes, std::size_t& first, std::size_t& last) {
    std::size_t i = 0;
    while (i < bytes && row[i] == 0) ++i;
    if (i < first) first = i;
    std::size_t j = bytes;
    while (j > 0 && row[j - 1] == 0) --j;
    if (j > last) last = j;
}

}  // namespace

void DrawingCache::finish() {
    SetRect(&bounds, 0, 0, width, height);  // the whole surface unless the scan says less
    if (!target.backSurface) return;
    DDSURFACEDESC description;
    ZeroMemory(&description, sizeof description);
    description.dwSize = sizeof description;
    if (FAILED(target.backSurface->Lock(nullptr, &description, DDLOCK_WAIT | DDLOCK_READONLY, nullptr))) return;
    const unsigned bytesPerPixel = (description.ddpfPixelFormat.dwRGBBitCount + 7) / 8;
    if (bytesPerPixel > 0 && description.lpSurface) {
        const auto* pixels = static_cast<const unsigned char*>(description.lpSurface);
        const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
        int top = 0;
        int bottom = height;
        while (top < bottom && rowIsZero(pixels + static_cast<std::size_t>(top) * description.lPitch, rowBytes)) ++top;
        while (bottom > top && rowIsZero(pixels + static_cast<std::size_t>(bottom - 1) * description.lPitch, rowBytes))
            --bottom;
        std::size_t first = rowBytes;
        std::size_t last = 0;
        for (int y = top; y < bottom; ++y)
            rowExtent(pixels + static_cast<std::size_t>(y) * description.lPitch, rowBytes, first, last);
        if (top == bottom) {
            SetRectEmpty(&bounds);
        } else {
            SetRect(&bounds, static_cast<int>(first / bytesPerPixel), top,
                    static_cast<int>((last + bytesPerPixel - 1) / bytesPerPixel), bottom);
        }
    }
    target.backSurface->Unlock(nullptr);
}

bool DrawingCache::show(const Screen& screen) {
    if (!target.backSurface || !screen.backSurface || screen.directDraw != owner || screen.backSurface != ownerBack ||
        generation != directDrawGeneration)
        return false;
    // A mode change (Alt+Enter) loses the drawing; it is drawn again.
    if (target.backSurface->IsLost() != DD_OK) {
        drop();
        return false;
    }
    if (IsRectEmpty(&bounds)) return true;  // all colour 0, as the back surface already is
    // Blt rather than BltFast: under Wine BltFast costs about a millisecond
    // more per frame for the same copy.
    RECT part = bounds;
    if (FAILED(screen.backSurface->Blt(&part, target.backSurface, &part, DDBLT_WAIT, nullptr))) {
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
