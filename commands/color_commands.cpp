// settextcolor and setbkcolor: a colour by name from the colour table.
#include "commands/commands.h"
#include "console/console.h"

namespace {

// Reads the colour word; false (with the message printed) when it is missing
// or not a colour name.
bool readColor(Console& console, char** words, int count, ColorRef& color) {
    if (count != 2) {
        console.printf("\n[syntax error] - the set color command requires one argument");
        return false;
    }
    color = Console::lookupColor(words[1]);
    if (color == static_cast<ColorRef>(-1)) {
        console.printf("\n[syntax error] - the set color command requires a valid color");
        return false;
    }
    return true;
}

}  // namespace

void commandSetTextColor(Console& console, char** words, int count) {
    ColorRef color;
    if (readColor(console, words, count, color)) console.setTextColor(color);
}

void commandSetBackColor(Console& console, char** words, int count) {
    ColorRef color;
    if (readColor(console, words, count, color)) console.setBackColor(color);
}
