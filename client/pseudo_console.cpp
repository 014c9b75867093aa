#include "client/pseudo_console.h"

#include <windows.h>

#include <vector>

namespace {

using CreateFunction = HRESULT(WINAPI*)(COORD, HANDLE, HANDLE, DWORD, void**);
using CloseFunction = void(WINAPI*)(void*);
// ProcThreadAttributeValue(22, FALSE, TRUE, FALSE), spelt out for headers
// older than the pseudo console.
constexpr DWORD_PTR PSEUDOCONSOLE_ATTRIBUTE = 0x00020016;

template <typename Function>
Function kernelFunction(const char* name) {
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel, name))) : nullptr;
}

void closeHandle(void*& handle) {
    if (handle) CloseHandle(static_cast<HANDLE>(handle));
    handle = nullptr;
}

}  // namespace

bool createPseudoConsole(short columns, short lines, PseudoConsole& console, std::string& error) {
    const auto create = kernelFunction<CreateFunction>("CreatePseudoConsole");
    if (!create || !kernelFunction<CloseFunction>("ClosePseudoConsole")) {
        error = "this system has no pseudo console (Windows 10 1809 or later has one)";
        return false;
    }
    HANDLE inRead = nullptr, inWrite = nullptr, outRead = nullptr, outWrite = nullptr;
    if (!CreatePipe(&inRead, &inWrite, nullptr, 0) || !CreatePipe(&outRead, &outWrite, nullptr, 1u << 16)) {
        error = "no pipe for the pseudo console";
        if (inRead) CloseHandle(inRead);
        if (inWrite) CloseHandle(inWrite);
        return false;
    }
    void* handle = nullptr;
    const HRESULT made = create(COORD{columns, lines}, inRead, outWrite, 0, &handle);
    // The console host holds its own copies now; our write end of its output
    // must go, or the output never ends.
    CloseHandle(outWrite);
    if (FAILED(made)) {
        char reason[64];
        wsprintfA(reason, "the pseudo console was refused (0x%08lX)", static_cast<unsigned long>(made));
        error = reason;
        CloseHandle(inRead);
        CloseHandle(inWrite);
        CloseHandle(outRead);
        return false;
    }
    console.handle = handle;
    console.inputWrite = inWrite;
    console.inputRead = inRead;
    console.outputRead = outRead;
    return true;
}

void closePseudoConsole(PseudoConsole& console) {
    if (!console.handle) return;
    if (const auto close = kernelFunction<CloseFunction>("ClosePseudoConsole")) close(console.handle);
    console.handle = nullptr;
    closeHandle(console.inputRead);
}

bool startOnPseudoConsole(const PseudoConsole& console, const std::string& commandLine, void* processInfo,
                          unsigned long& error) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> storage(size);
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    if (!InitializeProcThreadAttributeList(attributes, 1, 0, &size)) {
        error = GetLastError();
        return false;
    }
    void* handle = console.handle;
    bool started = UpdateProcThreadAttribute(attributes, 0, PSEUDOCONSOLE_ATTRIBUTE, handle, sizeof handle, nullptr,
                                             nullptr) != FALSE;
    if (started) {
        STARTUPINFOEXA startup = {};
        startup.StartupInfo.cb = sizeof startup;
        // No standard handles of ours: the process finds the pseudo console's.
        startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
        startup.lpAttributeList = attributes;
        std::string line = commandLine;
        started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE,
                                 EXTENDED_STARTUPINFO_PRESENT | CREATE_SUSPENDED, nullptr, nullptr,
                                 &startup.StartupInfo, static_cast<PROCESS_INFORMATION*>(processInfo)) != FALSE;
    }
    if (!started) error = GetLastError();
    DeleteProcThreadAttributeList(attributes);
    return started;
}
