#include "console/translate_key.h"

#include "console/platform.h"

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

// The digit row under Shift, indexed by digit.
constexpr char SHIFTED_DIGITS[] = ")!@#$%^&*(";

struct OemKey {
    std::uint32_t code;
    char plain;
    char shifted;
};

// clang-format off
constexpr OemKey OEM_KEYS[] = {
    {186, ';', ':'},  {187, '=', '+'},  {188, ',', '<'},
    {189, '-', '_'},  {190, '.', '>'},  {191, '/', '?'},
    {192, static_cast<char>(0xB5), static_cast<char>(0xB5)},
    {219, '[', '{'},  {220, '\\', '\\'}, {221, ']', '}'},
    {222, '\'', '"'},
};
// clang-format on

}  // namespace

char translateKeyWithShift(std::uint32_t code, bool caps, bool shift) {
    const char key = static_cast<char>(code & 0xFF);
    char c;
    if (shift) {
        c = caps ? lower(key) : upper(key);
        if (c >= '0' && c <= '9') c = SHIFTED_DIGITS[c - '0'];
    } else {
        c = caps ? upper(key) : lower(key);
    }
    for (const OemKey& oem : OEM_KEYS)
        if (oem.code == code) return shift ? oem.shifted : oem.plain;
    return c;
}

char translateKey(std::uint32_t code, bool caps) { return translateKeyWithShift(code, caps, platform::shiftHeld()); }
