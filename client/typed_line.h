#pragma once
// While a line request is pending, text printed into the console joins the
// open input line until the client moves the line's start past it. When the
// user's Enter falls between the print and that move, the delivered line
// holds the printed text: this takes it out again, so that a hosted program
// never reads its own output.
#include <string>

// The line without the last copy of `printed` in it; the line itself when
// `printed` is empty or not in it.
std::string withoutPrintedText(const std::string& line, const std::string& printed);
