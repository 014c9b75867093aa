// Running one command line: split it into words, look the first one up,
// perform the command and bring the prompt back.
#include <cstring>
#include <new>

#include "commands/command_table.h"
#include "commands/commands.h"
#include "commands/file_helpers.h"
#include "commands/word_split.h"
#include "console/console.h"

void Console::execute(char* line) {
    if (line[0] == '\0') {
        showPrompt();
        return;
    }
    // echo and call read the line as it was typed; the split cuts it up.
    // Lines of usual length are copied on the stack: a batch file runs
    // millions of them, and a heap copy for each is most of their cost.
    const std::size_t size = std::strlen(line) + 1;
    char shortCopy[SCRIPT_LINE_SIZE];
    char* raw = size <= sizeof shortCopy ? shortCopy : new (std::nothrow) char[size];
    if (!raw) {
        printf("%s", OUT_OF_MEMORY_TEXT);
        showPrompt();
        return;
    }
    std::memcpy(raw, line, size);

    char* words[MAX_WORDS];
    const int count = splitWords(line, words, MAX_WORDS);
    if (count > 0) {
        commandLine = raw;
        runCommand(words, count);
        commandLine = nullptr;
    }
    if (raw != shortCopy) delete[] raw;
    if (count == 0) showPrompt();
}

void Console::runCommand(char** words, int count) {
    switch (lookupCommand(words[0])) {
    case COMMAND_FLUSH: commandFlush(*this); break;
    case COMMAND_ABOUT: commandAbout(*this); break;
    case COMMAND_TIME: commandTime(*this); break;
    case COMMAND_SMILE: commandSmile(*this); break;
    case COMMAND_ADD: commandAdd(*this, words, count); break;
    case COMMAND_SUB: commandSub(*this, words, count); break;
    case COMMAND_MUL: commandMul(*this, words, count); break;
    case COMMAND_DIV: commandDiv(*this, words, count); break;
    case COMMAND_DUMP: commandDump(*this, words, count); break;
    case COMMAND_EXIT: commandExit(*this); break;
    case COMMAND_SET_TEXT_COLOR: commandSetTextColor(*this, words, count); break;
    case COMMAND_SET_BACK_COLOR: commandSetBackColor(*this, words, count); break;
    case COMMAND_PAUSE: commandPause(*this); return;  // the key that ends the pause brings the prompt
    case COMMAND_LOST: commandLost(*this); return;
    case COMMAND_ECHO: commandEcho(*this); break;
    case COMMAND_BATCH: commandBatch(*this, words, count); break;
    case COMMAND_CALL: commandCall(*this, words, count); break;
    default: printf("\n - unknown command"); break;
    }
    showPrompt();
}
