#pragma once
#include <cstdint>

// A colour as the GDI takes it: 0x00BBGGRR, red in the low byte.
using ColorRef = std::uint32_t;
