// The commands that reach outside the console: time, exit, call.
#include <cstring>
#include <ctime>

#include "commands/commands.h"
#include "commands/time_text.h"
#include "console/console.h"
#include "console/platform.h"

void commandTime(Console& console) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[TIME_TEXT_SIZE];
    formatTimeText(local, text);
    console.printf("\n%s", text);
}

void commandExit(Console& console) {
    console.printf("\ngoodbye!!!");
    platform::closeDisplay();
}

namespace {

const char* skipSpaces(const char* p) {
    while (*p == ' ') ++p;
    return p;
}

const char* skipWord(const char* p) {
    while (*p != ' ' && *p != '\0') ++p;
    return p;
}

}  // namespace

void commandCall(Console& console, char** words, int count) {
    if (count < 2) {
        console.printf("\n[syntax error] call command requires atleast one argument");
        return;
    }
    console.printf("\n");
    // The parameters are the raw line from one character after the program
    // word on, extra spaces included.
    const char* line = console.commandLine ? console.commandLine : "";
    const char* programEnd = skipWord(skipSpaces(skipWord(skipSpaces(line))));
    const char* parameters = *programEnd ? programEnd + 1 : programEnd;
    platform::openWithShell(words[1], parameters);
}
