#pragma once
// The command words and the colour names the interpreter knows.

inline constexpr int MAX_WORDS = 500;

enum CommandNumber : int {
    COMMAND_UNKNOWN = -1,
    COMMAND_FLUSH = 1,
    COMMAND_ABOUT = 2,
    COMMAND_TIME = 3,
    COMMAND_SMILE = 4,
    COMMAND_ADD = 5,
    COMMAND_SUB = 6,
    COMMAND_MUL = 7,
    COMMAND_DIV = 8,
    COMMAND_DUMP = 9,
    COMMAND_EXIT = 16,
    COMMAND_SET_TEXT_COLOR = 17,
    COMMAND_SET_BACK_COLOR = 18,
    COMMAND_PAUSE = 19,
    COMMAND_LOST = 20,
    COMMAND_ECHO = 21,
    COMMAND_BATCH = 22,
    COMMAND_CALL = 23,
};
