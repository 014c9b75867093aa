#include "framework/display/screen.h"

#include "framework/display/com_release.h"

void Screen::release() {
    releaseInterface(backSurface);
    releaseInterface(primarySurface);
    releaseInterface(directDraw);
}
