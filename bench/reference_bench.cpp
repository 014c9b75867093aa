// The figures that need a reference measured beside them: the bridge print
// of a 10 MB stream file against a plain read of the same file, a 10 MB
// Console::write against a plain memory copy, and the line algorithm of
// Painter::line against a plain loop setting as many pixels.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/measure_support.h"
#include "bridge/bridge_requests.h"
#include "commands/file_helpers.h"
#include "console/console.h"
#include "framework/paint/line_algorithm.h"

namespace {

constexpr std::size_t TEN_MB = 10u * 1024 * 1024;

// Numbered 60-character lines, as a client would print them.
std::string streamText() {
    std::string text = numberedText(TEN_MB, "%08u stream text from the client, printed by the console..\n");
    text.resize(TEN_MB);
    return text;
}

// A 10 MB stream file in a folder of its own, removed at exit.
const std::string& streamFile() {
    static const std::string path = [] {
        char pattern[] = "/tmp/korvane-bench-XXXXXX";
        const char* folder = mkdtemp(pattern);
        if (!folder) std::abort();
        std::string name = std::string(folder) + "/stream.o";
        const std::string text = streamText();
        std::FILE* file = std::fopen(name.c_str(), "wb");
        if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size()) std::abort();
        std::fclose(file);
        static const std::string removeAtExit = folder;
        std::atexit([] { std::filesystem::remove_all(removeAtExit); });
        return name;
    }();
    return path;
}

Console& benchConsole() {
    static Console console;
    console.capsLock = false;
    console.load();
    return console;
}

void BM_BridgePrint10MB(benchmark::State& state) {
    const std::string& path = streamFile();
    Console& console = benchConsole();
    for (auto _ : state) {
        bridgePrint(console, path.c_str());
        benchmark::DoNotOptimize(console.text[0]);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TEN_MB));
}
BENCHMARK(BM_BridgePrint10MB)->Unit(benchmark::kMillisecond);

// What any program pays to get the file into memory: size, open, read.
void BM_PlainRead10MB(benchmark::State& state) {
    const std::string& path = streamFile();
    std::vector<char> buffer(TEN_MB + 1);
    for (auto _ : state) {
        const std::int64_t size = fileSize(path.c_str());
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) std::abort();
        const std::size_t n = std::fread(buffer.data(), 1, static_cast<std::size_t>(size), file);
        std::fclose(file);
        buffer[n] = '\0';
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TEN_MB));
}
BENCHMARK(BM_PlainRead10MB)->Unit(benchmark::kMillisecond);

// The reference of Console::write: copying the same 10 MB in memory.
void BM_MemoryCopy10MB(benchmark::State& state) {
    const std::string text = streamText();
    std::vector<char> target(TEN_MB);
    for (auto _ : state) {
        std::memcpy(target.data(), text.data(), TEN_MB);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TEN_MB));
}
BENCHMARK(BM_MemoryCopy10MB)->Unit(benchmark::kMillisecond);

constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;

// Lines from the centre of a 640 x 480 screen to every point of its border:
// every slope and direction, 2,236 lines.
struct Segment {
    int x1, y1, x2, y2;
};

std::vector<Segment> star() {
    std::vector<Segment> lines;
    for (int x = 0; x < WIDTH; ++x) {
        lines.push_back({WIDTH / 2, HEIGHT / 2, x, 0});
        lines.push_back({WIDTH / 2, HEIGHT / 2, x, HEIGHT - 1});
    }
    for (int y = 1; y < HEIGHT - 1; ++y) {
        lines.push_back({WIDTH / 2, HEIGHT / 2, 0, y});
        lines.push_back({WIDTH / 2, HEIGHT / 2, WIDTH - 1, y});
    }
    return lines;
}

std::int64_t starPixels() {
    std::int64_t count = 0;
    for (const Segment& s : star()) traceLine(s.x1, s.y1, s.x2, s.y2, [&](int, int) { ++count; });
    return count;
}

void BM_LineAlgorithm(benchmark::State& state) {
    const std::vector<Segment> lines = star();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(WIDTH) * HEIGHT);
    std::uint32_t color = 0;
    for (auto _ : state) {
        ++color;
        for (const Segment& s : lines)
            traceLine(s.x1, s.y1, s.x2, s.y2, [&](int x, int y) {
                pixels[static_cast<std::size_t>(y) * WIDTH + static_cast<std::size_t>(x)] = color;
            });
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = static_cast<double>(starPixels());
    state.counters["ns/pixel"] =
        benchmark::Counter(static_cast<double>(starPixels()) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LineAlgorithm)->Unit(benchmark::kMicrosecond);

// The floor: a plain loop setting as many pixels, in memory order.
void BM_PixelLoop(benchmark::State& state) {
    const std::int64_t count = starPixels();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(WIDTH) * HEIGHT);
    std::uint32_t color = 0;
    for (auto _ : state) {
        ++color;
        std::size_t at = 0;
        for (std::int64_t i = 0; i < count; ++i) {
            pixels[at] = color;
            if (++at == pixels.size()) at = 0;
        }
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = static_cast<double>(count);
    state.counters["ns/pixel"] =
        benchmark::Counter(static_cast<double>(count) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PixelLoop)->Unit(benchmark::kMicrosecond);

}  // namespace
