#pragma once
// The console's mouse and clipboard: the wheel and Shift+Page keys move the
// view, a left drag selects, Ctrl+C, Ctrl+Insert, Enter or a right-click
// copy, Ctrl+V, Shift+Insert or a right-click without a selection paste,
// one line per timer tick. In full screen the pointer shows while the mouse
// moves or a button is held, and hides 2 s after.
#include <windows.h>

// A key before the console sees it; true when it was used up here.
bool scrollbackKey(HWND window, WPARAM key);

// Mouse messages and this file's timers; true when handled.
bool scrollbackMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
