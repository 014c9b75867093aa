#pragma once
// The DirectDraw part of the Display: the DirectDraw object and the flipping
// pair of surfaces. TextPainter, Painter and bitmap surfaces keep a pointer to
// it and read the surfaces at every call; only the Screen owns them.
#include <cstdint>

#include "framework/display/directx.h"

// Raised each time a Screen releases its DirectDraw object, which takes every
// surface made from it along. Whoever keeps such a surface records the count
// when it makes one and calls the surface only while the count is unchanged;
// a surface of an earlier count is forgotten, never released or called.
extern std::uint32_t directDrawGeneration;

class Screen {
public:
    IDirectDraw* directDraw;
    IDirectDrawSurface* backSurface;
    IDirectDrawSurface* primarySurface;

    // Back surface, primary surface, then the DirectDraw object (raising
    // directDrawGeneration); each field is emptied, so a second call does
    // nothing.
    void release();
};
