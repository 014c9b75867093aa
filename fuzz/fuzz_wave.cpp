// parseWave on arbitrary bytes, copied into a heap buffer of exactly the
// input's size so that AddressSanitizer sees any read past it. Every wanted
// set of out-parameters is tried; what comes back must lie inside the image
// and be what it claims: a "fmt " body of at least 14 bytes, a "data" body
// of the length handed out.
#include <cstdint>
#include <cstring>
#include <memory>

#include "framework/sound/wave_format.h"
#include "fuzz_support.h"

namespace {

std::uint32_t readLe32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void check(bool ok, const char* what) {
    if (!ok) fuzzFail(what, "parseWave");
}

// The chunk whose body starts at `body`: its header lies inside the image,
// carries `id`, and the body of its length fits in the image.
void checkChunk(const std::uint8_t* image, std::size_t size, const void* body, const char* id, std::uint32_t atLeast,
                const std::uint32_t* length) {
    const auto* p = static_cast<const std::uint8_t*>(body);
    check(p >= image + 20 && p <= image + size, "body outside the image");
    const std::size_t offset = static_cast<std::size_t>(p - image);
    check(std::memcmp(p - 8, id, 4) == 0, "body without its chunk id");
    const std::uint32_t chunkLength = readLe32(p - 4);
    check(chunkLength >= atLeast, "chunk shorter than required");
    check(chunkLength <= size - offset, "chunk body crosses the image's end");
    check(offset % 2 == 0, "chunk body at an odd offset");
    if (length) check(*length == chunkLength, "length differs from the chunk's");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    std::unique_ptr<std::uint8_t[]> image(new std::uint8_t[size]);
    if (size) std::memcpy(image.get(), input, size);

    bool anyFound = false;
    for (int wanted = 0; wanted < 8; ++wanted) {
        const bool wantFormat = wanted & 1, wantData = wanted & 2, wantLength = wanted & 4;
        const void* format = image.get();
        const void* data = image.get();
        std::uint32_t length = 0xDEADBEEF;
        const bool ok = parseWave(image.get(), size, wantFormat ? &format : nullptr, wantData ? &data : nullptr,
                                  wantLength ? &length : nullptr);
        if (!ok) {
            check(!wantFormat || format == nullptr, "format left after a failure");
            check(!wantData || data == nullptr, "data left after a failure");
            check(!wantLength || length == 0, "length left after a failure");
            continue;
        }
        check(wanted != 0, "success with nothing wanted");
        check(size >= 12 && std::memcmp(image.get(), "RIFF", 4) == 0 && std::memcmp(image.get() + 8, "WAVE", 4) == 0,
              "success without RIFF/WAVE");
        if (wantFormat) checkChunk(image.get(), size, format, "fmt ", WAVE_FORMAT_MIN_SIZE, nullptr);
        if (wantData) checkChunk(image.get(), size, data, "data", 0, wantLength ? &length : nullptr);
        if (wantFormat && wantData && wantLength) anyFound = true;
    }
    // A full success means each part alone is found too.
    if (anyFound) {
        const void* format = nullptr;
        check(parseWave(image.get(), size, &format, nullptr, nullptr), "format alone not found");
    }
    return 0;
}
