// The terminal print on arbitrary output, cut into prints at arbitrary
// places, in front of an input line with or without typed text: the buffer
// stays within its capacity and its counts, and typed text is never changed.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "console/console.h"
#include "console/terminal_print.h"
#include "fuzz_support.h"

namespace {

void checkTyped(const Console& console, const std::string& typed) {
    if (!console.inputOpen || typed.empty()) return;
    const std::size_t start = static_cast<std::size_t>(console.inputStart);
    const std::string text = console.text;
    if (text.compare(start, typed.size(), typed) == 0) return;
    // Only an overflow may drop the typed text, and only its oldest part.
    for (std::size_t cut = 1; cut <= typed.size(); ++cut)
        if (start == 0 && text.compare(0, typed.size() - cut, typed, cut) == 0) return;
    fuzzFail("typed text changed", "terminal print");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    beginFuzzInput(0);
    FuzzedDataProvider in(data, size);
    Console& console = freshConsole();
    console.write(in.ConsumeRandomLengthString(200).c_str());
    std::string typed;
    if (in.ConsumeBool()) {
        console.beginInput();
        typed = in.ConsumeRandomLengthString(40);
        typed = typed.substr(0, typed.find('\0'));
        for (char& c : typed)
            if (c == '\n') c = ' ';
        console.write(typed.c_str());
    }
    TerminalPrint terminal;
    while (in.remaining_bytes() > 0) {
        const std::string chunk = in.ConsumeRandomLengthString(4096);
        terminal.print(console, chunk.data(), chunk.size());
        checkBuffer(console, "terminal print");
        if (console.length() != static_cast<int>(std::strlen(console.text)))
            fuzzFail("length count wrong", "terminal print");
        if (console.lineBreaks > MAX_LINE_BREAKS) fuzzFail("more than 39 lines", "terminal print");
        checkTyped(console, typed);
        // Typed text dropped by an overflow is gone for good.
        if (console.inputOpen && console.inputStart == 0) typed.clear();
        if (in.ConsumeBool()) console.write("\n");  // a plain print between
    }
    endFuzzInput();
    return 0;
}
