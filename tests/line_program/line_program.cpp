// line-program: an ordinary line-based program that knows nothing of
// Korvane, in a few modes, for the demo, the tests of exec and its
// measurements. Standard output is in text mode, so its line ends are CR LF.
//   echo            answer each line with "echo: LINE"; "quit" ends with status 3
//   ask             ask for a name without a line end, greet, end with status 0
//   bulk MB         write MB megabytes of numbered lines in writes of 1 MB, then "last line"
//   prebuilt MB KB  the same text, built whole before the first write, then
//                   written in writes of KB kilobytes straight to the
//                   standard output handle: a writer as fast as the pipe
//   partial         write a text without a final line end, end with status 5
//   wait PID STOP   write the process id into the file PID, then wait until the file STOP exists
//   nothing         end at once
//   progress        a progress line updated in place with CR, in colour
//   tty             say whether standard output is a terminal, then ask a
//                   name without a line end or a flush, and greet
//   ctrlc           catch Ctrl+C: say "ready", then "caught Ctrl+C" and end
//                   with status 0 when it comes (status 9 after 20 s without)
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t MEGABYTE = 1024 * 1024;

bool readLine(std::string& line) {
    line.clear();
    int c;
    while ((c = std::getchar()) != EOF && c != '\n') line += static_cast<char>(c);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return c != EOF || !line.empty();
}

int echoLines() {
    std::string line;
    while (readLine(line)) {
        if (line == "quit") return 3;
        std::printf("echo: %s\n", line.c_str());
        std::fflush(stdout);
    }
    return 0;
}

int ask() {
    std::printf("what is your name? ");
    std::fflush(stdout);
    std::string name;
    readLine(name);
    std::printf("hello, %s\n", name.c_str());
    return 0;
}

// One megabyte of numbered lines of 64 bytes with their LF: 16383 lines,
// then a line of dots to fill the megabyte.
void appendBulkMegabyte(std::string& block, unsigned& n) {
    char line[80];
    const std::size_t end = block.size() + MEGABYTE;
    while (block.size() + 64 < end) {
        std::snprintf(line, sizeof line, "bulk line %09u of the output of a hosted program, 64 bytes\n", n++);
        block += line;
    }
    block.append(end - block.size() - 1, '.');
    block += '\n';
}

int bulk(long megabytes) {
    std::string block;
    unsigned n = 0;
    for (long m = 0; m < megabytes; ++m) {
        block.clear();
        appendBulkMegabyte(block, n);
        std::fwrite(block.data(), 1, block.size(), stdout);
        std::fflush(stdout);
    }
    std::printf("last line\n");
    return 0;
}

// The text of bulk, with LF line ends, in writes of `kilobytes` each.
int prebuilt(long megabytes, long kilobytes) {
    std::string text;
    text.reserve(static_cast<std::size_t>(megabytes) * MEGABYTE + 16);
    unsigned n = 0;
    for (long m = 0; m < megabytes; ++m) appendBulkMegabyte(text, n);
    text += "last line\n";
    const std::size_t step = static_cast<std::size_t>(kilobytes > 0 ? kilobytes : 64) * 1024;
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    for (std::size_t at = 0; at < text.size();) {
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(text.size() - at < step ? text.size() - at : step);
        if (!WriteFile(out, text.data() + at, size, &written, nullptr) || written == 0) return 1;
        at += written;
    }
    return 0;
}

int waitForStop(const char* pidFile, const char* stopFile) {
    if (std::FILE* file = std::fopen(pidFile, "wb")) {
        std::fprintf(file, "%lu", static_cast<unsigned long>(GetCurrentProcessId()));
        std::fclose(file);
    }
    std::printf("waiting\n");
    std::fflush(stdout);
    while (GetFileAttributesA(stopFile) == INVALID_FILE_ATTRIBUTES) Sleep(20);
    return 0;
}

void writeNow(const char* text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
    Sleep(50);  // each piece its own print
}

HANDLE controlC = nullptr;

BOOL WINAPI onControl(DWORD event) {
    if (event != CTRL_C_EVENT) return FALSE;
    SetEvent(controlC);
    return TRUE;
}

int catchControlC() {
    controlC = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(onControl, TRUE);
    writeNow("ready\n");
    if (WaitForSingleObject(controlC, 20000) != WAIT_OBJECT_0) return 9;
    std::fputs("caught Ctrl+C\n", stdout);
    return 0;
}

int tty() {
    DWORD mode = 0;
    std::printf("isatty %d, console mode %d\n", _isatty(1) ? 1 : 0,
                GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) ? 1 : 0);
    std::printf("name? ");  // no line end, no flush: a terminal shows it all the same
    std::string name;
    readLine(name);
    std::printf("hello, %s\n", name.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "";
    if (std::strcmp(mode, "echo") == 0) return echoLines();
    if (std::strcmp(mode, "ask") == 0) return ask();
    if (std::strcmp(mode, "bulk") == 0) return bulk(argc > 2 ? std::strtol(argv[2], nullptr, 10) : 1);
    if (std::strcmp(mode, "prebuilt") == 0)
        return prebuilt(argc > 2 ? std::strtol(argv[2], nullptr, 10) : 1,
                        argc > 3 ? std::strtol(argv[3], nullptr, 10) : 64);
    if (std::strcmp(mode, "partial") == 0) {
        std::printf("the end without a line end");
        return 5;
    }
    if (std::strcmp(mode, "wait") == 0 && argc > 3) return waitForStop(argv[2], argv[3]);
    if (std::strcmp(mode, "nothing") == 0) return 0;
    if (std::strcmp(mode, "progress") == 0) {
        for (const char* piece : {"10%\r", "50%\r\x1b[32m"}) writeNow(piece);
        std::fputs("100%\x1b[0m\n", stdout);
        return 0;
    }
    if (std::strcmp(mode, "tty") == 0) return tty();
    if (std::strcmp(mode, "ctrlc") == 0) return catchControlC();
    std::fprintf(stderr,
                 "usage: line-program echo | ask | bulk MB | prebuilt MB KB | partial | wait PIDFILE STOPFILE | "
                 "nothing | progress | tty | ctrlc\n");
    return 2;
}
