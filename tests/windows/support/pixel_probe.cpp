#include "pixel_probe.h"

PixelCapture::PixelCapture(IDirectDrawSurface* surface, int left, int top, int right, int bottom)
    : left(left), top(top), right(right), bottom(bottom) {
    HDC dc = nullptr;
    if (FAILED(surface->GetDC(&dc))) {
        return;
    }
    read(dc);
    surface->ReleaseDC(dc);
}

PixelCapture::PixelCapture(HDC dc, int left, int top, int right, int bottom)
    : left(left), top(top), right(right), bottom(bottom) {
    read(dc);
}

void PixelCapture::read(HDC dc) {
    // Copy the area into a 32-bit DIB once: thousands of GetPixel calls
    // through Wine are slow.
    const int width = right - left;
    const int height = bottom - top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, dc, left, top, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const unsigned char*>(bits);
    pixels.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const unsigned char* p = source + i * 4;  // blue, green, red, unused
        pixels[i] = RGB(p[2], p[1], p[0]);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ok = true;
}

COLORREF PixelCapture::at(int x, int y) const {
    return pixels[static_cast<size_t>(y - top) * (right - left) + (x - left)];
}

int PixelCapture::count(COLORREF color) const {
    int n = 0;
    for (COLORREF pixel : pixels) {
        n += pixel == color;
    }
    return n;
}

bool PixelCapture::rowHas(int y, COLORREF color) const {
    for (int x = left; x < right; ++x) {
        if (at(x, y) == color) return true;
    }
    return false;
}

bool PixelCapture::columnHas(int x, COLORREF color) const {
    for (int y = top; y < bottom; ++y) {
        if (at(x, y) == color) return true;
    }
    return false;
}

int PixelCapture::rightmost(COLORREF color) const {
    for (int x = right - 1; x >= left; --x) {
        if (columnHas(x, color)) return x;
    }
    return -1;
}

int PixelCapture::lowest(COLORREF color) const {
    for (int y = bottom - 1; y >= top; --y) {
        if (rowHas(y, color)) return y;
    }
    return -1;
}

PixelCapture screenPixels(int left, int top, int right, int bottom) {
    HDC dc = GetDC(nullptr);
    PixelCapture pixels(dc, left, top, right, bottom);
    ReleaseDC(nullptr, dc);
    return pixels;
}
