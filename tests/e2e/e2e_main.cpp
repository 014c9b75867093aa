// Runs the end-to-end tests; the shared console is ended after the last one.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "console_session.h"

namespace {

class SharedConsoleEnvironment : public ::testing::Environment {
public:
    void TearDown() override { endSharedConsole(); }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // --window (--desktop): every console of the run opens in a window (in
    // desktop full screen), on a screen of any size (tests/e2e/large_screen.sh
    // gives a larger one).
    if (argc > 1 && (std::strcmp(argv[1], "--window") == 0 || std::strcmp(argv[1], "--desktop") == 0)) {
        consoleOptions = argv[1];
    } else if (GetSystemMetrics(SM_CXSCREEN) != 640 || GetSystemMetrics(SM_CYSCREEN) != 480) {
        // On any other size the console cannot set its display mode and stops
        // at a message box.
        std::printf("korvane_e2e needs a 640x480 screen; scripts/test-windows.sh starts one\n");
        return 1;
    }
    ::testing::AddGlobalTestEnvironment(new SharedConsoleEnvironment);
    return RUN_ALL_TESTS();
}
