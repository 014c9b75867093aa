// parseWave: chunk order, padding, short and empty chunks, the RIFF length,
// unwanted out-parameters, and the bound of the image's size (every image is
// parsed from a heap copy of exactly its size, so ASan sees any read past it).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "framework/sound/wave_format.h"
#include "wave_image.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Want {
    bool format = true;
    bool data = true;
    bool length = true;
};

// Offsets into the image instead of pointers; -1 for null, -2 for not asked.
struct Parsed {
    bool ok = false;
    long format = -2;
    long data = -2;
    long length = -2;
};

Parsed parse(const Bytes& image, std::size_t size, Want want = {}) {
    std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[size == 0 ? 1 : size]);
    if (size) std::memcpy(copy.get(), image.data(), size);
    const void* format = &format;  // a value parseWave must overwrite
    const void* data = &data;
    std::uint32_t length = 12345;
    Parsed parsed;
    parsed.ok = parseWave(copy.get(), size, want.format ? &format : nullptr, want.data ? &data : nullptr,
                          want.length ? &length : nullptr);
    auto offset = [&](const void* p) {
        return p ? static_cast<long>(static_cast<const std::uint8_t*>(p) - copy.get()) : -1L;
    };
    if (want.format) parsed.format = offset(format);
    if (want.data) parsed.data = offset(data);
    if (want.length) parsed.length = static_cast<long>(length);
    return parsed;
}

Parsed parse(const Bytes& image, Want want = {}) { return parse(image, image.size(), want); }

// "RIFF" length "WAVE" takes 12 bytes, a chunk header 8.
constexpr long FIRST_BODY = 20;

