#pragma once
// What every fuzz target shares: the fake platform's state, a scratch folder
// that is the current directory (dump files, batch files and the two stream
// files land there), and the one rule that keeps fuzzed file names inside it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "console/console.h"

struct FuzzPlatform {
    bool shift = false;
    int notifications = 0;
    int shellOpens = 0;
    int closeRequests = 0;
    // Directory searches left for this input. The console bounds the batch
    // files one command runs; this only keeps an input of many batch lines
    // within the fuzzer's time limit.
    int findBudget = 0;
    unsigned lastNotification = 0;
    // The client's window procedure: it may send requests of its own while
    // handling a notification, as a real client can.
    std::function<void(unsigned)> onNotify;
};

FuzzPlatform& fuzzPlatform();

// Enters the scratch folder (once per process) and resets the platform state
// for one input, with `findBudget` directory searches allowed.
void beginFuzzInput(int findBudget);

// Removes whatever the input left in the scratch folder.
void endFuzzInput();

// A text safe to reach the interpreter: stops at the first zero byte and
// turns every '/' into '_', so that no file name can leave the scratch folder.
std::string confined(const std::uint8_t* data, std::size_t size);
void confine(std::string& text);

// The one console of the process, loaded as start-up leaves it before the
// banner (every field reset, Caps Lock off).
Console& freshConsole();

// Aborts with a message when an invariant of the buffer does not hold:
// terminated within its capacity and an input start inside the text while
// the line is open.
void checkBuffer(const Console& console, const char* where);

[[noreturn]] void fuzzFail(const char* what, const char* where);
