#pragma once
// Start-up of the application: open the display, start the console, run the
// frame loop until the quit message.
#include <windows.h>

#include <cstdint>

// Returns the process exit code.
int runApplication(HINSTANCE instance);

// Hides the mouse cursor, asks the display for frames driven by change,
// starts the cursor's flicker, resets the console, prints the banner and the
// first prompt and opens the input line.
void startConsole();

// The frame callback: draws the console.
void renderFrame(std::int32_t frameArg);

// The text printed above the first prompt.
extern const char BANNER_TEXT[];
