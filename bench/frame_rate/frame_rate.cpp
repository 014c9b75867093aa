// frame-rate: frames per second of the frame loop in one run, in phases of
// the same length: the bare loop (clear and flip, an empty callback), the
// console as it starts (banner and prompt), the console with a full buffer
// of 39 lines, the same with a line printed every frame, and the view
// 10,000 lines back into the history, still and moving a line every frame.
// The phases take turns in blocks of 100 frames, so that a machine busy
// with other work slows all of them alike.
// Prints one line per phase. The loop runs without a frame limit
// (FramePace::noLimit), so that the figures are the render's own speed.
//   frame-rate [FRAMES]   frames per phase, default 600
// The idle console, as korvane.exe runs it (on-change: frames driven by
// change, at the display's refresh rate), or drawing a frame at every slot of
// that pace (every-slot), or at every pass without a limit (no-limit), until
// Escape or the window closes, in full screen or with --window in a window;
// then prints the frames a second, counted from two seconds after its first
// frame to its last:
//   frame-rate idle [on-change|every-slot|no-limit] [--window]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/application.h"
#include "app/globals.h"
#include "app/window_procedure.h"
#include "bridge/bridge.h"

Display display;
Console console;

namespace {

constexpr int BLOCK = 100;
int framesPerPhase = 600;
int frame = 0;
LARGE_INTEGER blockStart;
constexpr int PHASES = 6;
LONGLONG phaseTicks[PHASES];

const char* const PHASE_NAMES[] = {"bare loop (clear, flip)",          "console, banner and prompt",
                                   "console, full buffer of 39 lines", "console, full buffer, a line a frame",
                                   "console, 10,000 lines back",       "console, 10,000 back, a line a frame"};
constexpr int HISTORY_BACK = 10000;

void bannerBuffer() {
    console.clear();
    console << BANNER_TEXT;
    console << "cmd=)> ";
    console.beginInput();
}

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

// A full history, then the view that far back.
void scrolledBack() {
    fillBuffer();
    char text[128];
    for (int line = 0; line < HISTORY_BACK + VIEW_ROWS; ++line) {
        std::snprintf(text, sizeof text, "history line %05d of console text, command output and prompts\n", line);
        console << text;
    }
    console.scrollView(-HISTORY_LINES);
    console.scrollView(HISTORY_BACK);
}

// One callback for all phases, so that the loop itself is the same. A
// block's time runs from its first frame to the first frame of the next.
void measuredFrame(std::int32_t) {
    const int block = frame / BLOCK;
    const int phase = block % PHASES;
    if (frame % BLOCK == 0) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        if (frame > 0) phaseTicks[(block - 1) % PHASES] += now.QuadPart - blockStart.QuadPart;
        blockStart = now;
        if (frame == PHASES * framesPerPhase) {
            display.close();
            return;
        }
        if (phase == 1) bannerBuffer();
        if (phase == 2 || phase == 3) fillBuffer();
        if (phase == 4 || phase == 5) scrolledBack();
    }
    if (phase == 3) console << "one more line of console text, command output and prompts\n";
    if (phase == 5) console.scrollView(frame % 2 ? 1 : -1);
    if (phase >= 1) console.render();
    ++frame;
}

// The first frames of a Wine process can take long: the count starts with
// the first frame two seconds after the first.
constexpr double WARM_UP_SECONDS = 2.0;
LARGE_INTEGER startFrame, firstFrame, lastFrame, counterFrequency;
long framesSeen = 0, idleFrames = 0;

void idleFrame(std::int32_t frameArg) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    if (framesSeen++ == 0) startFrame = now;
    const double sinceStart =
        static_cast<double>(now.QuadPart - startFrame.QuadPart) / static_cast<double>(counterFrequency.QuadPart);
    if (sinceStart >= WARM_UP_SECONDS) {
        (idleFrames == 0 ? firstFrame : lastFrame) = now;
        ++idleFrames;
    }
    renderFrame(frameArg);
}

int runIdle(const char* mode) {
    const bool noLimit = std::strcmp(mode, "no-limit") == 0;
    if (!display.open(CONSOLE_WINDOW_CLASS, 640, 480, 4, windowProcedure, GetModuleHandleA(nullptr), nullptr, nullptr))
        return 1;
    if (noLimit) display.setFramePace(FramePace::noLimit());
    const int refresh = display.refreshRate();
    QueryPerformanceFrequency(&counterFrequency);
    startConsole();
    if (noLimit || std::strcmp(mode, "every-slot") == 0) display.setFramesOnChange(false);
    display.run(idleFrame);
    const double seconds =
        static_cast<double>(lastFrame.QuadPart - firstFrame.QuadPart) / static_cast<double>(counterFrequency.QuadPart);
    if (idleFrames < 2 || seconds <= 0) {
        std::printf("frame-rate: only %ld frames drawn (was the window active?)\n", idleFrames);
        return 1;
    }
    std::printf("idle console, %s: %ld frames in %.3f s = %.1f frames/s (display refresh %d Hz)\n", mode, idleFrames,
                seconds, (idleFrames - 1) / seconds, refresh);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "idle") == 0) {
        if (argc > 3 && std::strcmp(argv[3], "--window") == 0) display.windowScale = 1;
        return runIdle(argc > 2 ? argv[2] : "on-change");
    }
    if (argc > 1) framesPerPhase = std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : framesPerPhase;
    framesPerPhase = (framesPerPhase + BLOCK - 1) / BLOCK * BLOCK;
    if (!display.open(CONSOLE_WINDOW_CLASS, 640, 480, 4, windowProcedure, GetModuleHandleA(nullptr), nullptr, nullptr))
        return 1;
    display.setFramePace(FramePace::noLimit());
    startConsole();
    display.setFramesOnChange(false);  // every pass draws: the render's own speed
    display.run(measuredFrame);
    if (frame < PHASES * framesPerPhase) {
        std::printf("frame-rate: only %d frames drawn (was the window active?)\n", frame);
        return 1;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int phase = 0; phase < PHASES; ++phase) {
        const double seconds = static_cast<double>(phaseTicks[phase]) / static_cast<double>(frequency.QuadPart);
        std::printf("%-38s %6d frames  %7.3f s  %8.1f frames/s\n", PHASE_NAMES[phase], framesPerPhase, seconds,
                    framesPerPhase / seconds);
    }
    return 0;
}
