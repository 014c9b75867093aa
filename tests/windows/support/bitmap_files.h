#pragma once
// Windows bitmap files written by the tests, so that every pixel is known:
// an image is a width x height grid of colours, top row first.
#include <string>
#include <vector>

#include <windows.h>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // row-major, top row first

    Image(int w, int h, COLORREF fill) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}
    COLORREF& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// 24 bits per pixel, bottom-up rows padded to four bytes.
bool writeBitmap24(const std::string& path, const Image& image);
// 8 bits per pixel with a palette of the image's distinct colours (at most 256).
bool writeBitmap8(const std::string& path, const Image& image);
// Any bytes, for files that are not bitmaps.
bool writeBytes(const std::string& path, const std::string& bytes);
// Bits per pixel of a bitmap file's header; 0 when it has none.
int bitmapFileBits(const std::string& path);
