// Cleaning pasted text into lines, and handing them out one at a time.
#include "console/paste_text.h"

#include <cstddef>
#include <cstring>

void PasteQueue::start(const char* text, std::size_t n) {
    chars.erase(chars.begin(), chars.begin() + static_cast<std::ptrdiff_t>(position));
    position = 0;
    chars.reserve(chars.size() + n);
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r') {
            if (i + 1 < n && text[i + 1] == '\n') ++i;
            chars.push_back('\n');
        } else if (c == '\n') {
            chars.push_back('\n');
        } else if (c == '\t') {
            chars.push_back(' ');
        } else if (c >= 32 && c != 127) {
            chars.push_back(static_cast<char>(c));
        }
    }
}

void PasteQueue::drop() {
    chars.clear();
    position = 0;
}

void PasteQueue::next(const char*& line, int& length, bool& enter) const {
    line = chars.data() + position;
    const std::size_t left = chars.size() - position;
    const void* hit = left ? std::memchr(line, '\n', left) : nullptr;
    length = hit ? static_cast<int>(static_cast<const char*>(hit) - line) : static_cast<int>(left);
    enter = hit != nullptr;
}

void PasteQueue::pop() {
    const char* line;
    int length;
    bool enter;
    next(line, length, enter);
    position += static_cast<std::size_t>(length) + (enter ? 1 : 0);
    if (!pending()) drop();
}
