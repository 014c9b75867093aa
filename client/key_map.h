#pragma once
// Which virtual key types a character at the console without Shift. The
// console turns codes into characters itself, from the code alone.

inline constexpr unsigned KEY_BACKSPACE = 8;
inline constexpr unsigned KEY_ENTER = 13;
inline constexpr unsigned KEY_SHIFT = 16;
inline constexpr unsigned KEY_CAPS_LOCK = 20;
inline constexpr unsigned KEY_ESCAPE = 27;

// The key for a character, 0 when only a shifted key types it. Capital
// letters map to their letter key (the caller sets the caps toggle).
unsigned keyForCharacter(char c);

// The key that types the character with Shift held, 0 when there is none.
unsigned shiftedKeyForCharacter(char c);
