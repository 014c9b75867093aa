// korvane_storm.exe: the console as korvane.exe runs it, with a hook of the
// storm test's own in front of its window procedure. It logs the text of
// every print request as the console reads it (up to a zero byte), so that
// the test can count what reached the console whatever `clear` did to the
// buffer, and it checks after every message that the buffer holds its
// terminator within its capacity, logging the message that broke it.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/application.h"
#include "app/globals.h"
#include "app/window_procedure.h"
#include "bridge/bridge.h"

namespace {

constexpr char PRINT_LOG[] = "storm_prints.log";
constexpr char FAULT_LOG[] = "storm_faults.log";

void appendTo(const char* path, const char* bytes, std::size_t n) {
    std::FILE* log = std::fopen(path, "ab");
    if (!log) return;
    std::fwrite(bytes, 1, n, log);
    std::fclose(log);
}

void logPrint() {
    std::FILE* file = std::fopen(STREAM_OUT_PATH, "rb");
    if (!file) return;
    static char chunk[64 * 1024];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        const void* zero = std::memchr(chunk, '\0', n);
        if (zero) n = static_cast<std::size_t>(static_cast<const char*>(zero) - chunk);
        appendTo(PRINT_LOG, chunk, n);
        if (zero) break;
    }
    std::fclose(file);
}

LRESULT CALLBACK stormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_BRIDGE_PRINT) logPrint();
    const LRESULT result = windowProcedure(window, message, wParam, lParam);
    const void* end = std::memchr(console.text, '\0', sizeof console.text);
    if (!end || static_cast<const char*>(end) - console.text > CONSOLE_CAPACITY) {
        char line[64];
        const int n = std::snprintf(line, sizeof line, "buffer past its capacity after message %u\n", message);
        appendTo(FAULT_LOG, line, static_cast<std::size_t>(n));
    }
    return result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (!display.open(CONSOLE_WINDOW_CLASS, 640, 480, 4, stormProcedure, instance, nullptr, nullptr)) return 0;
    startConsole();
    return display.run(renderFrame);
}