TEST(ParseWave, FindsFormatAndDataInAnyLayout) {
    const Bytes samples = WaveImage::pattern(10);
    struct Case {
        const char* name;
        Bytes image;
        long format;
        long data;
    };
    const Case cases[] = {
        {"fmt then data", WaveImage().format().samples(samples).bytes(), FIRST_BODY, FIRST_BODY + 16 + 8},
        {"data before fmt", WaveImage().samples(samples).format().bytes(), FIRST_BODY + 10 + 8, FIRST_BODY},
        {"another chunk between", WaveImage().format().chunk("LIST", Bytes(6, 'x')).samples(samples).bytes(),
         FIRST_BODY, FIRST_BODY + 16 + 8 + 6 + 8},
        {"odd chunk and its pad byte", WaveImage().chunk("junk", Bytes(5, 'j')).format().samples(samples).bytes(),
         FIRST_BODY + 6 + 8, FIRST_BODY + 6 + 8 + 16 + 8},
        {"18-byte fmt with cbSize", WaveImage().format(18).samples(samples).bytes(), FIRST_BODY, FIRST_BODY + 18 + 8},
        {"second fmt and data ignored", WaveImage().format().samples(samples).format(40).samples(Bytes(3, 0)).bytes(),
         FIRST_BODY, FIRST_BODY + 16 + 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Parsed parsed = parse(c.image);
        EXPECT_TRUE(parsed.ok);
        EXPECT_EQ(parsed.format, c.format);
        EXPECT_EQ(parsed.data, c.data);
        EXPECT_EQ(parsed.length, 10);
    }
}

TEST(ParseWave, OddChunkWithoutPadByteMisplacesTheNextChunk) {
    // The walk skips one pad byte after an odd body whether it is there or not.
    const Bytes image = WaveImage().chunk("junk", Bytes(5, 'j'), false).format().samples(Bytes(4, 1)).bytes();
    EXPECT_FALSE(parse(image).ok);
}

TEST(ParseWave, ShortFormatFailsTheWholeParse) {
    const Bytes samples = WaveImage::pattern(8);
    EXPECT_FALSE(parse(WaveImage().format(12).samples(samples).bytes()).ok) << "12-byte fmt before data";
    EXPECT_FALSE(parse(WaveImage().samples(samples).format(12).bytes()).ok) << "12-byte fmt after data";
    EXPECT_FALSE(parse(WaveImage().format(13).samples(samples).format().bytes()).ok) << "13 bytes";
    EXPECT_TRUE(parse(WaveImage().format(14).samples(samples).bytes()).ok) << "14 bytes is enough";
    // Not wanted, a short fmt is only skipped.
    EXPECT_TRUE(parse(WaveImage().format(12).samples(samples).bytes(), {false, true, true}).ok);
}

TEST(ParseWave, EmptyDataCountsOnlyAfterTheFormat) {
    const Bytes samples = WaveImage::pattern(6);
    struct Case {
        const char* name;
        Bytes image;
        bool ok;
        long length;
    };
    const Case cases[] = {
        {"fmt then empty data", WaveImage().format().samples({}).bytes(), true, 0},
        {"empty data then fmt, nothing after", WaveImage().samples({}).format().bytes(), false, 0},
        {"empty data, fmt, then real data", WaveImage().samples({}).format().samples(samples).bytes(), true, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Parsed parsed = parse(c.image);
        EXPECT_EQ(parsed.ok, c.ok);
        EXPECT_EQ(parsed.length, c.length);
    }
    const Parsed later = parse(WaveImage().samples({}).format().samples(samples).bytes());
    EXPECT_EQ(later.data, FIRST_BODY + 8 + 16 + 8) << "the later data chunk's body";
}

// The RIFF length says which chunks are read (those whose header starts
// before its end); the image's size alone bounds what a chunk may hold.
TEST(ParseWave, RiffLengthBoundsTheWalk) {
    const WaveImage base = WaveImage().format().chunk("LIST", Bytes(4, 'l')).samples(Bytes(4, 9));
    const std::uint32_t full = static_cast<std::uint32_t>(base.bytes().size() - 8);
    const std::uint32_t beforeData = 4 + 8 + 16 + 8 + 4;
    EXPECT_FALSE(parse(WaveImage(base).riffLength(beforeData).bytes()).ok) << "ends before data";
    EXPECT_TRUE(parse(WaveImage(base).riffLength(beforeData + 4).bytes()).ok) << "ends inside data's header";
    EXPECT_TRUE(parse(WaveImage(base).riffLength(full - 1).bytes()).ok) << "ends inside data's body";
    EXPECT_TRUE(parse(WaveImage(base).riffLength(full).bytes()).ok) << "exact";
    // The image's size bounds the walk too: a RIFF length beyond it does not
    // matter while the chunks fit.
    EXPECT_TRUE(parse(WaveImage(base).riffLength(0xFFFFFFFFu).bytes()).ok) << "RIFF length of 4 GB";
    EXPECT_FALSE(parse(WaveImage(base).riffLength(0).bytes()).ok) << "RIFF length 0";
}

TEST(ParseWave, ChunkCrossingTheEndIsRefused) {
    struct Case {
        const char* name;
        Bytes image;
    };
    const Case cases[] = {
        {"data longer than the image", WaveImage().format().header("data", 100).append(Bytes(10, 1)).bytes()},
        {"data length 4 GB", WaveImage().format().header("data", 0xFFFFFFFFu).append(Bytes(10, 1)).bytes()},
        {"fmt longer than the image",
         WaveImage().samples(Bytes(4, 1)).header("fmt ", 200).append(Bytes(16, 0)).bytes()},
        {"skipped chunk longer than the image", WaveImage().header("LIST", 0xFFFFFFF0u).append(Bytes(8, 0)).bytes()},
        {"half a chunk header at the end", WaveImage().format().append({'d', 'a', 't', 'a', 4}).bytes()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Parsed parsed = parse(c.image);
        EXPECT_FALSE(parsed.ok);
        EXPECT_EQ(parsed.format, -1) << "a failed parse hands nothing out";
        EXPECT_EQ(parsed.data, -1);
        EXPECT_EQ(parsed.length, 0);
    }
}

TEST(ParseWave, RefusesWhatIsNotRiffWave) {
    const Bytes good = WaveImage().format().samples(Bytes(4, 1)).bytes();
    Bytes rifx = good;
    rifx[3] = 'X';
    Bytes avi = good;
    std::memcpy(&avi[8], "AVI ", 4);
    EXPECT_FALSE(parse(rifx).ok) << "RIFX";
    EXPECT_FALSE(parse(avi).ok) << "AVI";
    EXPECT_FALSE(parse(Bytes(), 0).ok) << "empty";
    EXPECT_FALSE(parseWave(nullptr, 100, nullptr, nullptr, nullptr)) << "no image";
    const void* format = &format;
    EXPECT_FALSE(parseWave(nullptr, 0, &format, nullptr, nullptr));
    EXPECT_EQ(format, nullptr) << "emptied even when the image is missing";
}

TEST(ParseWave, OutParametersMayEachBeNull) {
    const Bytes samples = WaveImage::pattern(9);
    const Bytes image = WaveImage().samples(samples).chunk("LIST", Bytes(3, 'l')).format().bytes();
    const long data = FIRST_BODY;
    const long format = FIRST_BODY + 10 + 8 + 4 + 8;

    const Parsed noFormat = parse(image, {false, true, true});
    EXPECT_TRUE(noFormat.ok);
    EXPECT_EQ(noFormat.format, -2);
    EXPECT_EQ(noFormat.data, data);
    EXPECT_EQ(noFormat.length, 9);

    const Parsed noData = parse(image, {true, false, true});
    EXPECT_TRUE(noData.ok);
    EXPECT_EQ(noData.format, format);
    EXPECT_EQ(noData.length, 9);

    const Parsed noLength = parse(image, {true, true, false});
    EXPECT_TRUE(noLength.ok);
    EXPECT_EQ(noLength.format, format);
    EXPECT_EQ(noLength.data, data);

    const Parsed formatOnly = parse(WaveImage().format().bytes(), {true, false, false});
    EXPECT_TRUE(formatOnly.ok) << "a format alone satisfies a caller who wants only the format";

    // Wanting nothing, the walk has nothing to find.
    EXPECT_FALSE(parse(image, {false, false, false}).ok);
}

// Each prefix of a valid image, from 0 bytes to all of it, keeping the RIFF
// length of the whole image: only the whole image parses, and none is read
// past its size.
TEST(ParseWave, EveryTruncationFailsWithinItsSize) {
    const Bytes images[] = {
        WaveImage().format().chunk("LIST", Bytes(5, 'l')).samples(WaveImage::pattern(33)).bytes(),
        WaveImage().samples(WaveImage::pattern(7)).chunk("junk", Bytes(2, 'j')).format(18).bytes(),
    };
    for (const Bytes& image : images) {
        // A prefix satisfies a caller once it holds the whole body of every
        // chunk that caller wants.
        const Parsed full = parse(image);
        const long formatEnd = full.format + image[static_cast<std::size_t>(full.format) - 4];
        const long dataEnd = full.data + full.length;
        for (std::size_t size = 0; size <= image.size(); ++size) {
            SCOPED_TRACE(size);
            const long held = static_cast<long>(size);
            EXPECT_EQ(parse(image, size).ok, held >= formatEnd && held >= dataEnd);
            EXPECT_EQ(parse(image, size, {false, true, true}).ok, held >= dataEnd);
            EXPECT_EQ(parse(image, size, {true, false, false}).ok, held >= formatEnd);
        }
        EXPECT_TRUE(parse(image).ok);
    }
}

}  // namespace
