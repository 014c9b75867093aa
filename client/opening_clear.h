#pragma once
// A console host clears its screen when a pseudo console opens (ESC[2J,
// ESC[H). Shown in the Korvane console, that would wipe what the user had
// on screen before exec ran: until the program's first character, this
// filter takes out the sequences that erase or home (ESC[...J, ESC[...K,
// ESC[...H) and passes on everything else. From the first character on it
// passes everything, so the program's own clears act.
#include <string>
#include <string_view>

class OpeningClearFilter {
public:
    std::string feed(std::string_view chunk);
    bool opening() const { return !shown; }

private:
    bool shown = false;
    std::string held;  // a sequence cut off at the end of the last chunk
};
