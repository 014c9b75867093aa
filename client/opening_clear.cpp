#include "client/opening_clear.h"

std::string OpeningClearFilter::feed(std::string_view chunk) {
    if (shown) return std::string(chunk);
    std::string text = held + std::string(chunk);
    held.clear();
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (c != '\x1b') {
            if (static_cast<unsigned char>(c) >= 0x20) {
                shown = true;  // the program's first character: the rest as it is
                return out + text.substr(at);
            }
            out += c;
            ++at;
            continue;
        }
        if (at + 1 == text.size()) {
            held = text.substr(at);
            return out;
        }
        if (text[at + 1] == ']') {  // a title: passed on whole
            std::size_t end = text.find_first_of("\a\x1b", at + 2);
            if (end != std::string::npos && text[end] == '\x1b') end = end + 1 < text.size() ? end + 1 : std::string::npos;
            if (end == std::string::npos) {
                held = text.substr(at);
                return out;
            }
            out.append(text, at, end + 1 - at);
            at = end + 1;
            continue;
        }
        if (text[at + 1] != '[') {
            out += c;
            ++at;
            continue;
        }
        std::size_t end = at + 2;
        while (end < text.size() && (text[end] < 0x40 || text[end] > 0x7E)) ++end;
        if (end == text.size()) {
            held = text.substr(at);
            return out;
        }
        const char final = text[end];
        if (final != 'J' && final != 'K' && final != 'H') out.append(text, at, end + 1 - at);
        at = end + 1;
    }
    return out;
}
