#include "client/console_helper.h"

#include <windows.h>

namespace {

BOOL WINAPI ignoreControl(DWORD event) { return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT; }

HANDLE openConsole(const char* name) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       OPEN_EXISTING, 0, nullptr);
}

void say(HANDLE out, const std::string& text) {
    DWORD written = 0;
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// Ctrl+C to every process on the console. GenerateConsoleCtrlEvent from the
// process the pseudo console started on does not reach the others under
// Wine; attached anew, through the program, it does.
void sendControlC(DWORD programId) {
    FreeConsole();
    if (AttachConsole(programId)) {
        SetConsoleCtrlHandler(ignoreControl, TRUE);
        GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    }
}

}  // namespace

std::string consoleHelperCommandLine(const std::string& interruptEvent, const std::string& programLine) {
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    std::string line = "\"";
    line.append(self, length < sizeof self ? length : 0);
    line.append("\" ").append(CONSOLE_HELPER_ARGUMENT).append(" ");
    line.append(interruptEvent).append(" ").append(programLine);
    return line;
}

int runConsoleHelper() {
    // "PROGRAM" --console-helper EVENT LINE...: the line is taken as it stands.
    const std::string whole = GetCommandLineA();
    const std::string marker = std::string(" ") + CONSOLE_HELPER_ARGUMENT + " ";
    const std::size_t at = whole.find(marker);
    if (at == std::string::npos) return CONSOLE_HELPER_FAILED;
    const std::size_t nameStart = at + marker.size();
    const std::size_t nameEnd = whole.find(' ', nameStart);
    if (nameEnd == std::string::npos) return CONSOLE_HELPER_FAILED;
    const std::string eventName = whole.substr(nameStart, nameEnd - nameStart);
    std::string programLine = whole.substr(nameEnd + 1);

    SetConsoleCtrlHandler(ignoreControl, TRUE);
    HANDLE in = openConsole("CONIN$");
    HANDLE out = openConsole("CONOUT$");
    DWORD mode = 0;
    if (GetConsoleMode(in, &mode)) SetConsoleMode(in, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    HANDLE interrupt = OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, eventName.c_str());

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = out;
    PROCESS_INFORMATION program = {};
    if (!CreateProcessA(nullptr, programLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &program)) {
        char reason[80];
        wsprintfA(reason, "system error %lu", GetLastError());
        say(out, "cannot start " + programLine + ": " + reason + "\r\n");
        return CONSOLE_HELPER_FAILED;
    }
    CloseHandle(program.hThread);
    for (;;) {
        HANDLE waits[2] = {program.hProcess, interrupt};
        const DWORD woke = WaitForMultipleObjects(interrupt ? 2 : 1, waits, FALSE, INFINITE);
        if (woke != WAIT_OBJECT_0 + 1) break;
        sendControlC(program.dwProcessId);
    }
    DWORD status = 0;
    GetExitCodeProcess(program.hProcess, &status);
    return static_cast<int>(status);
}
