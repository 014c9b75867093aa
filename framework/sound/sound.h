#pragma once
// Sounds from WAVE resources: one static DirectSound buffer per Sound, filled
// once from a resource of type "WAVE" in the program's own module. Every
// Sound operation does nothing while soundAvailable is false, so a program
// runs on without a sound device.
//
// Load a Sound through the Display (Display::loadSound), then play it and ask
// whether it still plays. The free functions below do the work and may be
// used alone.
#include <cstdint>

#include "framework/display/directx.h"

class Sound {
public:
    IDirectSoundBuffer* buffer = nullptr;  // owned; null when none is held
    // directSoundGeneration when `buffer` was made. Once the Display has
    // released its DirectSound object the count differs: the buffer went
    // with that object and is forgotten, never called.
    std::uint32_t generation = 0;

    Sound() = default;
    // The buffer is owned: a copy would release it twice.
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;
    // Releases the buffer when one is held whose DirectSound object lives.
    ~Sound();

    // A new buffer from the resource `name`; a buffer held before is
    // released first. False, with `buffer` untouched, while sound is not
    // available; false with no buffer when the resource cannot be made into
    // one. `directSound` is the Display's object (Display::loadSound).
    bool load(IDirectSound* directSound, const char* name);

    // Plays the sound once from wherever its play position stands.
    void play();

    // True while the buffer plays; false without sound, without a buffer or
    // when its status cannot be read.
    bool isPlaying();

    // Releases the buffer when one is held, whatever soundAvailable says, and
    // forgets it. After Display::run (or releaseDevices) let DirectSound go,
    // the buffer is already gone: it is forgotten without a call, so clean-up
    // code may release in any order.
    void release();

    // Whether a buffer is held whose DirectSound object still lives; a buffer
    // that went with its object is forgotten here.
    bool holdsBuffer();
};

// A new buffer holding the samples of the WAVE resource `name` of this
// program's module, or null.
IDirectSoundBuffer* createWaveBuffer(IDirectSound* directSound, const char* name);

// Restores a buffer whose memory was lost and fills it again from `name`.
bool reloadWaveBuffer(IDirectSoundBuffer* buffer, const char* name);

// Finds the resource `name` of type "WAVE" in `module` (null: this program)
// and parses it within the resource's own size. Each out-parameter may be
// null; the pointers point into the resource, which stays loaded.
bool findWaveResource(HMODULE module, const char* name, const WAVEFORMATEX** format,
                      const void** data, DWORD* length);

// Copies `length` bytes from `data` into the buffer from offset 0.
bool fillWaveBuffer(IDirectSoundBuffer* buffer, const void* data, DWORD length);
