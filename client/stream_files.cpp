#include "client/stream_files.h"

#include <cstdio>

#include "bridge/bridge.h"

bool writeStreamOut(const std::string& text) {
    std::FILE* file = std::fopen(STREAM_OUT_PATH, "wb");
    if (!file) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

namespace {

bool readWhole(const char* path, std::string& content) {
    content.clear();
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    char chunk[4096];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) content.append(chunk, n);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

}  // namespace

bool readStreamIn(std::string& line) { return readWhole(STREAM_IN_PATH, line); }
bool readStreamOut(std::string& text) { return readWhole(STREAM_OUT_PATH, text); }
