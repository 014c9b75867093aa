#pragma once
// Number-to-text conversions that come out the same on every platform.
#include <cstddef>

// A double with 10 significant digits: fixed notation for moderate
// magnitudes, exponent notation otherwise (at least two exponent digits),
// trailing zeros of the fraction dropped; "inf", "-inf" and "nan" for the
// special values.
void formatDouble(double value, char* out, std::size_t size);
