// Exact, case-sensitive lookups of command words and colour names.
#include <cstring>

#include "commands/command_table.h"
#include "console/console.h"

namespace {

struct CommandWord {
    const char* word;
    int number;
};

constexpr CommandWord COMMANDS[] = {
    {"flush", COMMAND_FLUSH},
    {"about", COMMAND_ABOUT},
    {"time", COMMAND_TIME},
    {":)", COMMAND_SMILE},
    {"add", COMMAND_ADD},
    {"sub", COMMAND_SUB},
    {"mul", COMMAND_MUL},
    {"div", COMMAND_DIV},
    {"dump", COMMAND_DUMP},
    {"exit", COMMAND_EXIT},
    {"settextcolor", COMMAND_SET_TEXT_COLOR},
    {"setbkcolor", COMMAND_SET_BACK_COLOR},
    {"pause", COMMAND_PAUSE},
    {"lost", COMMAND_LOST},
    {"echo", COMMAND_ECHO},
    {"batch", COMMAND_BATCH},
    {"call", COMMAND_CALL},
};

struct ColorName {
    const char* name;
    ColorRef color;
};

constexpr ColorName COLORS[] = {
    {"white", 0xFFFFFF}, {"red", 0x0000FF}, {"blue", 0xFF0000}, {"green", 0x00C800}, {"black", 0x000000},
};

}  // namespace

int Console::lookupCommand(const char* word) {
    for (const CommandWord& command : COMMANDS)
        if (std::strcmp(word, command.word) == 0) return command.number;
    return COMMAND_UNKNOWN;
}

ColorRef Console::lookupColor(const char* name) {
    for (const ColorName& color : COLORS)
        if (std::strcmp(name, color.name) == 0) return color.color;
    return static_cast<ColorRef>(-1);
}
