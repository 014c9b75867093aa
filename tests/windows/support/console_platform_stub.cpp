// The console's platform effects for the rendering tests: only the font is
// real; nothing else is reached while rendering.
#include "console/platform.h"
#include "framework/text/font.h"

namespace platform {

bool notifyClient(unsigned) { return false; }
void openWithShell(const char*, const char*) {}
bool findFile(const char*) { return false; }
bool shiftHeld() { return false; }
bool controlHeld() { return false; }
void closeDisplay() {}
void screenChanged() {}
FontHandle createConsoleFont() { return createFont("Arial", 12); }

}  // namespace platform
