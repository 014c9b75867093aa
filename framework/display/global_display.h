#pragma once
// The program's one Display. The application defines it (app/globals.cpp;
// a measurement or test program defines its own); code that draws on the
// screen without being handed the Display, such as the console's renderer,
// reaches it through this declaration.
#include "framework/display/display.h"

extern Display display;
