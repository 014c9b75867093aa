#include "client/line_ends.h"

std::string LineEndFilter::feed(std::string_view chunk) {
    std::string out;
    out.reserve(chunk.size() + 1);
    std::size_t i = 0;
    if (heldReturn && !chunk.empty()) {
        heldReturn = false;
        if (chunk[0] != '\n') out += '\r';
    }
    for (; i < chunk.size(); ++i) {
        const char c = chunk[i];
        if (c != '\r') {
            out += c;
            continue;
        }
        if (i + 1 == chunk.size()) {
            heldReturn = true;
        } else if (chunk[i + 1] != '\n') {
            out += '\r';
        }
    }
    return out;
}

std::string LineEndFilter::finish() {
    if (!heldReturn) return {};
    heldReturn = false;
    return "\r";
}
