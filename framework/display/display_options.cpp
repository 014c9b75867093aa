#include "framework/display/display_options.h"

#include <cstring>

#include "framework/display/window_layout.h"

const char DISPLAY_OPTIONS_USAGE[] =
    "Accepted options:\n"
    "  --window     open in a window at scale 1\n"
    "  --scale N    open in a window at scale N, from 1 to 4\n"
    "  --desktop    take the whole screen at the desktop's own resolution\n"
    "               (not with --window or --scale)\n"
    "Without them the program takes the whole screen at 640 x 480.";

namespace {

// A whole decimal number from 1 to 4, else 0.
int scaleValue(const char* text) {
    int value = 0;
    if (!*text) return 0;
    for (; *text; ++text) {
        if (*text < '0' || *text > '9' || value > MAX_WINDOW_SCALE) return 0;
        value = value * 10 + (*text - '0');
    }
    return isWindowScale(value) ? value : 0;
}

constexpr char DESKTOP_WITH_WINDOW[] = "--desktop cannot be used with --window or --scale";

}  // namespace

int takeDisplayOption(DisplayOptions& options, int argc, const char* const* argv, int i) {
    const char* argument = argv[i];
    if (std::strcmp(argument, "--desktop") == 0) {
        if (options.windowScale != 0) options.problem = DESKTOP_WITH_WINDOW;
        options.desktop = true;
        return 1;
    }
    if (std::strcmp(argument, "--window") == 0) {
        if (options.desktop) options.problem = DESKTOP_WITH_WINDOW;
        if (options.windowScale == 0) options.windowScale = 1;
        return 1;
    }
    if (std::strcmp(argument, "--scale") != 0) return 0;
    if (options.desktop) {
        options.problem = DESKTOP_WITH_WINDOW;
        return i + 1 < argc ? 2 : 1;
    }
    if (i + 1 >= argc) {
        options.problem = "--scale needs a number from 1 to 4";
        return 1;
    }
    const int scale = scaleValue(argv[i + 1]);
    if (scale == 0) {
        options.problem = std::string("--scale ") + argv[i + 1] + ": the scale is a number from 1 to 4";
    } else {
        options.windowScale = scale;
    }
    return 2;
}

DisplayOptions readDisplayOptions(int argc, const char* const* argv) {
    DisplayOptions options;
    for (int i = 1; i < argc && options.problem.empty();) {
        const int used = takeDisplayOption(options, argc, argv, i);
        if (used == 0) {
            options.problem = std::string("unknown option ") + argv[i];
            break;
        }
        i += used;
    }
    if (!options.problem.empty()) {
        options.windowScale = 0;
        options.desktop = false;
    }
    return options;
}
