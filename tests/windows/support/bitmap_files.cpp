#include "bitmap_files.h"

#include <cstdint>
#include <cstdio>
#include <map>

namespace {

void put16(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void put32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

// File header and BITMAPINFOHEADER for a bottom-up image.
std::string headers(const Image& image, int bits, int paletteEntries, std::uint32_t pixelBytes) {
    const std::uint32_t offset = 14 + 40 + 4 * static_cast<std::uint32_t>(paletteEntries);
    std::string out;
    out += "BM";
    put32(out, offset + pixelBytes);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(image.width));
    put32(out, static_cast<std::uint32_t>(image.height));
    put16(out, 1);
    put16(out, static_cast<std::uint16_t>(bits));
    put32(out, 0);  // BI_RGB
    put32(out, pixelBytes);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, static_cast<std::uint32_t>(paletteEntries));
    put32(out, 0);
    return out;
}

int rowBytes(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

}  // namespace

bool writeBytes(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

bool writeBitmap24(const std::string& path, const Image& image) {
    const int stride = rowBytes(image.width, 24);
    std::string out = headers(image, 24, 0, static_cast<std::uint32_t>(stride * image.height));
    for (int y = image.height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < image.width; ++x) {
            COLORREF c = image.at(x, y);
            row += static_cast<char>(GetBValue(c));
            row += static_cast<char>(GetGValue(c));
            row += static_cast<char>(GetRValue(c));
        }
        row.resize(static_cast<size_t>(stride), '\0');
        out += row;
    }
    return writeBytes(path, out);
}

bool writeBitmap8(const std::string& path, const Image& image) {
    std::map<COLORREF, int> index;
    std::vector<COLORREF> palette;
    for (COLORREF c : image.pixels) {
        if (index.emplace(c, static_cast<int>(palette.size())).second) palette.push_back(c);
    }
    if (palette.size() > 256) return false;
    const int stride = rowBytes(image.width, 8);
    std::string out =
        headers(image, 8, static_cast<int>(palette.size()), static_cast<std::uint32_t>(stride * image.height));
    for (COLORREF c : palette) {
        out += static_cast<char>(GetBValue(c));
        out += static_cast<char>(GetGValue(c));
        out += static_cast<char>(GetRValue(c));
        out += '\0';
    }
    for (int y = image.height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < image.width; ++x) row += static_cast<char>(index[image.at(x, y)]);
        row.resize(static_cast<size_t>(stride), '\0');
        out += row;
    }
    return writeBytes(path, out);
}

int bitmapFileBits(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return 0;
    unsigned char header[30] = {};
    size_t got = std::fread(header, 1, sizeof header, file);
    std::fclose(file);
    if (got < sizeof header || header[0] != 'B' || header[1] != 'M') return 0;
    return header[28] | (header[29] << 8);
}
