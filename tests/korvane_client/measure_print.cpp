#include "tests/korvane_client/measure_print.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/support/measure_support.h"
#include "bridge/bridge.h"
#include "client/bridge_client.h"
#include "client/stream_files.h"

namespace {

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
    const std::string text = numberedText(static_cast<std::size_t>(megabytes) * 1024 * 1024);
    if (!writeStreamOut(text)) return false;
    const double mb = static_cast<double>(text.size()) / (1024.0 * 1024.0);

    std::printf("stream file: %.2f MB (%zu bytes), three rounds\n", mb, text.size());
    bool printed = true;
    bool readAll = true;
    for (int round = 1; round <= 3; ++round) {
        double start = secondsNow();
        readAll = readAll && readWholeFile(STREAM_OUT_PATH) == text.size();
        const double readSeconds = secondsNow() - start;

        start = secondsNow();
        printed = printed && client.printFile();
        const double printSeconds = secondsNow() - start;

        std::printf("round %d: read file in client %7.3f s %8.1f MB/s | bridge print round trip %7.3f s %8.1f MB/s\n",
                    round, readSeconds, mb / readSeconds, printSeconds, mb / printSeconds);
        std::fflush(stdout);
    }
    return printed && readAll;
}
