#include "fuzz_support.h"

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "console/platform.h"

FuzzPlatform& fuzzPlatform() {
    static FuzzPlatform state;
    return state;
}

namespace {

std::filesystem::path& scratchFolder() {
    static std::filesystem::path folder;
    return folder;
}

void enterScratch() {
    if (!scratchFolder().empty()) return;
    char pattern[] = "/tmp/korvane-fuzz-XXXXXX";
    if (!mkdtemp(pattern)) fuzzFail("cannot make a scratch folder", "setup");
    scratchFolder() = pattern;
    std::filesystem::current_path(scratchFolder());
    // The folder goes with the process, also when the fuzzer stops it.
    std::atexit([] {
        std::error_code error;
        std::filesystem::remove_all(scratchFolder(), error);
    });
}

}  // namespace

void beginFuzzInput(int findBudget) {
    enterScratch();
    fuzzPlatform() = FuzzPlatform{};
    fuzzPlatform().findBudget = findBudget;
}

void endFuzzInput() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(scratchFolder(), error))
        std::filesystem::remove_all(entry.path(), error);
}

void confine(std::string& text) {
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos) text.resize(zero);
    for (char& c : text)
        if (c == '/') c = '_';
}

std::string confined(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    confine(text);
    return text;
}

Console& freshConsole() {
    static Console console;
    console.capsLock = false;
    console.load();
    return console;
}

void fuzzFail(const char* what, const char* where) {
    std::fprintf(stderr, "invariant broken after %s: %s\n", where, what);
    std::abort();
}

void checkBuffer(const Console& console, const char* where) {
    const void* end = std::memchr(console.text, '\0', sizeof console.text);
    if (!end) fuzzFail("buffer not terminated within its capacity", where);
    const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(end) - console.text);
    if (length > static_cast<std::size_t>(CONSOLE_CAPACITY)) fuzzFail("more than 4999 characters", where);
    if (console.inputOpen && (console.inputStart < 0 || static_cast<std::size_t>(console.inputStart) > length))
        fuzzFail("input start outside the text", where);
}

// The platform seam, answering as a machine without a client or a shell.
namespace platform {

// A target that answers notifications stands for a client window.
bool notifyClient(unsigned message) {
    ++fuzzPlatform().notifications;
    fuzzPlatform().lastNotification = message;
    if (!fuzzPlatform().onNotify) return false;
    fuzzPlatform().onNotify(message);
    return true;
}

void openWithShell(const char* program, const char* parameters) {
    // Reading both texts lets the sanitizers see a bad pointer.
    if (std::strlen(program) + std::strlen(parameters) > 0) ++fuzzPlatform().shellOpens;
}

bool findFile(const char* name) {
    if (fuzzPlatform().findBudget <= 0) return false;
    --fuzzPlatform().findBudget;
    std::error_code error;
    return std::filesystem::exists(name, error);
}

bool shiftHeld() { return fuzzPlatform().shift; }
bool controlHeld() { return false; }

void closeDisplay() { ++fuzzPlatform().closeRequests; }
void screenChanged() {}

FontHandle createConsoleFont() {
    static int font;
    return &font;
}

}  // namespace platform
