// Throughput of the interpreter on batch texts and of appending to the buffer.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "console/console.h"

namespace {

std::string addScript(int lines) {
    std::string script;
    script.reserve(static_cast<std::size_t>(lines) * 16);
    for (int i = 0; i < lines; ++i) script += "add " + std::to_string(i) + " " + std::to_string(i % 97) + "\n";
    return script;
}

std::unique_ptr<Console> loadedConsole() {
    auto console = std::make_unique<Console>();
    console->capsLock = false;
    console->load();
    return console;
}

// One batch text of `lines` add commands, run as the batch command runs it.
void BM_BatchAddLines(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const std::string script = addScript(lines);
    auto console = loadedConsole();
    std::string text;
    for (auto _ : state) {
        state.PauseTiming();
        text = script;  // the script is consumed by the run
        state.ResumeTiming();
        console->batchMode = true;
        console->executeScript(text.data());
        console->batchMode = false;
        benchmark::DoNotOptimize(console->text[0]);
    }
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines) * static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
    state.counters["ns/line"] = benchmark::Counter(static_cast<double>(lines) * static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_BatchAddLines)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// 10 MB of 60-character lines through Console::write, one line per call.
void BM_WriteLines(benchmark::State& state) {
    const std::string line = std::string(59, 'w') + "\n";
    const std::size_t calls = (10u * 1024 * 1024) / line.size();
    auto console = loadedConsole();
    for (auto _ : state) {
        for (std::size_t i = 0; i < calls; ++i) console->write(line.c_str());
        benchmark::DoNotOptimize(console->text[0]);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * calls * line.size()));
}
BENCHMARK(BM_WriteLines)->Unit(benchmark::kMillisecond);

// The same 10 MB in one Console::write, as a client's print delivers it.
void BM_WriteOneBlock(benchmark::State& state) {
    std::string block;
    while (block.size() < 10u * 1024 * 1024) block += std::string(59, 'b') + "\n";
    auto console = loadedConsole();
    for (auto _ : state) {
        console->write(block.c_str());
        benchmark::DoNotOptimize(console->text[0]);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * block.size()));
}
BENCHMARK(BM_WriteOneBlock)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
