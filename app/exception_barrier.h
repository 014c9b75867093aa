#pragma once
// Nothing thrown may cross the window procedure or the frame callback into
// the system's code. The console allocates nothing that throws, so this only
// guards what may come: memory that ran out is reported like any failed
// command, with the console's message and, when no line or pause is open,
// a prompt; anything else is dropped with the message it interrupted.
#include <new>

#include "app/globals.h"

template <typename Action>
void withoutExceptions(Action action) noexcept {
    try {
        action();
    } catch (const std::bad_alloc&) {
        console.inputOpen = false;
        console.write(OUT_OF_MEMORY_TEXT);
        if (!console.paused) console.showPrompt();
    } catch (...) {
    }
}
