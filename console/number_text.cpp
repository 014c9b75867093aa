#include "console/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstring>

void formatDouble(double value, char* out, std::size_t size) {
    if (std::isnan(value)) {
        std::snprintf(out, size, "nan");
        return;
    }
    if (std::isinf(value)) {
        std::snprintf(out, size, value < 0 ? "-inf" : "inf");
        return;
    }
    std::snprintf(out, size, "%.10g", value);

    // Some runtimes print three exponent digits; keep two unless more are needed.
    char* e = std::strchr(out, 'e');
    if (!e) return;
    char* digits = e + 1;
    if (*digits == '+' || *digits == '-') ++digits;
    std::size_t count = std::strlen(digits);
    while (count > 2 && digits[0] == '0') {
        std::memmove(digits, digits + 1, count);
        --count;
    }
}
