#include "commands/word_split.h"

int splitWords(char* line, char** words, int maxWords) {
    int count = 0;
    char* p = line;
    while (count < maxWords) {
        while (*p == ' ') ++p;
        if (*p == '\0') break;
        words[count++] = p;
        while (*p != ' ' && *p != '\0') ++p;
        if (*p == '\0') break;
        *p++ = '\0';
    }
    return count;
}
