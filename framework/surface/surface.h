#pragma once
// Bitmap surfaces: a Windows bitmap (a file, or a bitmap resource of the
// executable on reload) copied into a plain off-screen DirectDraw surface and
// blitted onto the Screen's back surface, whole or in part, with or without a
// source colour key. A blit that fails (lost surface, busy blitter, a
// destination that does not fit) copies the bitmap in again, so the next blit
// draws the image. The free functions below do the work and can be used on
// their own.
//
// Surface owns its off-screen surface and nothing in the Screen. Blits use
// BltFast: no clipping, so the destination must lie inside the back surface.
#include <cstdint>

#include "console/color_ref.h"
#include "framework/display/directx.h"

class Screen;

// Size of the bitmap that createSurfaceFromBitmap loaded last.
extern int lastBitmapWidth;
extern int lastBitmapHeight;

// What loadBitmapSurface hands back; the receiver owns `surface`. When the
// bitmap could not be loaded, `surface` is null and the size means nothing.
struct BitmapSurface {
    int width;
    int height;
    IDirectDrawSurface* surface;
};

class Surface {
public:
    // Names longer than this are refused by loadFile.
    static constexpr int MAX_FILE_NAME = 49;

    Screen* screen = nullptr;
    IDirectDrawSurface* surface = nullptr;
    char fileName[MAX_FILE_NAME + 1] = {};  // name of the last load, file or resource
    bool colorKeyed = false;                // stays set across release and later loads
    int width = 0;
    int height = 0;
    ColorRef keyColor = 0;  // the colour of the last setColorKey, given again to each new load
    // directDrawGeneration when `surface` was made: a surface of an earlier
    // count went with its DirectDraw object and is forgotten, never called.
    std::uint32_t generation = 0;

    Surface() = default;
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    // Moving hands the off-screen surface over; the source is left empty.
    Surface(Surface&& other) noexcept;
    Surface& operator=(Surface&& other) noexcept;

    void setScreen(Screen* target);
    // setScreen, then loadFile.
    bool load(const char* name, Screen* target);
    // Releases any surface held, then loads the bitmap file (the Surface's
    // own fileName too). A colour-keyed Surface gives the new surface the key
    // of its last setColorKey. False, with no surface held, for a name that
    // is null or longer than MAX_FILE_NAME, no screen, a missing file or one
    // that is not a bitmap.
    bool loadFile(const char* name);
    // The whole image with its top-left corner at x, y.
    void draw(int x, int y);
    // The source rectangle (left, top)-(right, bottom) with its corner at x, y.
    void drawPart(int left, int top, int right, int bottom, int x, int y);
    // Makes the colour's pixels transparent in later blits; CLR_INVALID makes
    // the image's own top-left colour transparent. Nothing without a surface.
    void setColorKey(ColorRef color);
    // Copies the bitmap named fileName in again (resource first, then file).
    void reload();
    // Releases the surface, unless it already went with its DirectDraw
    // object (the Display was destroyed first): then it is only forgotten.
    void release();
    // Whether a surface is held whose DirectDraw object still lives; one that
    // went with its object is forgotten here.
    bool holdsSurface();
};

// A new off-screen surface holding the bitmap file, or null. Sets
// lastBitmapWidth and lastBitmapHeight when the file is a bitmap.
IDirectDrawSurface* createSurfaceFromBitmap(IDirectDraw* directDraw, const char* name);
// The same, leaving the two globals alone.
BitmapSurface loadBitmapSurface(IDirectDraw* directDraw, const char* name);
// A plain off-screen surface in the display's pixel format, or null.
IDirectDrawSurface* createOffscreenSurface(IDirectDraw* directDraw, int width, int height);
// Copies width x height of the bitmap to the surface's top-left corner;
// answers the surface's GetDC result.
HRESULT copyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, int width, int height);
// One raw pixel value as the source colour key: the value matchColor finds.
HRESULT setColorKeyFromColor(IDirectDrawSurface* surface, ColorRef color);
// The raw pixel value the GDI gives the colour on this surface, found by
// writing it at 0, 0 and reading the memory (the pixel is put back); for
// CLR_INVALID the value already at 0, 0. CLR_INVALID when the surface cannot
// be locked.
std::uint32_t matchColor(IDirectDrawSurface* surface, ColorRef color);
// Restores the surface and stretches the bitmap named `name` over it: a
// bitmap resource of the executable, else the file. DD_OK, the surface's
// failure code, or E_FAIL when there is no such bitmap. Failures are written
// to the debugger output only: "handle is null\n", "ddcopybitmap failed\n",
// "createcompatible dc failed\n".
HRESULT reloadBitmap(IDirectDrawSurface* surface, const char* name);
// Restores the surface and stretches the bitmap's rectangle x, y, width,
// height (0 for the bitmap's own width or height) over the whole surface.
HRESULT stretchBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, int x, int y, int width, int height);
