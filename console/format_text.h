#pragma once
// The formatting of Console::printf without the C runtime's printf engine
// for the formats the commands use most: text, %s, %i, %d and %%, without
// flags, width, precision or length. Those come out byte for byte as
// vsnprintf makes them. Any other format is left to vsnprintf.
#include <cstdarg>
#include <cstddef>

// Formats into out (size bytes, terminated); the length of the result, or -1
// when the format needs vsnprintf or the result does not fit. Reads the
// arguments from its own copy of args.
int formatSimple(char* out, std::size_t size, const char* format, va_list args);
