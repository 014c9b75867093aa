#pragma once
// The command-line options with which a program on the framework asks for a
// window: `--window` (scale 1) and `--scale N` (a window at scale N, 1 to 4;
// it implies --window); or for desktop full screen: `--desktop`, which goes
// with neither of them. Platform-free, so it is tested natively.
#include <string>

// Everything a usage message names.
extern const char DISPLAY_OPTIONS_USAGE[];

struct DisplayOptions {
    int windowScale = 0;   // 0: full screen; 1..4: a window at that scale
    bool desktop = false;  // desktop full screen (windowScale stays 0)
    std::string problem;   // empty, or what was wrong with the command line
};

// Takes a display option at argv[i] into `options`: the number of arguments
// it used (1 or 2), or 0 when argv[i] is no display option. A scale that is
// missing or outside 1 to 4 uses its arguments and sets `problem`, and so
// does --desktop together with --window or --scale, in either order.
int takeDisplayOption(DisplayOptions& options, int argc, const char* const* argv, int i);

// A command line of display options only (argv[1] on): the first argument
// that is none, or a bad scale, sets `problem` and ends the reading.
DisplayOptions readDisplayOptions(int argc, const char* const* argv);
