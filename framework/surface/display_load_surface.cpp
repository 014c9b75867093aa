#include "framework/display/display.h"
#include "framework/surface/surface.h"

bool Display::loadSurface(Surface& target, const char* name) { return target.load(name, &screen); }
