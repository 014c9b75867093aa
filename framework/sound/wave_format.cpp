// The chunk walk of a WAVE image: chunks that start before the RIFF end,
// each bounded by the image's size, so that a damaged or truncated image is
// refused rather than read past its end.
#include "framework/sound/wave_format.h"

#include <cstring>

namespace {

std::uint32_t readLe32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

bool hasId(const unsigned char* bytes, const char* id) {
    return std::memcmp(bytes, id, 4) == 0;
}

constexpr std::size_t CHUNK_HEADER_SIZE = 8;
constexpr std::size_t WAVE_HEADER_SIZE = 12;

bool walkChunks(const void* image, std::size_t size, const void** format, const void** data,
                std::uint32_t* length) {
    const auto* bytes = static_cast<const unsigned char*>(image);
    if (!bytes || size < WAVE_HEADER_SIZE || !hasId(bytes, "RIFF") || !hasId(bytes + 8, "WAVE")) {
        return false;
    }
    // Offsets, not addresses: 8 + a RIFF length near 4 GB must not wrap.
    const std::uint64_t riffEnd = 8u + static_cast<std::uint64_t>(readLe32(bytes + 4));

    bool formatFound = false;
    bool dataFound = false;
    std::uint64_t position = WAVE_HEADER_SIZE;
    // A chunk is read when its header starts before the RIFF end, and must
    // lie within the image's size, which alone bounds every read: a RIFF
    // length a little too small (a common writer's mistake) loses nothing.
    while (position < riffEnd) {
        if (position + CHUNK_HEADER_SIZE > size) return false;
        const unsigned char* header = bytes + position;
        const std::uint32_t chunkLength = readLe32(header + 4);
        const std::uint64_t body = position + CHUNK_HEADER_SIZE;
        if (chunkLength > size - body) return false;

        if (hasId(header, "fmt ") && format && !formatFound) {
            if (chunkLength < WAVE_FORMAT_MIN_SIZE) return false;
            *format = bytes + body;
            formatFound = true;
            if ((!data || dataFound) && (!length || *length != 0)) return true;
        } else if (hasId(header, "data") && ((data && !dataFound) || (length && *length == 0))) {
            if (data) {
                *data = bytes + body;
                dataFound = true;
            }
            if (length) *length = chunkLength;
            if (!format || formatFound) return true;
        }
        position = body + ((static_cast<std::uint64_t>(chunkLength) + 1u) & ~std::uint64_t{1});
    }
    return false;
}

}  // namespace

bool parseWave(const void* image, std::size_t size, const void** format, const void** data,
               std::uint32_t* length) {
    if (format) *format = nullptr;
    if (data) *data = nullptr;
    if (length) *length = 0;
    if (walkChunks(image, size, format, data, length)) return true;
    // A failed parse hands out nothing, not the half it found.
    if (format) *format = nullptr;
    if (data) *data = nullptr;
    if (length) *length = 0;
    return false;
}

std::uint32_t waveFormatLength(const void* formatBody) {
    return readLe32(static_cast<const unsigned char*>(formatBody) - 4);
}
