#pragma once
#include <cstdint>

// The character a virtual key types, from its code, the Shift state and the
// editor's own caps toggle (the keyboard layout is not consulted).
char translateKey(std::uint32_t code, bool caps);

// The same, with the Shift state given: the platform-free part.
char translateKeyWithShift(std::uint32_t code, bool caps, bool shift);
