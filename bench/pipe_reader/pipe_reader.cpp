// pipe-reader PROGRAM [ARGS...]: runs the program with its standard output
// and standard error on one pipe and reads it to the end in 64 KB reads, as
// exec does, but prints nothing of it: the reference for exec's throughput.
// Prints the byte count; exits with the program's status.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "client/command_line.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: pipe-reader PROGRAM [ARGS...]\n");
        return 2;
    }
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 1u << 16)) return 2;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    std::string line = joinCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        std::fprintf(stderr, "pipe-reader: cannot start %s\n", argv[1]);
        return 2;
    }
    CloseHandle(writeEnd);
    std::vector<char> chunk(1u << 16);
    unsigned long long total = 0;
    DWORD n = 0;
    while (ReadFile(readEnd, chunk.data(), static_cast<DWORD>(chunk.size()), &n, nullptr) && n > 0) total += n;
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    std::printf("%llu bytes\n", total);
    return static_cast<int>(code);
}
