// korvane_storm.exe: korvane.exe with a hook of the storm test's own in front
// of its window procedure: it logs the text of every print request as the
// console reads it (up to a zero byte), which `clear` cannot take away, and
// after every message checks that the buffer ends within its capacity.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/application.h"
#include "app/globals.h"
#include "app/window_procedure.h"
#include "bridge/bridge.h"

namespace {

void appendTo(const char* path, const std::string& text) {
    if (std::FILE* log = std::fopen(path, "ab")) {
        std::fwrite(text.data(), 1, text.size(), log);
        std::fclose(log);
    }
}

LRESULT CALLBACK stormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_BRIDGE_PRINT) {
        std::string text;
        if (std::FILE* file = std::fopen(STREAM_OUT_PATH, "rb")) {
            for (int c; (c = std::fgetc(file)) != EOF && c != 0;) text += static_cast<char>(c);
            std::fclose(file);
        }
        appendTo("storm_prints.log", text);
    }
    const LRESULT result = windowProcedure(window, message, wParam, lParam);
    if (!std::memchr(console.text, '\0', sizeof console.text) || console.length() > CONSOLE_CAPACITY)
        appendTo("storm_faults.log", "buffer past its capacity after message " + std::to_string(message) + "\n");
    return result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (!display.open(CONSOLE_WINDOW_CLASS, 640, 480, 4, stormProcedure, instance, nullptr, nullptr)) return 0;
    startConsole();
    return display.run(renderFrame);
}
