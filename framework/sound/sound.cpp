// The Sound: one static buffer, loaded once, played once per play call.
#include "framework/sound/sound.h"

#include "framework/display/display.h"

Sound::~Sound() { release(); }

bool Sound::holdsBuffer() {
    if (buffer && generation != directSoundGeneration) {
        buffer = nullptr;
    }
    return buffer != nullptr;
}

bool Sound::load(IDirectSound* directSound, const char* name) {
    if (!soundAvailable) {
        return false;
    }
    // Loading over a loaded Sound must not leak the old buffer.
    release();
    buffer = createWaveBuffer(directSound, name);
    generation = directSoundGeneration;
    return buffer != nullptr;
}

void Sound::play() {
    if (soundAvailable && holdsBuffer()) {
        buffer->Play(0, 0, 0);
    }
}

bool Sound::isPlaying() {
    if (!soundAvailable || !holdsBuffer()) {
        return false;
    }
    DWORD status = 0;
    if (FAILED(buffer->GetStatus(&status))) {
        return false;
    }
    return (status & DSBSTATUS_PLAYING) != 0;
}

void Sound::release() {
    if (holdsBuffer()) {
        buffer->Release();
        buffer = nullptr;
    }
}
