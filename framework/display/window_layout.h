#pragma once
// The Display in a window and in desktop full screen: where the window goes,
// where the picture goes on a monitor, and how a cursor position maps onto
// the back buffer. Platform-free, so all of it is tested natively;
// display_window_mode.cpp and display_desktop.cpp feed it the system's figures.

inline constexpr int MIN_WINDOW_SCALE = 1;
inline constexpr int MAX_WINDOW_SCALE = 4;

constexpr bool isWindowScale(int scale) {
    return scale >= MIN_WINDOW_SCALE && scale <= MAX_WINDOW_SCALE;
}

// A rectangle by its top-left corner and size, in screen pixels.
struct WindowBox {
    int left;
    int top;
    int width;
    int height;
};

// How far the window's outer edges lie outside its client area (the border,
// and the caption above).
struct WindowFrame {
    int left;
    int top;
    int right;
    int bottom;
};

// The outer box of a window whose client area is width * scale by
// height * scale, centred on the work area. A window larger than the work
// area keeps its top-left corner on it, so the caption stays in reach.
WindowBox windowBox(int width, int height, int scale, const WindowFrame& frame,
                    const WindowBox& workArea);

// A pixel of the back buffer (width by height).
struct BufferPoint {
    int x;
    int y;
};

// The back-buffer pixel under a point of the client area of a window at
// `scale`: each block of scale by scale pixels is one pixel of the buffer.
// Points outside the client area give the nearest pixel on its edge.
BufferPoint bufferPoint(int clientX, int clientY, int scale, int width, int height);

// The part of the buffer to copy when the client area's corner is at
// (cornerX, cornerY) on a screen of screenWidth by screenHeight: whole blocks
// only, those that lie on the screen. `source` is in buffer pixels, `target`
// in screen pixels; false when nothing of the client area is on the screen.
struct BlockCopy {
    WindowBox source;
    WindowBox target;
};
bool visibleBlocks(int cornerX, int cornerY, int scale, int width, int height, int screenWidth,
                   int screenHeight, BlockCopy& copy);
// The same within any box of the desktop: a monitor, or the whole virtual
// screen of several monitors (whose corner may lie left of or above 0, 0).
bool visibleBlocksWithin(int cornerX, int cornerY, int scale, int width, int height,
                         const WindowBox& bounds, BlockCopy& copy);

// Desktop full screen: the buffer (width by height) on a monitor at the
// largest whole scale that fits it, centred, black around. A monitor smaller
// than the buffer gets scale 1 with the buffer's top-left corner on the
// monitor's in that direction: the start of the text stays in sight and the
// rest is cut off, as a window larger than the work area keeps its corner.
struct DesktopPicture {
    int scale;
    int left;  // the picture's top-left corner, in screen pixels
    int top;
};
int desktopScale(int monitorWidth, int monitorHeight, int width, int height);
DesktopPicture desktopPicture(const WindowBox& monitor, int width, int height);

// The back-buffer pixel under a screen point in desktop full screen; points on
// the black border give the nearest pixel on the picture's edge.
BufferPoint desktopPoint(int screenX, int screenY, const WindowBox& monitor, int width, int height);
