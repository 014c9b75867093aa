#pragma once
// The Display's two pairs of surfaces, for opening and for Alt+Enter. Each
// maker releases what it made when it fails, and never the DirectDraw object.
#include "framework/display/screen.h"
#include "framework/display/window_layout.h"

class Display;

// Full screen: the primary surface with one attached back buffer.
bool createFlippingPair(Screen& screen);

// A window: the desktop's primary surface with a clipper bound to the window,
// and an off-screen back buffer of width x height in the desktop's format.
bool createWindowPair(Screen& screen, HWND window, int width, int height);

// Releases the back buffer and the primary surface; keeps the DirectDraw object.
void releaseSurfacePair(Screen& screen);

// Gives the window its look for the window mode (a caption, a close and a
// minimise box, no resizing) with a client area of exactly width x height
// times scale, centred on the work area; or, with scale 0, the full-screen
// popup at (0, 0).
void shapeWindow(HWND window, int width, int height, int scale);

// Desktop full screen's look: a borderless popup over the whole monitor.
void coverMonitor(HWND window, const WindowBox& monitor);

// The Display's own window procedure, installed by open in front of the
// client's: Alt+Enter, the cursor over the window and the activation rule of
// the window mode.
LRESULT CALLBACK displayWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void attachDisplay(HWND window, Display* display);
