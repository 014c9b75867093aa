#pragma once
// The two bridge files as the client sees them: it writes the text to print
// and reads the line that the console delivered.
#include <string>

// Replaces the stream file of text to print; false when it cannot be written.
bool writeStreamOut(const std::string& text);
// Reads the delivered line, all bytes; false when the file cannot be read.
bool readStreamIn(std::string& line);
// Reads the text to print back, as another client wrote it.
bool readStreamOut(std::string& text);
