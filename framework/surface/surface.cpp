#include "framework/surface/surface.h"

#include <cstring>
#include <utility>

#include "framework/display/com_release.h"
#include "framework/display/screen.h"

Surface::~Surface() { release(); }

Surface::Surface(Surface&& other) noexcept
    : screen(other.screen),
      surface(std::exchange(other.surface, nullptr)),
      colorKeyed(other.colorKeyed),
      width(other.width),
      height(other.height),
      keyColor(other.keyColor),
      generation(other.generation) {
    std::memcpy(fileName, other.fileName, sizeof fileName);
}

Surface& Surface::operator=(Surface&& other) noexcept {
    if (this != &other) {
        release();
        screen = other.screen;
        surface = std::exchange(other.surface, nullptr);
        std::memcpy(fileName, other.fileName, sizeof fileName);
        colorKeyed = other.colorKeyed;
        width = other.width;
        height = other.height;
        keyColor = other.keyColor;
        generation = other.generation;
    }
    return *this;
}

void Surface::setScreen(Screen* target) { screen = target; }

bool Surface::load(const char* name, Screen* target) {
    setScreen(target);
    return loadFile(name);
}

bool Surface::loadFile(const char* name) {
    // A new load never keeps the old image: on failure the Surface is empty.
    release();
    if (!name || std::strlen(name) > MAX_FILE_NAME) {
        fileName[0] = '\0';
        return false;
    }
    // The name may be fileName itself, or part of it.
    std::memmove(fileName, name, std::strlen(name) + 1);
    if (!screen || !screen->directDraw) {
        return false;
    }
    surface = createSurfaceFromBitmap(screen->directDraw, fileName);
    if (!surface) {
        return false;
    }
    generation = directDrawGeneration;
    width = lastBitmapWidth;
    height = lastBitmapHeight;
    // colorKeyed stays set across loads, so the new surface needs the key:
    // a keyed blit from a surface without one is refused, and every frame
    // would fail and reload.
    if (colorKeyed) {
        setColorKeyFromColor(surface, keyColor);
    }
    return true;
}

namespace {

// One BltFast to the back surface; a failure copies the bitmap in again and
// the blit is not tried again in this call. A surface already marked lost (a
// mode change, Alt+Enter) counts as a failure: some DirectDraws (Wine) blit
// from it without complaint and draw nothing.
void blitToBack(Surface& image, RECT source, int x, int y) {
    if (!image.holdsSurface() || !image.screen || !image.screen->backSurface) {
        return;
    }
    DWORD flags = image.colorKeyed ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_WAIT;
    HRESULT result = image.surface->IsLost() != DD_OK
                         ? DDERR_SURFACELOST
                         : image.screen->backSurface->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y),
                                                              image.surface, &source, flags);
    if (result != DD_OK) {
        image.reload();
    }
}

}  // namespace

void Surface::draw(int x, int y) {
    RECT source;
    SetRect(&source, 0, 0, width, height);
    blitToBack(*this, source, x, y);
}

void Surface::drawPart(int left, int top, int right, int bottom, int x, int y) {
    RECT source;
    SetRect(&source, left, top, right, bottom);
    blitToBack(*this, source, x, y);
}

void Surface::setColorKey(ColorRef color) {
    if (!holdsSurface()) {
        return;
    }
    setColorKeyFromColor(surface, color);
    keyColor = color;
    colorKeyed = true;
}

void Surface::reload() {
    holdsSurface();  // forgets a surface that went with its DirectDraw object
    reloadBitmap(surface, fileName);
}

void Surface::release() {
    if (holdsSurface()) {
        releaseInterface(surface);
    }
}

bool Surface::holdsSurface() {
    if (surface && generation != directDrawGeneration) {
        surface = nullptr;
    }
    return surface != nullptr;
}
