#include "fake_platform.h"

#include <filesystem>
#include <system_error>

#include "console/platform.h"

FakePlatform& fakePlatform() {
    static FakePlatform state;
    return state;
}

namespace platform {

bool notifyClient(unsigned message) {
    fakePlatform().notifications.push_back(message);
    if (!fakePlatform().clientPresent) return false;
    if (fakePlatform().onNotify) fakePlatform().onNotify(message);
    return true;
}

void openWithShell(const char* program, const char* parameters) {
    fakePlatform().shellOpens.emplace_back(program, parameters);
}

bool findFile(const char* name) {
    std::error_code error;
    return std::filesystem::exists(name, error);
}

bool shiftHeld() { return fakePlatform().shift; }

bool controlHeld() { return fakePlatform().control; }

void closeDisplay() { ++fakePlatform().closeRequests; }

void screenChanged() { ++fakePlatform().screenChanges; }

FontHandle createConsoleFont() {
    static int font;
    return &font;
}

}  // namespace platform
