#include "surface_fixture.h"

#include <sstream>

Image patternImage() {
    Image image(32, 16, 0);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) image.at(x, y) = RGB(8 * x, 16 * y, 0x40 + x);
    return image;
}

Image paletteImage() {
    Image image(32, 16, 0);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) image.at(x, y) = RGB(16 * (x / 2), 32 * (y / 2), 0xC0);
    return image;
}

Image keyedImage() {
    Image image(32, 16, MAGENTA);
    for (int y = 4; y < 12; ++y)
        for (int x = 8; x < 24; ++x) image.at(x, y) = GREEN;
    image.at(5, 5) = NEAR_MAGENTA;
    return image;
}

Image cornerImage() {
    Image image(32, 16, YELLOW);
    image.at(0, 0) = CYAN;
    for (int y = 0; y < image.height; ++y) image.at(20, y) = CYAN;
    return image;
}

Image dualFileImage() { return Image(32, 16, YELLOW); }

Image dualResourceImage() {
    Image image(32, 16, RED);
    for (int y = 0; y < image.height; ++y)
        for (int x = 16; x < 32; ++x) image.at(x, y) = BLUE;
    return image;
}

void SurfaceTest::SetUpTestSuite() {
    DrawingTest::SetUpTestSuite();
    using namespace surface_files;
    CreateDirectoryA("surface-files", nullptr);
    bool written = writeBitmap24(PATTERN_24, patternImage()) && writeBitmap24(SMALL_24, Image(8, 4, GREEN)) &&
                   writeBitmap8(PALETTE_8, paletteImage()) && writeBitmap24(KEYED_24, keyedImage()) &&
                   writeBitmap24(CORNER_24, cornerImage()) && writeBitmap24(DUAL, dualFileImage()) &&
                   writeBytes(NOT_BITMAP, "BM this is text, not a bitmap\n");
    DeleteFileA(MISSING);
    ASSERT_TRUE(written) << "could not write the test bitmaps";
    ASSERT_EQ(bitmapFileBits(PALETTE_8), 8);
    ASSERT_EQ(bitmapFileBits(PATTERN_24), 24);
}

std::string SurfaceTest::differences(const PixelCapture& shot, const Image& image, int x, int y, RECT part) {
    std::ostringstream out;
    int wrong = 0;
    for (int sy = part.top; sy < part.bottom; ++sy) {
        for (int sx = part.left; sx < part.right; ++sx) {
            COLORREF got = shot.at(x + sx - part.left, y + sy - part.top);
            if (got != image.at(sx, sy) && wrong++ < 5) {
                out << " image pixel " << sx << "," << sy << ": 0x" << std::hex << got << " for 0x" << image.at(sx, sy)
                    << std::dec << ";";
            }
        }
    }
    if (wrong) out << " " << wrong << " pixels wrong";
    return out.str();
}

std::string SurfaceTest::surfaceDifferences(IDirectDrawSurface* surface, const Image& image) {
    PixelCapture shot(surface, 0, 0, image.width, image.height);
    if (!shot.valid()) return "the surface gives no device context";
    return differences(shot, image, 0, 0);
}

std::string SurfaceTest::notAll(const PixelCapture& shot, RECT area, COLORREF color) {
    std::ostringstream out;
    int wrong = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (shot.at(x, y) != color && wrong++ < 5) {
                out << " " << x << "," << y << ": 0x" << std::hex << shot.at(x, y) << std::dec << ";";
            }
        }
    }
    if (wrong) out << " " << wrong << " pixels not 0x" << std::hex << color;
    return out.str();
}
