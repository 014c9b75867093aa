// The insertion family: each value is turned into text and written.
#include <cstdint>
#include <cstdio>

#include "console/console.h"
#include "console/number_text.h"

Console& Console::operator<<(const char* string) {
    write(string);
    return *this;
}

Console& Console::operator<<(int value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", value);
    write(digits);
    return *this;
}

Console& Console::operator<<(char value) {
    const char one[2] = {value, '\0'};
    write(one);
    return *this;
}

// A long is 32 bits wide on Windows; the console keeps that width everywhere.
Console& Console::operator<<(long value) {
    return *this << static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

Console& Console::operator<<(double value) {
    char digits[32];
    formatDouble(value, digits, sizeof digits);
    write(digits);
    return *this;
}

Console& Console::operator<<(short value) { return *this << static_cast<int>(value); }
