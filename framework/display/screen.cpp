#include "framework/display/screen.h"

#include "framework/display/com_release.h"

std::uint32_t directDrawGeneration = 0;

void Screen::release() {
    releaseInterface(backSurface);
    releaseInterface(primarySurface);
    if (directDraw) {
        releaseInterface(directDraw);
        ++directDrawGeneration;
    }
}
