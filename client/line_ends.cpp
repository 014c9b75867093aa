#include "client/line_ends.h"

std::string LineEndFilter::feed(std::string_view chunk) {
    std::string out;
    std::string withoutZeros;
    if (chunk.find('\0') != std::string_view::npos) {
        withoutZeros.reserve(chunk.size());
        for (char c : chunk)
            if (c != '\0') withoutZeros += c;
        chunk = withoutZeros;
    }
    if (chunk.empty()) return out;
    out.reserve(chunk.size() + 1);
    if (heldReturn) {
        heldReturn = false;
        if (chunk[0] != '\n') out += '\r';
    }
    // Runs without a CR are copied whole: output is mostly such runs.
    for (std::size_t at = 0; at < chunk.size();) {
        const std::size_t cr = chunk.find('\r', at);
        if (cr == std::string_view::npos) {
            out.append(chunk.substr(at));
            break;
        }
        out.append(chunk.substr(at, cr - at));
        at = cr + 1;
        if (at == chunk.size()) {
            heldReturn = true;
        } else if (chunk[at] != '\n') {
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
