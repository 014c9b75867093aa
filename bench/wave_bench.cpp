// parseWave: a walk over chunk headers that never touches the sample bytes,
// so its cost follows the number of chunks, not the size of the "data" body.
// The reference is a plain pass over the same image's bytes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <numeric>
#include <vector>

#include "framework/sound/wave_format.h"
#include "wave_image.h"

namespace {

// fmt, a LIST and a junk chunk, then `extra` small chunks, then data.
std::vector<std::uint8_t> image(std::size_t dataBytes, int extra) {
    WaveImage wave;
    wave.format().chunk("LIST", std::vector<std::uint8_t>(26, 'i')).chunk("junk", std::vector<std::uint8_t>(7, 0));
    for (int i = 0; i < extra; ++i) wave.chunk("cue ", std::vector<std::uint8_t>(24, 0));
    return wave.samples(std::vector<std::uint8_t>(dataBytes, 0x80)).bytes();
}

void parse(benchmark::State& state, const std::vector<std::uint8_t>& bytes) {
    for (auto _ : state) {
        const void* format;
        const void* data;
        std::uint32_t length;
        benchmark::DoNotOptimize(parseWave(bytes.data(), bytes.size(), &format, &data, &length));
        benchmark::DoNotOptimize(data);
    }
    state.counters["ns/call"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["image_bytes"] = static_cast<double>(bytes.size());
}

// Sample bytes from 1 KB to 16 MB, four chunks in all.
void BM_ParseWaveBySampleBytes(benchmark::State& state) {
    parse(state, image(static_cast<std::size_t>(state.range(0)), 0));
}
BENCHMARK(BM_ParseWaveBySampleBytes)->Arg(1 << 10)->Arg(64 << 10)->Arg(1 << 20)->Arg(16 << 20);

// A 1 MB image with more chunks in front of its data.
void BM_ParseWaveByChunks(benchmark::State& state) { parse(state, image(1 << 20, static_cast<int>(state.range(0)))); }
BENCHMARK(BM_ParseWaveByChunks)->Arg(0)->Arg(16)->Arg(256);

// Reference: reading every byte of the 1 MB image once.
void BM_SumOneMegabyteImage(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = image(1 << 20, 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::accumulate(bytes.begin(), bytes.end(), std::uint64_t{0}));
    }
    state.counters["ns/call"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SumOneMegabyteImage);

}  // namespace

BENCHMARK_MAIN();
