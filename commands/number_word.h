#pragma once
#include <cstdint>

// Converts a word to a 32-bit number the way atol reads it: leading white
// space, one optional sign, then decimal digits up to the first other
// character; no digits give 0. A value beyond the 32-bit range saturates at
// INT32_MIN or INT32_MAX, as a 32-bit atol does.
std::int32_t numberWord(const char* word);
