// The commands that print fixed texts or the line itself: about, :), lost,
// echo, and the two that only touch the buffer's state: flush and pause.
#include <cstring>

#include "commands/commands.h"
#include "console/console.h"

namespace {

// Five lines, each starting with a blank, and one blank after the last break.
constexpr char LOST_VERSE[] =
    "\n"
    " Lost in the buffer, lines drift by,\n"
    " the prompt waits, green on black;\n"
    " old words scroll up and say goodbye,\n"
    " no key will ever bring them back.\n"
    " strike a key and find your way home.\n"
    " ";

static_assert(sizeof LOST_VERSE - 1 == 185, "the verse is 185 characters");

}  // namespace

// Like cls, flush empties the history too.
void commandFlush(Console& console) {
    console.clear();
    console.clearHistory();
}

void commandAbout(Console& console) {
    console.printf("\n Korvane .. streams example\n");
    console.printf("Written by the Korvane team");
    console.printf("\n");
    console.printf("https://korvane.example.org");
    console.printf("\n");
    console.printf(":)");
}

void commandSmile(Console& console) { console.printf(" \n hE hE hE.. your prEEty happy hE hE hE"); }

void commandLost(Console& console) {
    console.printf("%s", LOST_VERSE);
    console.pause();
}

void commandPause(Console& console) { console.pause(); }

void commandEcho(Console& console) {
    console.printf("\n");
    const char* line = console.commandLine;
    if (!line) return;
    // Everything after the four letters of the command word, as typed.
    const char* word = std::strstr(line, "echo");
    if (word) console.printf("%s", word + 4);
}
