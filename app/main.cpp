// Process entry of the console. The command line may ask for a window
// (--window, --scale N) or desktop full screen (--desktop); anything else is refused before any window or
// device exists, with a message box and exit status 2.
#include <cstdlib>
#include <string>

#include "app/application.h"
#include "app/globals.h"
#include "framework/display/display_options.h"

namespace {

constexpr int USAGE_STATUS = 2;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const DisplayOptions options = readDisplayOptions(__argc, __argv);
    if (!options.problem.empty()) {
        const std::string text = "Korvane: " + options.problem + ".\n\n" + DISPLAY_OPTIONS_USAGE;
        MessageBoxA(nullptr, text.c_str(), "Korvane", MB_ICONERROR);
        return USAGE_STATUS;
    }
    display.windowScale = options.windowScale;
    display.desktopFullScreen = options.desktop;
    return runApplication(instance);
}
