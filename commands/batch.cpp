// batch: a file of commands run line by line through the interpreter, with
// the prompt kept quiet until the outermost file has ended.
#include <cstring>
#include <new>

#include "commands/commands.h"
#include "commands/file_helpers.h"
#include "console/console.h"
#include "console/text_helpers.h"

namespace {

// A file that runs itself stops here instead of exhausting the stack.
constexpr int MAX_BATCH_DEPTH = 16;

// A file that runs itself several times fans out exponentially below that
// depth (four lines of "batch" on itself would run 4^16 files), so one batch
// command runs at most this many files in all.
constexpr int MAX_BATCH_RUNS = 256;
int batchRuns = 0;  // files run under the outermost batch command so far

// Runs one line from the staging buffer, or from a heap copy when it is
// longer; a line that finds no memory reports it, as a command line does.
void executeLine(Console& console, char (&staging)[SCRIPT_LINE_SIZE], const char* script, int start, int end) {
    const std::size_t needed = static_cast<std::size_t>(end > start ? end - start : 0) + 1;
    char* line = needed <= sizeof staging ? staging : new (std::nothrow) char[needed];
    if (!line) {
        console.printf("%s", OUT_OF_MEMORY_TEXT);
        console.showPrompt();
        return;
    }
    copyRange(script + start, line, 0, end - start);
    console.execute(line);
    if (line != staging) delete[] line;
}

}  // namespace

void Console::executeScript(char* script) {
    if (script[0] == '\0') return;
    if (findText(script, "\n", 0) < 0) {
        execute(script);
        return;
    }
    char staging[SCRIPT_LINE_SIZE];
    const int total = static_cast<int>(std::strlen(script));
    int lineStart = 0;
    for (const char* p = script; (p = static_cast<const char*>(std::memchr(p, '\n', script + total - p))); ++p) {
        const int i = static_cast<int>(p - script);
        executeLine(*this, staging, script, lineStart, i);
        lineStart = i + 1;
    }
    // The rest after the last break runs too, also when it is empty.
    executeLine(*this, staging, script, lineStart, total);
}

void commandBatch(Console& console, char** words, int count) {
    if (count != 2) {
        console.printf("\n[syntax error] - batch command takes one argument that being the file to proccess");
        return;
    }
    if (console.batchDepth >= MAX_BATCH_DEPTH) {
        console.printf("\n[error] - batch files nested too deeply, %s not run", words[1]);
        return;
    }
    if (console.batchDepth == 0) batchRuns = 0;
    if (batchRuns >= MAX_BATCH_RUNS) {
        console.printf("\n[error] - too many batch files run by one batch command, %s not run", words[1]);
        return;
    }
    const char* name = words[1];
    if (!fileExists(name)) {
        console.printf("\n[error] - file not found");
        return;
    }
    const std::int64_t size = fileSize(name);
    if (size < 0) {
        console.printf("\n[error] - file not found");
        return;
    }
    const std::size_t capacity = static_cast<std::size_t>(size) + 1 < 2 ? 2 : static_cast<std::size_t>(size) + 1;
    char* script = new (std::nothrow) char[capacity];
    if (!script) {
        console.printf("\n[error] - not enough memory to read %s", name);
        return;
    }
    readFile(name, script, capacity);
    if (std::strcmp(script, READ_FAILURE_MARK) == 0) {
        delete[] script;
        console.printf("\n[error] - file not found");
        return;
    }
    // Saved and restored, so that a nested file does not turn the prompt on
    // again for the rest of the file around it.
    const bool outerBatchMode = console.batchMode;
    console.batchMode = true;
    ++batchRuns;
    ++console.batchDepth;
    console.executeScript(script);
    --console.batchDepth;
    console.batchMode = outerBatchMode;
    delete[] script;
}
