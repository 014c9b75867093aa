// A counter that client code advances and polls for change; 101 values,
// 0..100.
#include "framework/display/display.h"

void Display::advanceCounter() {
    // Same as "+1, then 0 past 100", without overflowing a stray INT_MAX.
    counter = counter >= 100 ? 0 : counter + 1;
}

// Compares values, not advances: a full turn of 101 advances is no change.
bool Display::checkCounter() {
    if (seenCounter == counter) {
        return false;
    }
    seenCounter = counter;
    return true;
}

void Display::latchCounter() {
    counterChanged = checkCounter();
}

bool Display::counterLatched() const {
    return counterChanged;
}
