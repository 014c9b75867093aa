#include "tests/korvane_client/measure_print.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "bridge/bridge.h"
#include "client/bridge_client.h"
#include "client/stream_files.h"

namespace {

double secondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Numbered lines, so that the console's buffer afterwards can be checked.
std::string numberedLines(std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 64);
    char line[64];
    for (unsigned n = 0; text.size() < bytes; ++n) {
        std::snprintf(line, sizeof line, "stream line %09u of the measurement text\n", n);
        text += line;
    }
    return text;
}

std::size_t readWholeFile(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return 0;
    std::string data;
    char chunk[65536];
    std::size_t n, total = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        data.append(chunk, n);
        total += n;
    }
    std::fclose(file);
    return total;
}

}  // namespace

bool measurePrint(BridgeClient& client, unsigned megabytes) {
    const std::string text = numberedLines(static_cast<std::size_t>(megabytes) * 1024 * 1024);
    if (!writeStreamOut(text)) return false;
    const double mb = static_cast<double>(text.size()) / (1024.0 * 1024.0);

    std::printf("stream file: %.2f MB (%zu bytes), three rounds\n", mb, text.size());
    bool printed = true;
    bool readAll = true;
    for (int round = 1; round <= 3; ++round) {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        readAll = readAll && readWholeFile(STREAM_OUT_PATH) == text.size();
        const double readSeconds = secondsSince(start);

        QueryPerformanceCounter(&start);
        printed = printed && client.printFile();
        const double printSeconds = secondsSince(start);

        std::printf("round %d: read file in client %7.3f s %8.1f MB/s | bridge print round trip %7.3f s %8.1f MB/s\n",
                    round, readSeconds, mb / readSeconds, printSeconds, mb / printSeconds);
        std::fflush(stdout);
    }
    return printed && readAll;
}
