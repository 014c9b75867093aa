#pragma once
// The Display a measurement program times, with the window procedure that
// keeps its activation up to date and ends the program with its window.
#include <windows.h>

#include "framework/display/display.h"

extern Display display;

LRESULT CALLBACK measuredWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
