#include "tool_run.h"

#include <windows.h>

#include "bridge/bridge.h"
#include "client/command_line.h"
#include "client/console_process.h"
#include "client/window_search.h"
#include "console_session.h"

namespace {

constexpr DWORD SETTLE_MS = 300;

int runCounter = 0;

HANDLE createOutputFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

ToolRun::~ToolRun() {
    closeInput();
    if (process) {
        if (WaitForSingleObject(static_cast<HANDLE>(process), 0) == WAIT_TIMEOUT)
            TerminateProcess(static_cast<HANDLE>(process), 1);
        CloseHandle(static_cast<HANDLE>(process));
    }
}

bool ToolRun::start(const std::vector<std::string>& arguments) {
    const int n = ++runCounter;
    outputFile = "tool" + std::to_string(n) + ".stdout";
    errorFile = "tool" + std::to_string(n) + ".stderr";
    HANDLE out = createOutputFile(outputFile);
    HANDLE err = createOutputFile(errorFile);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE inRead = nullptr, inWrite = nullptr;
    CreatePipe(&inRead, &inWrite, &inherit, 0);
    SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inRead;
    startup.hStdOutput = out;
    startup.hStdError = err;
    const std::string program = programFolder() + "korvane-stream.exe";
    std::vector<std::string> words = {program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::string line = joinCommandLine(words);
    PROCESS_INFORMATION info = {};
    const BOOL started =
        CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
    CloseHandle(out);
    CloseHandle(err);
    CloseHandle(inRead);
    if (!started) {
        CloseHandle(inWrite);
        return false;
    }
    CloseHandle(info.hThread);
    process = info.hProcess;
    id = info.dwProcessId;
    input = inWrite;
    return true;
}

bool ToolRun::waitUntilWaiting(unsigned timeoutMs) {
    WindowQuery query;
    query.className = CLIENT_WINDOW_CLASS;
    query.processId = id;
    void* window = waitForTopWindow(query, timeoutMs);
    return window && windowAnswers(window, timeoutMs);
}

bool ToolRun::writeInput(const std::string& text) {
    DWORD written = 0;
    return input && WriteFile(static_cast<HANDLE>(input), text.data(), static_cast<DWORD>(text.size()), &written,
                              nullptr) &&
           written == text.size();
}

void ToolRun::closeInput() {
    if (input) CloseHandle(static_cast<HANDLE>(input));
    input = nullptr;
}

bool ToolRun::running() const {
    return process && WaitForSingleObject(static_cast<HANDLE>(process), 0) == WAIT_TIMEOUT;
}

bool ToolRun::finish(unsigned timeoutMs) {
    closeInput();
    if (!process) return false;
    const bool ended = WaitForSingleObject(static_cast<HANDLE>(process), timeoutMs) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(static_cast<HANDLE>(process), 1);
    DWORD code = 0;
    GetExitCodeProcess(static_cast<HANDLE>(process), &code);
    exitCode = code;
    output = readWholeFile(outputFile);
    errors = readWholeFile(errorFile);
    return ended;
}

ToolRun& runTool(ToolRun& run, const std::vector<std::string>& arguments, unsigned timeoutMs) {
    if (run.start(arguments)) run.finish(timeoutMs);
    return run;
}

bool waitForPrinted(const std::string& text, unsigned timeoutMs) {
    const DWORD start = GetTickCount();
    while (readWholeFile(STREAM_OUT_PATH).find(text) == std::string::npos) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    Sleep(SETTLE_MS);
    return true;
}
