#pragma once
// The platform effects the console core needs, and nothing else. The Windows
// build links the real calls (app/platform_win32.cpp); native tests and
// benchmarks link a fake that records the calls and answers as told.
#include "console/font_handle.h"

namespace platform {

// Sends one bridge notification (wParam 0, lParam 0) to the client's window,
// found by its class name; goes nowhere when there is no client, and then
// answers false.
bool notifyClient(unsigned message);

// Asks the shell to "open" a program with parameters, shown normally.
void openWithShell(const char* program, const char* parameters);

// True when a directory search finds a match for the name (so a directory or
// a matching wildcard pattern counts too).
bool findFile(const char* name);

// True when Shift is down now or was pressed since the last query.
bool shiftHeld();

// True when Control is held with the key being handled: down now, or down
// when that key's message was made. A Control pressed and released earlier
// does not count.
bool controlHeld();

// Asks the display to close its window; the frame loop ends soon after.
void closeDisplay();

// The console's font: "Arial", height 12; null when the platform refuses.
FontHandle createConsoleFont();

// What the screen shows changed (the buffer's text or colours, the input
// line opened or closed): the display draws a frame soon. Cheap; calling it
// more often than needed costs at most a frame.
void screenChanged();

}  // namespace platform
