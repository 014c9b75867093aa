#pragma once
// The virtual-key codes the platform-free console reacts to, by their
// Windows numbers, so that the core needs no windows.h.
#include <cstdint>

inline constexpr std::uint32_t KEY_BACK = 8;
inline constexpr std::uint32_t KEY_RETURN = 13;
inline constexpr std::uint32_t KEY_SHIFT = 16;
inline constexpr std::uint32_t KEY_CONTROL = 17;
inline constexpr std::uint32_t KEY_CAPITAL = 20;
inline constexpr std::uint32_t KEY_ESCAPE = 27;
inline constexpr std::uint32_t KEY_PRIOR = 33;
inline constexpr std::uint32_t KEY_NEXT = 34;
inline constexpr std::uint32_t KEY_END = 35;
inline constexpr std::uint32_t KEY_HOME = 36;
inline constexpr std::uint32_t KEY_DOWN = 40;
inline constexpr std::uint32_t KEY_C = 67;
