// Whole command lines through Console::execute, one console for the input:
// each line of the input runs as if typed and handed over by Enter.
#include <cstdint>
#include <string>

#include "console/console.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    beginFuzzInput(1000);
    Console* console = &freshConsole();
    console->showPrompt();

    const std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start <= input.size()) {
        std::size_t end = input.find('\n', start);
        if (end == std::string::npos) end = input.size();
        std::string line = input.substr(start, end - start);
        confine(line);
        start = end + 1;

        console->inputOpen = false;  // as Enter leaves it
        console->execute(line.data());
        checkBuffer(*console, "execute");
        if (console->commandLine) fuzzFail("command line left set", "execute");
        if (console->batchMode || console->batchDepth != 0) fuzzFail("batch mode left on", "execute");
        // Every line ends with the prompt open, or in a pause waiting for its key.
        if (!console->inputOpen && !console->paused) fuzzFail("neither prompt nor pause", "execute");
        console->paused = false;
        console->wrapLines();
        checkBuffer(*console, "wrapLines");
    }
    endFuzzInput();
    return 0;
}
