#pragma once
// The program's one Display. The application defines it (app/globals.cpp;
// a measurement or test program defines its own); code below the application
// that draws on the screen reaches it through this declaration.
#include "framework/display/display.h"

extern Display display;
