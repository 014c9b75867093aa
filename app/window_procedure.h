#pragma once
// The console window's procedure: routes the end of the window, activation,
// keys and the client's bridge requests to the display and the console.
#include <windows.h>

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
