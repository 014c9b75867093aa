#include "commands/file_helpers.h"

#include <cstdio>
#include <cstring>

#include "console/platform.h"

namespace {

// Files are only ever read: a read-only batch file or stream file works.
constexpr char READ_MODE[] = "rb";

std::int64_t tell(std::FILE* file) {
#if defined(_WIN32)
    return _ftelli64(file);
#else
    return ftello(file);
#endif
}

int seekEnd(std::FILE* file) {
#if defined(_WIN32)
    return _fseeki64(file, 0, SEEK_END);
#else
    return fseeko(file, 0, SEEK_END);
#endif
}

// Counts the bytes by reading, for streams that cannot seek.
std::int64_t countBytes(std::FILE* file) {
    char chunk[65536];
    std::int64_t total = 0;
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) total += static_cast<std::int64_t>(n);
    return total;
}

}  // namespace

bool fileExists(const char* name) { return platform::findFile(name); }

std::int64_t fileSize(const char* name) {
    std::FILE* file = std::fopen(name, READ_MODE);
    if (!file) return -1;
    // Some systems open a directory as a stream; it fails on the first read.
    if (std::fgetc(file) == EOF && std::ferror(file)) {
        std::fclose(file);
        return -1;
    }
    std::int64_t size = -1;
    if (seekEnd(file) == 0) size = tell(file);
    if (size < 0) {
        std::rewind(file);
        size = countBytes(file);
    }
    std::fclose(file);
    return size;
}

bool readFile(const char* name, char* buffer, std::size_t capacity) {
    if (capacity < 2) {
        if (capacity == 1) buffer[0] = '\0';
        return false;
    }
    std::FILE* file = std::fopen(name, READ_MODE);
    if (!file) {
        std::memcpy(buffer, READ_FAILURE_MARK, sizeof READ_FAILURE_MARK);
        return false;
    }
    // A file that grew since its size was taken is cut at the buffer's end.
    std::size_t total = 0;
    std::size_t n;
    while (total < capacity - 1 && (n = std::fread(buffer + total, 1, capacity - 1 - total, file)) > 0) total += n;
    buffer[total] = '\0';
    std::fclose(file);
    return true;
}
