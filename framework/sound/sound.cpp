// The Sound: one static buffer, loaded once, played once per play call.
#include "framework/sound/sound.h"

#include "framework/display/display.h"

Sound::~Sound() {
    if (soundAvailable && buffer) {
        buffer->Release();
        buffer = nullptr;
    }
}

bool Sound::load(IDirectSound* directSound, const char* name) {
    if (!soundAvailable) {
        return false;
    }
    // Loading over a loaded Sound must not leak the old buffer.
    release();
    buffer = createWaveBuffer(directSound, name);
    return buffer != nullptr;
}

void Sound::play() {
    if (soundAvailable && buffer) {
        buffer->Play(0, 0, 0);
    }
}

bool Sound::isPlaying() {
    if (!soundAvailable || !buffer) {
        return false;
    }
    DWORD status = 0;
    if (FAILED(buffer->GetStatus(&status))) {
        return false;
    }
    return (status & DSBSTATUS_PLAYING) != 0;
}

void Sound::release() {
    if (buffer) {
        buffer->Release();
        buffer = nullptr;
    }
}
