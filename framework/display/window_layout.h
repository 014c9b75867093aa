#pragma once
// The Display in a window: where the window goes and how a cursor position
// in its client area maps onto the back buffer. Platform-free, so both are
// tested natively; display_window_mode.cpp feeds them the system's figures.

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
