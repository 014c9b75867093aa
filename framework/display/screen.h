#pragma once
// The DirectDraw part of the Display: the DirectDraw object and the flipping
// pair of surfaces. TextPainter, Painter and bitmap surfaces keep a pointer to
// it and read the surfaces at every call; only the Screen owns them.
#include "framework/display/directx.h"

class Screen {
public:
    IDirectDraw* directDraw;
    IDirectDrawSurface* backSurface;
    IDirectDrawSurface* primarySurface;

    // Back surface, primary surface, then the DirectDraw object; each field
    // is emptied, so a second call does nothing.
    void release();
};
