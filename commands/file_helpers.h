#pragma once
// Whole-file helpers shared by the batch runner and the stream bridge.
#include <cstddef>
#include <cstdint>

// Left in the buffer by readFile when the file cannot be opened.
inline constexpr char READ_FAILURE_MARK[] = "\xEE";

// Room for one line of a script text that holds line breaks (longer lines
// still run whole; the staging buffer grows for them).
inline constexpr int SCRIPT_LINE_SIZE = 256;

// True when a directory search finds the name (a directory or a matching
// wildcard pattern counts too).
bool fileExists(const char* name);

// The number of bytes in the file, or -1 when it cannot be opened for reading.
std::int64_t fileSize(const char* name);

// Reads the file into buffer, at most capacity - 1 bytes, and terminates the
// text; READ_FAILURE_MARK when the file cannot be opened. capacity >= 2.
// Returns whether the file was opened.
bool readFile(const char* name, char* buffer, std::size_t capacity);
