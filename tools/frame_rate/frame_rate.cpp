// frame-rate: frames per second of the frame loop in one run, in three
// phases of the same length: the bare loop (clear and flip, an empty
// callback), the console as it starts (banner and prompt), and the console
// with a full buffer of 39 lines. Prints one line per phase.
//   frame-rate [FRAMES]   frames per phase, default 600
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/application.h"
#include "app/globals.h"
#include "app/window_procedure.h"
#include "bridge/bridge.h"

Display display;
Console console;

namespace {

int framesPerPhase = 600;
int frame = 0;
LARGE_INTEGER phaseStart[4];

const char* const PHASE_NAMES[] = {"bare loop (clear, flip)", "console, banner and prompt",
                                   "console, full buffer of 39 lines"};

void fillBuffer() {
    console.clear();
    char text[128];
    for (int line = 0; line < 38; ++line) {
        std::snprintf(text, sizeof text, "line %02d of a full screen of console text, command output and prompts\n",
                      line);
        console << text;
    }
    console << "cmd=)> ";
    console.beginInput();
}

// One callback for all phases, so that the loop itself is the same.
void measuredFrame(std::int32_t) {
    const int phase = frame / framesPerPhase;
    if (frame % framesPerPhase == 0) {
        QueryPerformanceCounter(&phaseStart[phase]);
        if (phase == 2) fillBuffer();
        if (phase == 3) {
            display.close();
            return;
        }
    }
    if (phase >= 1) console.render();
    ++frame;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) framesPerPhase = std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : framesPerPhase;
    if (!display.open(CONSOLE_WINDOW_CLASS, 640, 480, 4, windowProcedure, GetModuleHandleA(nullptr), nullptr, nullptr))
        return 1;
    startConsole();
    display.run(measuredFrame);
    if (frame < 3 * framesPerPhase) {
        std::printf("frame-rate: only %d frames drawn (was the window active?)\n", frame);
        return 1;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int phase = 0; phase < 3; ++phase) {
        const double seconds = static_cast<double>(phaseStart[phase + 1].QuadPart - phaseStart[phase].QuadPart) /
                               static_cast<double>(frequency.QuadPart);
        std::printf("%-34s %6d frames  %7.3f s  %8.1f frames/s\n", PHASE_NAMES[phase], framesPerPhase, seconds,
                    framesPerPhase / seconds);
    }
    return 0;
}
