// Throughput of the interpreter on batch texts and of appending to the buffer.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>

#include "console/console.h"
#include "console/terminal_print.h"

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

// 10 MB of 60-character lines in prints of 64 KB, as the bridge reads its
// file: the plain print (append, then trim) beside the terminal print.
std::string plainLines() {
    std::string block;
    while (block.size() < 10u * 1024 * 1024) block += std::string(59, 't') + "\n";
    return block;
}

void BM_PlainPrintChunks(benchmark::State& state) {
    const std::string block = plainLines();
    auto console = loadedConsole();
    for (auto _ : state) {
        for (std::size_t at = 0; at < block.size(); at += 65536) {
            console->append(block.data() + at, std::min<std::size_t>(65536, block.size() - at));
            console->trimLines();
        }
        benchmark::DoNotOptimize(console->text[0]);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * block.size()));
}
BENCHMARK(BM_PlainPrintChunks)->Unit(benchmark::kMillisecond);

void BM_TerminalPrintChunks(benchmark::State& state) {
    const std::string block = state.range(0) ? [] {
        // Progress lines: colour, CR, erase in line, every 60 bytes.
        std::string text;
        while (text.size() < 10u * 1024 * 1024) text += "\x1b[32m" + std::string(40, 'p') + "\x1b[0m\r\x1b[K12%\n";
        return text;
    }()
                                             : plainLines();
    auto console = loadedConsole();
    TerminalPrint terminal;
    for (auto _ : state) {
        for (std::size_t at = 0; at < block.size(); at += 65536)
            terminal.print(*console, block.data() + at, std::min<std::size_t>(65536, block.size() - at));
        benchmark::DoNotOptimize(console->text[0]);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * block.size()));
    state.SetLabel(state.range(0) ? "progress lines" : "plain text");
}
BENCHMARK(BM_TerminalPrintChunks)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
