#pragma once
// The RIFF/WAVE image as the sound buffers read it, platform-free: finds the
// first "fmt " body (at least 14 bytes, the basic wave format record) and the
// first "data" chunk with a nonzero length, in either order, skipping every
// other chunk. Numbers are little-endian; a chunk with an odd length is
// followed by one pad byte.
#include <cstddef>
#include <cstdint>

// The smallest "fmt " body accepted: tag, channels, samples per second,
// average bytes per second, block alignment.
constexpr std::uint32_t WAVE_FORMAT_MIN_SIZE = 14;

// Parses the `size` bytes at `image`. Each out-parameter may be null, meaning
// "not wanted". `format` and `data` point into the image. True when
// everything wanted was found; on false every wanted one is empty (null, 0).
// With nothing wanted the walk finds nothing to satisfy it and answers false.
//
// The walk reads every chunk whose header starts before 8 + the RIFF
// length, and never reads a byte at or past `size`: a chunk whose header or
// body would cross `size` fails the parse; one that only crosses the RIFF
// end is read.
bool parseWave(const void* image, std::size_t size, const void** format, const void** data,
               std::uint32_t* length);

// The length of the "fmt " chunk whose body parseWave handed out, read from
// the chunk header in front of that body.
std::uint32_t waveFormatLength(const void* formatBody);
