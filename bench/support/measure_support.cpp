#include "bench/support/measure_support.h"

#include <chrono>
#include <cstdio>

double secondsNow() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string numberedText(std::size_t bytes, const char* lineFormat) {
    std::string text;
    text.reserve(bytes + 64);
    char line[128];
    for (unsigned n = 0; text.size() < bytes; ++n) {
        std::snprintf(line, sizeof line, lineFormat, n);
        text += line;
    }
    return text;
}
