// Script texts through Console::executeScript, with batch files beside them.
// The input is cut at zero bytes: the first piece is the script, the next
// ones become the files "a", "b", "c", ... in the scratch folder, so that
// "batch a" inside the script, or inside a file, nests.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "console/console.h"
#include "fuzz_support.h"

namespace {

constexpr std::size_t MAX_FILES = 6;

void writeFile(const std::string& name, const std::string& bytes) {
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (!file) fuzzFail("cannot write a batch file", "setup");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    beginFuzzInput(1000);
    std::vector<std::string> pieces(1);
    for (std::size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\0' && pieces.size() <= MAX_FILES) {
            pieces.emplace_back();
        } else {
            pieces.back() += c == '/' ? '_' : c;
        }
    }
    for (std::size_t i = 1; i < pieces.size(); ++i)
        writeFile(std::string(1, static_cast<char>('a' + i - 1)), pieces[i]);

    Console* console = &freshConsole();
    std::string& script = pieces[0];
    confine(script);

    // As the batch command runs a file: batch mode around the script.
    console->batchMode = true;
    console->executeScript(script.data());
    console->batchMode = false;
    checkBuffer(*console, "executeScript");
    if (console->commandLine) fuzzFail("command line left set", "executeScript");
    if (console->batchDepth != 0) fuzzFail("batch depth not restored", "executeScript");
    // Batch mode keeps every prompt quiet, so the input line never opened.
    if (console->inputOpen) fuzzFail("prompt opened in batch mode", "executeScript");
    console->wrapLines();
    checkBuffer(*console, "wrapLines");
    endFuzzInput();
    return 0;
}
