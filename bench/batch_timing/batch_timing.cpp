// batch-timing: figures of the running korvane.exe as its users see them,
// printed, never asserted.
//  - A batch file of N `add` lines, timed from the Enter that starts it
//    (sent with SendMessage, which returns once the file has run) until that
//    call returns. The buffer is dumped afterwards and its last result line
//    checked, so that a run that did less work cannot pass for a fast one.
//  - Many small prints through the bridge: write a short c:\stream.o and send
//    WM_BRIDGE_PRINT, against the same writes of the file alone.
// Uses only Win32, so that it depends on no client library.
//   batch-timing KORVANE_EXE LINES...     (run in a scratch folder)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/support/measure_support.h"
#include "bridge/bridge.h"

namespace {

constexpr UINT REPLY_TIMEOUT_MS = 300000;

bool send(HWND console, UINT message, WPARAM wParam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(console, message, wParam, 0, SMTO_NORMAL, REPLY_TIMEOUT_MS, &result) != 0;
}

// Lower-case letters, digits and blanks type as their own key codes.
bool type(HWND console, const char* text) {
    for (const char* p = text; *p; ++p) {
        const char c = *p;
        const WPARAM key = c >= 'a' && c <= 'z' ? static_cast<WPARAM>(c - 'a' + 'A') : static_cast<WPARAM>(c);
        if (!send(console, WM_KEYDOWN, key)) return false;
    }
    return true;
}

bool writeFile(const char* path, const std::string& text) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

std::string readFile(const char* path) {
    std::string data;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return data;
    char chunk[4096];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) data.append(chunk, n);
    std::fclose(file);
    return data;
}

// The lines the bash reference runs too: add i (i mod 97).
std::string addLines(int count) {
    std::string text;
    text.reserve(static_cast<std::size_t>(count) * 20);
    char line[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(line, sizeof line, "add %d %d\n", i, i % 97);
        text += line;
    }
    return text;
}

bool timeBatch(HWND console, int count) {
    if (!writeFile("lines", addLines(count))) {
        std::printf("batch-timing: cannot write the batch file\n");
        return false;
    }
    if (!type(console, "batch lines")) return false;
    double start = secondsNow();
    if (!send(console, WM_KEYDOWN, VK_RETURN)) return false;
    const double seconds = secondsNow() - start;

    // The file ends in a break, so its last result is followed by the prompt;
    // dump ends the file with one more line end.
    if (!type(console, "dump out") || !send(console, WM_KEYDOWN, VK_RETURN)) return false;
    const std::string dumped = readFile("out");
    char last[96];
    std::snprintf(last, sizeof last, "\r\n %d + %d = %d\r\ncmd=)> dump out\r\n", count - 1, (count - 1) % 97,
                  count - 1 + (count - 1) % 97);
    const bool complete = dumped.size() >= std::strlen(last) &&
                          dumped.compare(dumped.size() - std::strlen(last), std::string::npos, last) == 0;
    if (!complete && std::getenv("BATCH_TIMING_SHOW"))
        std::printf("dumped tail: [%s]\n", dumped.substr(dumped.size() > 200 ? dumped.size() - 200 : 0).c_str());
    std::printf("batch of %8d add lines  %8.3f s  %12.0f lines/s  %s\n", count, seconds, count / seconds,
                complete ? "last result checked" : "LAST RESULT MISSING");
    std::fflush(stdout);
    return complete;
}

// The cost of any command line, for comparison: Enter on an empty line.
bool timeEmptyLines(HWND console, int lines) {
    double start = secondsNow();
    for (int i = 0; i < lines; ++i)
        if (!send(console, WM_KEYDOWN, VK_RETURN)) return false;
    std::printf("empty command line: %8.3f ms per Enter\n", 1000 * (secondsNow() - start) / lines);
    return true;
}

bool timeSmallPrints(HWND console, int prints) {
    const std::string line = "a short line of client output, sixty characters in all....\n";
    double start = secondsNow();
    for (int i = 0; i < prints; ++i)
        if (!writeFile(STREAM_OUT_PATH, line)) return false;
    const double writeSeconds = secondsNow() - start;

    start = secondsNow();
    for (int i = 0; i < prints; ++i)
        if (!writeFile(STREAM_OUT_PATH, line) || !send(console, WM_BRIDGE_PRINT, 0)) return false;
    const double printSeconds = secondsNow() - start;
    const double mb = static_cast<double>(line.size()) * prints / (1024.0 * 1024.0);
    std::printf(
        "small prints: %d files of %zu bytes | writes alone %7.3f s %8.0f files/s | write and print %7.3f s "
        "%8.0f files/s %8.3f MB/s\n",
        prints, line.size(), writeSeconds, prints / writeSeconds, printSeconds, prints / printSeconds,
        mb / printSeconds);
    std::fflush(stdout);
    return true;
}

HWND waitForConsole(DWORD processId) {
    for (int i = 0; i < 400; ++i) {
        HWND window = FindWindowA(CONSOLE_WINDOW_CLASS, nullptr);
        DWORD owner = 0;
        if (window) GetWindowThreadProcessId(window, &owner);
        if (window && owner == processId && send(window, WM_NULL, 0)) return window;
        Sleep(50);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: batch-timing KORVANE_EXE LINES...\n");
        return 2;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string commandLine = std::string("\"") + argv[1] + "\"";
    if (!CreateProcessA(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        std::printf("batch-timing: cannot start %s\n", argv[1]);
        return 1;
    }
    CloseHandle(info.hThread);
    HWND console = waitForConsole(info.dwProcessId);
    bool ok = console != nullptr;
    if (!ok) std::printf("batch-timing: no console window\n");
    if (ok) ok = timeEmptyLines(console, 50);
    for (int i = 2; ok && i < argc; ++i) ok = timeBatch(console, std::atoi(argv[i]));
    if (ok) ok = timeSmallPrints(console, 500);
    if (console) send(console, WM_KEYDOWN, VK_ESCAPE);
    if (WaitForSingleObject(info.hProcess, 20000) != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, 1);
        ok = false;
    }
    CloseHandle(info.hProcess);
    std::remove("lines");
    std::remove("out");
    return ok ? 0 : 1;
}
