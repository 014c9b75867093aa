// The free functions under the Sound: WAVE resources found and parsed within
// their own size, static buffers created and filled from them.
#include "framework/sound/sound.h"
#include "framework/sound/wave_format.h"

namespace {

// Static, so the whole sound lives in the buffer; the current-position
// semantics of the newer drivers. No volume, pan, frequency or 3D control.
constexpr DWORD WAVE_BUFFER_FLAGS = DSBCAPS_STATIC | DSBCAPS_GETCURRENTPOSITION2;

// What DirectSound reads of a format: a whole WAVEFORMATEX and cbSize bytes
// after it, here room for the largest extension in common use (that of
// WAVEFORMATEXTENSIBLE).
struct FormatRecord {
    WAVEFORMATEX format;
    BYTE extension[22];
};

// The bits per sample end here: a shorter body has none.
constexpr std::size_t BITS_PER_SAMPLE_END = 16;

// The "fmt " body copied into a zeroed record of full size, so that nothing
// is read past the chunk: a body of 14 to 17 bytes leaves the fields it
// lacks zero, and an extension that claims more than the chunk holds is cut
// to what it holds. The 14-byte record of PCM has no bits per sample, which
// DirectSound needs; PCM's block alignment is channels x bits / 8, so they
// are taken from there.
void copyFormat(const WAVEFORMATEX* body, FormatRecord& record) {
    ZeroMemory(&record, sizeof record);
    std::size_t length = waveFormatLength(body);
    if (length > sizeof record) length = sizeof record;
    CopyMemory(&record, body, length);
    const std::size_t extension = length > sizeof record.format ? length - sizeof record.format : 0;
    if (record.format.cbSize > extension) record.format.cbSize = static_cast<WORD>(extension);
    WAVEFORMATEX& format = record.format;
    if (length < BITS_PER_SAMPLE_END && format.wFormatTag == WAVE_FORMAT_PCM && format.nChannels != 0) {
        format.wBitsPerSample = static_cast<WORD>(format.nBlockAlign / format.nChannels * 8);
    }
}

}  // namespace

bool findWaveResource(HMODULE module, const char* name, const WAVEFORMATEX** format,
                      const void** data, DWORD* length) {
    if (format) *format = nullptr;
    if (data) *data = nullptr;
    if (length) *length = 0;
    HRSRC resource = FindResourceA(module, name, "WAVE");
    if (!resource) {
        return false;
    }
    HGLOBAL loaded = LoadResource(module, resource);
    if (!loaded) {
        return false;
    }
    const void* image = LockResource(loaded);
    if (!image) {
        return false;
    }
    const void* formatBody = nullptr;
    std::uint32_t dataLength = 0;
    const bool parsed = parseWave(image, SizeofResource(module, resource),
                                  format ? &formatBody : nullptr, data, length ? &dataLength : nullptr);
    if (format) *format = static_cast<const WAVEFORMATEX*>(formatBody);
    if (length) *length = dataLength;
    return parsed;
}

bool fillWaveBuffer(IDirectSoundBuffer* buffer, const void* data, DWORD length) {
    if (!buffer || !data || length == 0) {
        return false;
    }
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstSize = 0;
    DWORD secondSize = 0;
    if (FAILED(buffer->Lock(0, length, &first, &firstSize, &second, &secondSize, 0))) {
        return false;
    }
    // The regions never hold more than was asked for; a short pair is not
    // filled past `length` either.
    if (firstSize > length) firstSize = length;
    if (secondSize > length - firstSize) secondSize = length - firstSize;
    CopyMemory(first, data, firstSize);
    if (secondSize != 0) {
        CopyMemory(second, static_cast<const BYTE*>(data) + firstSize, secondSize);
    }
    buffer->Unlock(first, firstSize, second, secondSize);
    return true;
}

IDirectSoundBuffer* createWaveBuffer(IDirectSound* directSound, const char* name) {
    if (!directSound) {
        return nullptr;
    }
    const WAVEFORMATEX* format = nullptr;
    const void* data = nullptr;
    DWORD length = 0;
    if (!findWaveResource(nullptr, name, &format, &data, &length)) {
        return nullptr;
    }
    FormatRecord record;
    copyFormat(format, record);
    DSBUFFERDESC1 description;
    ZeroMemory(&description, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = WAVE_BUFFER_FLAGS;
    description.dwBufferBytes = length;
    description.lpwfxFormat = &record.format;
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(directSound->CreateSoundBuffer(reinterpret_cast<DSBUFFERDESC*>(&description),
                                              &buffer, nullptr)) ||
        !buffer) {
        return nullptr;
    }
    if (!fillWaveBuffer(buffer, data, length)) {
        buffer->Release();
        return nullptr;
    }
    return buffer;
}

bool reloadWaveBuffer(IDirectSoundBuffer* buffer, const char* name) {
    const void* data = nullptr;
    DWORD length = 0;
    if (!buffer || !findWaveResource(nullptr, name, nullptr, &data, &length)) {
        return false;
    }
    if (FAILED(buffer->Restore())) {
        return false;
    }
    return fillWaveBuffer(buffer, data, length);
}
