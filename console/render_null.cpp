// The native build has no screen: a frame only keeps the buffer wrapped.
#include "console/console.h"

void Console::render() { wrapLines(); }
