#pragma once
#include "console/console.h"
#include "framework/display/display.h"

extern Console console;
extern Display display;
