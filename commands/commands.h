#pragma once
// The built-in commands. Each gets the word list (word 0 is the command word)
// and its count, checks its own word rule and prints its own messages.
class Console;

void commandFlush(Console& console);
void commandAbout(Console& console);
void commandTime(Console& console);
void commandSmile(Console& console);
void commandAdd(Console& console, char** words, int count);
void commandSub(Console& console, char** words, int count);
void commandMul(Console& console, char** words, int count);
void commandDiv(Console& console, char** words, int count);
void commandDump(Console& console, char** words, int count);
void commandExit(Console& console);
void commandSetTextColor(Console& console, char** words, int count);
void commandSetBackColor(Console& console, char** words, int count);
void commandPause(Console& console);
void commandLost(Console& console);
void commandEcho(Console& console);
void commandBatch(Console& console, char** words, int count);
void commandCall(Console& console, char** words, int count);
