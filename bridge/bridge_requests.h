#pragma once
// The console's reactions to the client's six requests.
#include "bridge/bridge.h"

class Console;

// Handles a bridge request; false when the message is not one of the six.
bool handleBridgeRequest(Console& console, unsigned message);

// Appends the text of a stream file (up to its first zero byte) to the
// console; does nothing when the file cannot be opened.
void bridgePrint(Console& console, const char* path = STREAM_OUT_PATH);
