#include "client/stream_files.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "bridge/bridge.h"

// The file is written over in place and then cut to the text's length:
// emptying it first gives its blocks back to the file system only to take
// them again, which costs several times the copy itself (exec prints
// megabytes this way).
bool writeStreamOut(const std::string& text) {
    std::FILE* file = std::fopen(STREAM_OUT_PATH, "r+b");
    if (!file) file = std::fopen(STREAM_OUT_PATH, "wb");
    if (!file) return false;
    const long before = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
    bool written = std::fseek(file, 0, SEEK_SET) == 0 &&
                   std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = std::fclose(file) == 0 && written;
    if (written && (before < 0 || static_cast<unsigned long>(before) > text.size())) {
        std::error_code error;
        std::filesystem::resize_file(STREAM_OUT_PATH, text.size(), error);
        written = !error;
    }
    return written;
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
