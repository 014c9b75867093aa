// The process's global objects. They live in this one file because C++ fixes
// the order of construction only within a translation unit: Winsock is up
// before the display and the console exist, and at exit the display's
// surfaces go between the first and the last Winsock clean-ups.
#include "app/globals.h"
#include "app/winsock_startup.h"

WinsockStartup firstWinsock;
WinsockStartup secondWinsock;
Display display;
Console console;
WinsockStartup thirdWinsock;
