#pragma once
// The console's reactions to the client's six requests.
#include "bridge/bridge.h"

class Console;
class TerminalPrint;

// Handles a bridge request; false when the message is not one of the six.
// wParam counts only for WM_BRIDGE_PRINT, whose flags it holds.
bool handleBridgeRequest(Console& console, unsigned message, unsigned long long wParam = 0);

// Appends the text of a stream file (up to its first zero byte) to the
// console; does nothing when the file cannot be opened. With
// BRIDGE_PRINT_TERMINAL in `flags`, the whole file goes through the
// terminal print instead, which ignores zero bytes. With
// BRIDGE_PRINT_ABOVE_INPUT and the input line open, the text goes above it.
void bridgePrint(Console& console, const char* path = STREAM_OUT_PATH, unsigned long long flags = 0);

// The terminal print's state, kept from one terminal print to the next.
TerminalPrint& bridgeTerminal();
