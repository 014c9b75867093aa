#pragma once
// What the measurement programs share to time a figure and its reference
// alike: one clock, and the numbered text they print or write.
#include <cstddef>
#include <string>

// Seconds on the system's monotonic clock (the performance counter on
// Windows), from an arbitrary start: only differences mean anything.
double secondsNow();

// Numbered lines up to at least `bytes` bytes, so that what arrives can be
// checked line by line. The format holds the line's number (one %u) and ends
// the line; the default is the stream text of the bridge's measurements.
std::string numberedText(std::size_t bytes, const char* lineFormat = "stream line %09u of the measurement text\n");
