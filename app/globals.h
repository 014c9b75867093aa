#pragma once
#include "console/console.h"
#include "framework/display/global_display.h"

extern Console console;
