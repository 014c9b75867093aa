#pragma once
// Small helpers over zero-terminated texts, shared by the console, the
// interpreter and the batch runner. Callers size the buffers; a copy never
// holds more than the text it is taken from.
#include <cstddef>

// Smallest position at or after start at which the whole pattern lies in the
// text; -1 when there is none. An empty pattern is never found.
int findText(const char* text, const char* pattern, int start);

// Copies text[start, end) into buffer and terminates it; an end not beyond
// the start (or a start past the text) gives an empty text. Reads no further
// than end, so its cost does not depend on the text after it.
void copyRange(const char* text, char* buffer, int start, int end);

// Copies text from position to its end into buffer; a position at or past
// the end gives an empty text.
void copyTail(const char* text, char* buffer, int position);

// True when every character is a decimal digit (so also for the empty text).
bool isNumber(const char* text);

// Number of line breaks among the first n characters.
int countBreaks(const char* chars, std::size_t n);
