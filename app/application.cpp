#include "app/application.h"

#include "app/cursor_flicker.h"
#include "app/exception_barrier.h"
#include "app/globals.h"
#include "app/window_procedure.h"
#include "bridge/bridge.h"

const char BANNER_TEXT[] =
    " Welcome to Korvane Streams Example \n"
    " Written by the Korvane team \n"
    " Contact: korvane@example.org \n"
    " Web: korvane.example.org \n";

namespace {

constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;
constexpr int DESKTOP_DEPTH = 4;

}  // namespace

int runApplication(HINSTANCE instance) {
    if (!display.open(CONSOLE_WINDOW_CLASS, SCREEN_WIDTH, SCREEN_HEIGHT, DESKTOP_DEPTH, windowProcedure, instance,
                      nullptr, nullptr))
        return 0;
    startConsole();
    return display.run(renderFrame);
}

void startConsole() {
    display.hideCursor();
    // The console's screen changes only through what it is told (keys,
    // bridge requests, commands, the cursor's flicker): a frame then, and
    // none while it waits.
    display.setFramesOnChange(true);
    startCursorFlicker();
    console.load();
    console << BANNER_TEXT;
    console << "cmd=)> ";
    console.beginInput();
}

void renderFrame(std::int32_t) {
    withoutExceptions([] { console.render(); });
}
