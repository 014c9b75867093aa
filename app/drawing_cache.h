#pragma once
// An off-screen surface the size of the screen that keeps one drawing. It is
// drawn into once, through painters bound to `target`, and copied onto the
// back surface in every frame after that. Where the program runs, under Wine,
// each device context of a surface costs about a millisecond and a copy of
// the whole screen a tenth of that, so a drawing that changes less often
// than every frame is cheaper kept than redrawn. Zero-filled storage is a
// valid empty cache. The surface is never released at exit: it goes with the
// DirectDraw object, and once that object is released (directDrawGeneration
// moves on) the cache forgets the surface without calling it.
#include "framework/display/screen.h"

// Zero-filled static storage is its starting state, as for the Display.
// cppcheck-suppress noConstructor
class DrawingCache {
public:
    // The screen's DirectDraw object, with the cache's own surface as the
    // back surface: a TextPainter or Painter bound to it draws into the cache.
    Screen target;

    // Gets the surface ready for a new drawing: made on first use (and again
    // for a new DirectDraw object or back surface), then cleared to colour 0
    // as the frame loop clears the back surface. False when no surface can
    // be had; the caller then draws on the back surface itself.
    bool begin(const Screen& screen, int width, int height);
    // Ends a drawing: finds the smallest rectangle outside which the drawing
    // is colour 0, so that show copies only what differs from a cleared
    // back surface.
    void finish();
    // Copies the drawing onto the screen's back surface at its place. False
    // when it cannot (lost surfaces, another screen); begin makes a new one.
    bool show(const Screen& screen);

private:
    IDirectDraw* owner;
    IDirectDrawSurface* ownerBack;
    // directDrawGeneration when the surface was made: a new DirectDraw object
    // may have the address of a released one, so `owner` alone cannot tell.
    std::uint32_t generation;
    int width;
    int height;
    RECT bounds;  // where the drawing is not colour 0; empty for none

    void drop();
};
