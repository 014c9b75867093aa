#include "console/format_text.h"

#include <cstring>

namespace {

// Decimal digits of value at the end of a 12-byte scratch; returns the first.
char* decimal(int value, char* end) {
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    char* p = end;
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) *--p = '-';
    return p;
}

}  // namespace

int formatSimple(char* out, std::size_t size, const char* format, va_list args) {
    va_list own;
    va_copy(own, args);
    std::size_t used = 0;
    int result = -1;
    const auto put = [&](const char* chars, std::size_t n) {
        if (n >= size - used) return false;
        std::memcpy(out + used, chars, n);
        used += n;
        return true;
    };
    for (const char* p = format;;) {
        const char* directive = std::strchr(p, '%');
        const std::size_t plain = directive ? static_cast<std::size_t>(directive - p) : std::strlen(p);
        if (!put(p, plain)) break;
        if (!directive) {
            out[used] = '\0';
            result = static_cast<int>(used);
            break;
        }
        const char kind = directive[1];
        if (kind == '%') {
            if (!put("%", 1)) break;
        } else if (kind == 'i' || kind == 'd') {
            char scratch[12];
            char* const end = scratch + sizeof scratch;
            const char* digits = decimal(va_arg(own, int), end);
            if (!put(digits, static_cast<std::size_t>(end - digits))) break;
        } else if (kind == 's') {
            const char* string = va_arg(own, const char*);
            if (!string || !put(string, std::strlen(string))) break;  // "(null)" is the runtime's to spell
        } else {
            break;
        }
        p = directive + 2;
    }
    va_end(own);
    return result;
}
