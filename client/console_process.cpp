#include "client/console_process.h"

#include <windows.h>

ConsoleProcess::~ConsoleProcess() {
    if (process) CloseHandle(static_cast<HANDLE>(process));
}

bool ConsoleProcess::start(const std::string& program, const std::string& standardOutput,
                           const std::string& arguments) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    HANDLE output = INVALID_HANDLE_VALUE;
    if (!standardOutput.empty()) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        output = CreateFileA(standardOutput.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (output == INVALID_HANDLE_VALUE) return false;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    PROCESS_INFORMATION info = {};
    const BOOL started = CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &info);
    if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
    if (!started) return false;
    CloseHandle(info.hThread);
    if (process) CloseHandle(static_cast<HANDLE>(process));
    process = info.hProcess;
    processId = info.dwProcessId;
    return true;
}

bool ConsoleProcess::running() const {
    return process && WaitForSingleObject(static_cast<HANDLE>(process), 0) == WAIT_TIMEOUT;
}

bool ConsoleProcess::waitExit(unsigned timeoutMs, unsigned long& exitCode) {
    if (!process || WaitForSingleObject(static_cast<HANDLE>(process), timeoutMs) != WAIT_OBJECT_0) return false;
    DWORD code = 0;
    GetExitCodeProcess(static_cast<HANDLE>(process), &code);
    exitCode = code;
    return true;
}

void ConsoleProcess::terminate() {
    if (running()) {
        TerminateProcess(static_cast<HANDLE>(process), 1);
        WaitForSingleObject(static_cast<HANDLE>(process), 5000);
    }
}

std::string programFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    const std::size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}
