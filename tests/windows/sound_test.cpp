// Sounds from WAVE resources linked into this executable (sound/
// make_test_waves.sh), on the real DirectSound of Wine. CTest runs the
// executable twice: with HOME at a folder whose .asoundrc gives ALSA a null
// device (KORVANE_EXPECT_SOUND=1), and with HOME at a folder without one
// (KORVANE_EXPECT_SOUND=0), where there is no sound device at all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/display/display.h"
#include "framework/sound/sound.h"

namespace {

Display display;

// The sample bytes of pattern.wav and data_first.wav.
std::vector<BYTE> pattern(std::size_t count, BYTE seed) {
    std::vector<BYTE> bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<BYTE>(seed + 7 * i);
    return bytes;
}

std::vector<BYTE> bufferBytes(IDirectSoundBuffer* buffer) {
    DSBCAPS caps{};
    caps.dwSize = sizeof caps;
    if (FAILED(buffer->GetCaps(&caps))) return {};
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstSize = 0;
    DWORD secondSize = 0;
    if (FAILED(buffer->Lock(0, caps.dwBufferBytes, &first, &firstSize, &second, &secondSize, 0))) return {};
    std::vector<BYTE> bytes(static_cast<BYTE*>(first), static_cast<BYTE*>(first) + firstSize);
    if (second) bytes.insert(bytes.end(), static_cast<BYTE*>(second), static_cast<BYTE*>(second) + secondSize);
    buffer->Unlock(first, firstSize, second, secondSize);
    return bytes;
}

// The reference count an interface holds now.
ULONG references(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

class SoundEnvironment : public ::testing::Environment {
public:
    void SetUp() override { soundAvailable = display.initSound(); }
    void TearDown() override { display.releaseDevices(); }
};
const auto* environment = ::testing::AddGlobalTestEnvironment(new SoundEnvironment);

bool expectSound() {
    const char* expected = std::getenv("KORVANE_EXPECT_SOUND");
    return expected && std::strcmp(expected, "1") == 0;
}

class WithSound : public ::testing::Test {
protected:
    void SetUp() override {
        if (!soundAvailable) GTEST_SKIP() << "this run has no sound device (HOME without .asoundrc)";
    }
};

class WithoutSound : public ::testing::Test {
protected:
    void SetUp() override {
        if (soundAvailable) GTEST_SKIP() << "this run has a sound device (the ALSA null device)";
    }
};

TEST(SoundSetUp, AvailableExactlyWhenThisRunHasADevice) {
    EXPECT_EQ(soundAvailable, expectSound()) << "KORVANE_EXPECT_SOUND says whether HOME holds a null device";
    EXPECT_EQ(soundAvailable, display.directSound != nullptr);
}

TEST_F(WithSound, LoadedBufferHoldsExactlyTheSampleBytes) {
    struct Case {
        const char* name;
        std::vector<BYTE> samples;
    };
    const Case cases[] = {
        {"PATTERN", pattern(1000, 1)},
        {"DATA_FIRST", pattern(501, 3)},  // data before fmt, an odd chunk between
        {"RIFF_SLIGHTLY_SHORT", pattern(100, 1)},  // data crosses the RIFF end, inside the resource
        {"OLD_FORMAT", pattern(100, 1)},           // the 14-byte format record, data right after it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sound sound;
        ASSERT_TRUE(display.loadSound(sound, c.name));
        ASSERT_NE(sound.buffer, nullptr);
        EXPECT_EQ(bufferBytes(sound.buffer), c.samples);
        WAVEFORMATEX format{};
        EXPECT_EQ(sound.buffer->GetFormat(&format, sizeof format, nullptr), DS_OK);
        EXPECT_EQ(format.nSamplesPerSec, 22050u);
        EXPECT_EQ(format.wBitsPerSample, 8);
    }
}

TEST_F(WithSound, PlayStartsAndTheSoundEndsByItself) {
    Sound sound;
    ASSERT_TRUE(display.loadSound(sound, "TONE"));
    EXPECT_FALSE(sound.isPlaying()) << "before play";
    sound.play();
    EXPECT_TRUE(sound.isPlaying()) << "just after play";
    // One second of samples; the null device consumes faster than real time.
    const DWORD start = GetTickCount();
    while (sound.isPlaying() && GetTickCount() - start < 15000) Sleep(10);
    EXPECT_FALSE(sound.isPlaying()) << "a sound played once stops at its end";
}

TEST_F(WithSound, FailedLoadLeavesNoBufferAndPlaysNothing) {
    for (const char* name : {"MISSING", "SHORT_FORMAT", "EMPTY_DATA", "RIFF_SHORT", "CROSSES_END", "NOT_WAVE"}) {
        SCOPED_TRACE(name);
        Sound sound;
        EXPECT_FALSE(display.loadSound(sound, name));
        EXPECT_EQ(sound.buffer, nullptr);
        sound.play();
        EXPECT_FALSE(sound.isPlaying());
    }
    Sound noDevice;
    EXPECT_FALSE(noDevice.load(nullptr, "TONE")) << "no DirectSound object";
    EXPECT_EQ(noDevice.buffer, nullptr);
}

TEST_F(WithSound, ReleaseThenDestructionReleasesOnce) {
    IDirectSoundBuffer* buffer = nullptr;
    {
        Sound sound;
        ASSERT_TRUE(display.loadSound(sound, "PATTERN"));
        buffer = sound.buffer;
        buffer->AddRef();  // our own reference keeps it alive to count
        ASSERT_EQ(references(buffer), 2u);
        sound.release();
        EXPECT_EQ(sound.buffer, nullptr) << "a released Sound forgets its buffer";
        EXPECT_EQ(references(buffer), 1u);
        sound.release();  // nothing left to release
    }
    EXPECT_EQ(references(buffer), 1u) << "destruction did not release again";
    EXPECT_EQ(buffer->Release(), 0u);

    {
        Sound sound;
        ASSERT_TRUE(display.loadSound(sound, "PATTERN"));
        buffer = sound.buffer;
        buffer->AddRef();
    }
    EXPECT_EQ(references(buffer), 1u) << "destruction released the held buffer";
    EXPECT_EQ(buffer->Release(), 0u);
}

TEST_F(WithSound, LoadOverALoadedSoundReleasesTheOldBuffer) {
    Sound sound;
    ASSERT_TRUE(display.loadSound(sound, "PATTERN"));
    IDirectSoundBuffer* old = sound.buffer;
    old->AddRef();
    ASSERT_TRUE(display.loadSound(sound, "DATA_FIRST"));
    EXPECT_NE(sound.buffer, old);
    EXPECT_EQ(references(old), 1u) << "only our own reference is left";
    EXPECT_EQ(old->Release(), 0u);
    EXPECT_EQ(bufferBytes(sound.buffer), pattern(501, 3));

    ASSERT_TRUE(display.loadSound(sound, "PATTERN"));
    old = sound.buffer;
    old->AddRef();
    EXPECT_FALSE(display.loadSound(sound, "MISSING")) << "a failed load over a loaded Sound";
    EXPECT_EQ(sound.buffer, nullptr);
    EXPECT_EQ(references(old), 1u);
    EXPECT_EQ(old->Release(), 0u);
}

TEST_F(WithSound, ReloadRestoresTheSamples) {
    Sound sound;
    ASSERT_TRUE(display.loadSound(sound, "PATTERN"));
    const std::vector<BYTE> zeros(1000, 0);
    ASSERT_TRUE(fillWaveBuffer(sound.buffer, zeros.data(), 1000));
    ASSERT_EQ(bufferBytes(sound.buffer), zeros);
    EXPECT_TRUE(reloadWaveBuffer(sound.buffer, "PATTERN"));
    EXPECT_EQ(bufferBytes(sound.buffer), pattern(1000, 1));
    EXPECT_FALSE(reloadWaveBuffer(sound.buffer, "MISSING"));
    EXPECT_FALSE(reloadWaveBuffer(nullptr, "PATTERN"));
}

TEST_F(WithSound, FillRefusesMissingBufferDataOrLength) {
    Sound sound;
    ASSERT_TRUE(display.loadSound(sound, "PATTERN"));
    const std::vector<BYTE> bytes(2000, 0x55);
    EXPECT_FALSE(fillWaveBuffer(nullptr, bytes.data(), 10));
    EXPECT_FALSE(fillWaveBuffer(sound.buffer, nullptr, 10));
    EXPECT_FALSE(fillWaveBuffer(sound.buffer, bytes.data(), 0));
    EXPECT_EQ(bufferBytes(sound.buffer), pattern(1000, 1)) << "untouched";
    EXPECT_FALSE(fillWaveBuffer(sound.buffer, bytes.data(), 2000)) << "longer than the buffer";
}

TEST_F(WithSound, CreateWaveBufferNeedsADevice) {
    EXPECT_EQ(createWaveBuffer(nullptr, "PATTERN"), nullptr);
    IDirectSoundBuffer* buffer = createWaveBuffer(display.directSound, "PATTERN");
    ASSERT_NE(buffer, nullptr);
    DSBCAPS caps{};
    caps.dwSize = sizeof caps;
    ASSERT_EQ(buffer->GetCaps(&caps), DS_OK);
    EXPECT_EQ(caps.dwBufferBytes, 1000u);
    EXPECT_TRUE(caps.dwFlags & DSBCAPS_STATIC);
    EXPECT_EQ(buffer->Release(), 0u);
}

// Finding resources works with or without a device.
TEST(WaveResource, FoundAndParsedWithinTheResourceSize) {
    const WAVEFORMATEX* format = nullptr;
    const void* data = nullptr;
    DWORD length = 0;
    ASSERT_TRUE(findWaveResource(nullptr, "DATA_FIRST", &format, &data, &length));
    EXPECT_EQ(format->wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format->nChannels, 1);
    EXPECT_EQ(length, 501u);
    EXPECT_EQ(std::memcmp(data, pattern(501, 3).data(), 501), 0);

    EXPECT_TRUE(findWaveResource(GetModuleHandleA(nullptr), "PATTERN", nullptr, nullptr, &length));
    EXPECT_EQ(length, 1000u);
    EXPECT_TRUE(findWaveResource(nullptr, "PATTERN", &format, nullptr, nullptr));

    // The RIFF length claims bytes beyond the resource: refused, not read.
    EXPECT_FALSE(findWaveResource(nullptr, "CROSSES_END", &format, &data, &length));
    EXPECT_EQ(format, nullptr);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_FALSE(findWaveResource(nullptr, "MISSING", &format, &data, &length));
    EXPECT_FALSE(findWaveResource(nullptr, "RIFF_SHORT", &format, &data, &length));
}

TEST_F(WithoutSound, EveryOperationDoesNothing) {
    EXPECT_EQ(display.directSound, nullptr);
    Sound sound;
    EXPECT_FALSE(display.loadSound(sound, "TONE"));
    EXPECT_EQ(sound.buffer, nullptr);

    // A buffer pointer that must not be touched: any call through it would
    // crash on this fake object's missing table.
    void* untouchable[4] = {};
    auto* fake = reinterpret_cast<IDirectSoundBuffer*>(untouchable);
    sound.buffer = fake;
    EXPECT_FALSE(sound.load(display.directSound, "TONE"));
    EXPECT_EQ(sound.buffer, fake) << "load leaves the buffer alone";
    sound.play();
    EXPECT_FALSE(sound.isPlaying());
    sound.buffer = nullptr;
}

// The DirectSound object takes its buffers with it when it goes: a Sound
// loaded before Display::releaseDevices (as Display::run ends) must not call
// its buffer again, neither in release nor in play, isPlaying or its
// destruction, also once another open makes sound available again. The test
// keeps the object and the buffer alive with references of its own, so that
// a call the Sound must not make shows in the buffer's count instead of
// touching freed memory.
TEST_F(WithSound, ReleasingTheDevicesEndsSound) {
    Display other{};
    ASSERT_TRUE(other.initSound());
    IDirectSound* device = other.directSound;
    device->AddRef();
    IDirectSoundBuffer* kept[2] = {};
    {
        Sound released;
        Sound destroyed;
        ASSERT_TRUE(other.loadSound(released, "PATTERN"));
        ASSERT_TRUE(other.loadSound(destroyed, "PATTERN"));
        kept[0] = released.buffer;
        kept[1] = destroyed.buffer;
        for (IDirectSoundBuffer* buffer : kept) buffer->AddRef();
        other.releaseDevices();
        EXPECT_FALSE(soundAvailable);
        released.release();
        EXPECT_EQ(released.buffer, nullptr) << "forgotten";
        EXPECT_EQ(references(kept[0]), 2u) << "release called the buffer of a released device";

        // Opened again: sound is available, and the old buffers stay gone.
        soundAvailable = other.initSound();
        ASSERT_TRUE(soundAvailable);
        destroyed.play();
        EXPECT_FALSE(destroyed.isPlaying()) << "play reached the buffer of a released device";
    }
    EXPECT_EQ(references(kept[1]), 2u) << "destruction called the buffer of a released device";
    for (IDirectSoundBuffer* buffer : kept) buffer->Release();
    device->Release();
    other.releaseDevices();
    soundAvailable = display.directSound != nullptr;
}

}  // namespace
