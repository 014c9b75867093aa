#include "console/text_helpers.h"

#include <cstring>

int findText(const char* text, const char* pattern, int start) {
    const std::size_t patternLength = std::strlen(pattern);
    const std::size_t textLength = std::strlen(text);
    if (patternLength == 0 || start < 0 || static_cast<std::size_t>(start) >= textLength) return -1;
    const char* hit = std::strstr(text + start, pattern);
    return hit ? static_cast<int>(hit - text) : -1;
}

void copyRange(const char* text, char* buffer, int start, int end) {
    if (start < 0) start = 0;
    // Only the characters before the end are looked at, so walking a long
    // text line by line stays linear.
    if (end > 0) {
        const void* terminator = std::memchr(text, '\0', static_cast<std::size_t>(end));
        if (terminator) end = static_cast<int>(static_cast<const char*>(terminator) - text);
    }
    if (end <= start) {
        buffer[0] = '\0';
        return;
    }
    std::memcpy(buffer, text + start, static_cast<std::size_t>(end - start));
    buffer[end - start] = '\0';
}

void copyTail(const char* text, char* buffer, int position) {
    const int textLength = static_cast<int>(std::strlen(text));
    if (position < 0) position = 0;
    if (position >= textLength) {
        buffer[0] = '\0';
        return;
    }
    std::memcpy(buffer, text + position, static_cast<std::size_t>(textLength - position) + 1);
}

bool isNumber(const char* text) {
    for (; *text; ++text)
        if (*text < '0' || *text > '9') return false;
    return true;
}

int countBreaks(const char* chars, std::size_t n) {
    // memchr skips the text between breaks many bytes at a time; console
    // text has few breaks per byte.
    int breaks = 0;
    const char* const end = chars + n;
    for (const char* p = chars;
         p < end && (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))); ++p)
        ++breaks;
    return breaks;
}
