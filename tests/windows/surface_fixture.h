#pragma once
// Bitmap surface tests on the real back surface: the test images, written as
// bitmap files into surface-files\ of the working directory once per run.
#include <string>

#include "bitmap_files.h"
#include "drawing_fixture.h"
#include "framework/surface/surface.h"

namespace surface_files {
constexpr const char* PATTERN_24 = "surface-files\\pattern24.bmp";  // 32 x 16, every pixel its own colour
constexpr const char* SMALL_24 = "surface-files\\small24.bmp";      // 8 x 4
constexpr const char* PALETTE_8 = "surface-files\\palette8.bmp";    // 32 x 16, 128 palette colours
constexpr const char* KEYED_24 = "surface-files\\keyed24.bmp";      // magenta around a green bar
constexpr const char* CORNER_24 = "surface-files\\corner24.bmp";    // yellow, cyan top-left and column 20
constexpr const char* NOT_BITMAP = "surface-files\\not-a-bitmap.bmp";
constexpr const char* MISSING = "surface-files\\missing.bmp";
// Also the name of a bitmap resource of the test executable (red and blue halves).
constexpr const char* DUAL = "DUALART";
}  // namespace surface_files

constexpr COLORREF MAGENTA = RGB(255, 0, 255);
constexpr COLORREF NEAR_MAGENTA = RGB(254, 0, 255);
constexpr COLORREF GREEN = RGB(0, 255, 0);
constexpr COLORREF YELLOW = RGB(255, 255, 0);
constexpr COLORREF CYAN = RGB(0, 255, 255);
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);

Image patternImage();
Image paletteImage();
Image keyedImage();
Image cornerImage();
Image dualFileImage();      // what the file DUALART holds: yellow
Image dualResourceImage();  // what the resource DUALART holds

class SurfaceTest : public DrawingTest {
protected:
    static void SetUpTestSuite();
    IDirectDraw* directDraw() { return display().screen.directDraw; }

    // Mismatching pixels of the image drawn with its corner at x, y (the
    // source rectangle `part` of it), described for a failure message.
    std::string differences(const PixelCapture& shot, const Image& image, int x, int y, RECT part);
    std::string differences(const PixelCapture& shot, const Image& image, int x, int y) {
        return differences(shot, image, x, y, RECT{0, 0, image.width, image.height});
    }
    // The content of an off-screen surface against an image.
    std::string surfaceDifferences(IDirectDrawSurface* surface, const Image& image);
    // A rectangle of the back surface that must be all one colour.
    std::string notAll(const PixelCapture& shot, RECT area, COLORREF color);
};
