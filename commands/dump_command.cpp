// dump: the buffer into a file, with Windows line ends on every platform.
#include <cstdio>
#include <cstring>

#include "commands/commands.h"
#include "console/console.h"

namespace {

// Writes text with every "\n" as CR LF, then one more line end.
bool writeWithLineEnds(std::FILE* file, const char* text) {
    bool ok = true;
    for (const char* p = text;;) {
        const char* lineEnd = std::strchr(p, '\n');
        const std::size_t n = lineEnd ? static_cast<std::size_t>(lineEnd - p) : std::strlen(p);
        ok = ok && std::fwrite(p, 1, n, file) == n && std::fwrite("\r\n", 1, 2, file) == 2;
        if (!lineEnd) break;
        p = lineEnd + 1;
    }
    return ok;
}

}  // namespace

void commandDump(Console& console, char** words, int count) {
    if (count != 2) {
        console.printf("\n [syntax error] - the dump command takes one argument the filename to write the data to");
        return;
    }
    const char* name = words[1];
    std::FILE* file = std::fopen(name, "wb");
    if (!file) {
        console.printf("\n[error] - could not open the file %s for writing", name);
        return;
    }
    const bool written = writeWithLineEnds(file, console.text);
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        console.printf("\n[error] - could not write the whole buffer into the file %s", name);
        return;
    }
    console.printf("\n succesful dump of the buffer into the file %s", name);
}
