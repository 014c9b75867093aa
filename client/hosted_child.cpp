#include "client/hosted_child.h"

#include <windows.h>

#include "client/console_helper.h"

namespace {

// The reader stops taking output while this much waits for the host, so a
// program that writes faster than the console prints is slowed, never lost.
constexpr std::size_t MAX_PENDING_OUTPUT = 4u << 20;
constexpr DWORD READ_CHUNK = 1u << 16;
constexpr DWORD INPUT_PIPE_SIZE = 1u << 16;
constexpr DWORD READER_END_MS = 2000;
// After the program ends, the console host may still be writing what it
// showed last: the pseudo console is closed once its output has been quiet
// this long, or after the longest wait.
constexpr DWORD QUIET_OUTPUT_MS = 100;
constexpr DWORD LONGEST_QUIET_WAIT_MS = 1500;

void closeHandle(void*& handle) {
    if (handle) CloseHandle(static_cast<HANDLE>(handle));
    handle = nullptr;
}

std::string systemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : "system error " + std::to_string(code);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' ||
                                message.back() == '.'))
        message.pop_back();
    return message;
}

// A job that ends its processes when its last handle closes, so that no
// program outlives a host that was killed.
HANDLE makeJob() {
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (!job) return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}

DWORD WINAPI readerThread(void* self) {
    static_cast<HostedChild*>(self)->readOutput();
    return 0;
}

}  // namespace

HostedChild::~HostedChild() {
    terminate();
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    drained.notify_all();
    if (reader) {
        // The job is gone, so every writer of the pipe is gone and the read
        // returns; a writer outside the job keeps it blocked, and then the
        // read is cancelled.
        if (WaitForSingleObject(static_cast<HANDLE>(reader), READER_END_MS) == WAIT_TIMEOUT) {
            CancelSynchronousIo(static_cast<HANDLE>(reader));
            if (WaitForSingleObject(static_cast<HANDLE>(reader), READER_END_MS) == WAIT_TIMEOUT)
                TerminateThread(static_cast<HANDLE>(reader), 1);
        }
        closeHandle(reader);
    }
    closeHandle(outputRead);
    closeHandle(inputWrite);
    closeHandle(inputPeek);
    closeHandle(outputReady);
    closeHandle(process);
    closeHandle(job);
    closeHandle(interruptEvent);
    closeHandle(pseudoConsole.inputWrite);
    closeHandle(pseudoConsole.outputRead);
}

bool HostedChild::start(const std::string& commandLine, std::string& error) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, inRead = nullptr, inWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inherit, READ_CHUNK)) {
        error = systemMessage(GetLastError());
        return false;
    }
    if (!CreatePipe(&inRead, &inWrite, &inherit, INPUT_PIPE_SIZE)) {
        error = systemMessage(GetLastError());
        CloseHandle(outRead);
        CloseHandle(outWrite);
        return false;
    }
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
    HANDLE peek = nullptr;
    DuplicateHandle(GetCurrentProcess(), inRead, GetCurrentProcess(), &peek, 0, FALSE, DUPLICATE_SAME_ACCESS);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inRead;
    startup.hStdOutput = outWrite;
    startup.hStdError = outWrite;
    PROCESS_INFORMATION info = {};
    std::string line = commandLine;
    const BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                                        nullptr, &startup, &info);
    const DWORD startError = GetLastError();
    // Only the program holds its ends now: its end of output closes the
    // pipe when it ends.
    CloseHandle(outWrite);
    CloseHandle(inRead);
    if (!started) {
        error = systemMessage(startError);
        CloseHandle(outRead);
        CloseHandle(inWrite);
        if (peek) CloseHandle(peek);
        return false;
    }
    return finishStart(&info, outRead, inWrite, peek, error);
}

bool HostedChild::finishStart(void* processInfo, void* outRead, void* inWrite, void* peek, std::string& error) {
    const PROCESS_INFORMATION& info = *static_cast<PROCESS_INFORMATION*>(processInfo);
    job = makeJob();
    if (job && !AssignProcessToJobObject(static_cast<HANDLE>(job), info.hProcess)) closeHandle(job);
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    process = info.hProcess;
    outputRead = outRead;
    inputWrite = inWrite;
    inputPeek = peek;
    outputReady = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    reader = CreateThread(nullptr, 0, readerThread, this, 0, nullptr);
    if (!reader) {
        error = systemMessage(GetLastError());
        terminate();
        return false;
    }
    return true;
}

bool HostedChild::startOnPseudoConsole(const std::string& commandLine, short columns, short lines,
                                       std::string& error) {
    if (!createPseudoConsole(columns, lines, pseudoConsole, error)) return false;
    static LONG made = 0;
    char name[64];
    wsprintfA(name, "korvane-interrupt-%lu-%ld", GetCurrentProcessId(), InterlockedIncrement(&made));
    interruptEvent = CreateEventA(nullptr, FALSE, FALSE, name);
    PROCESS_INFORMATION info = {};
    unsigned long startError = 0;
    if (!::startOnPseudoConsole(pseudoConsole, consoleHelperCommandLine(name, commandLine), &info, startError)) {
        error = systemMessage(startError);
        closePseudoConsole(pseudoConsole);
        return false;
    }
    // The pipe ends now belong to the child's reader and writer; the
    // destructor closes them through outputRead and inputWrite.
    void* outRead = pseudoConsole.outputRead;
    void* inWrite = pseudoConsole.inputWrite;
    pseudoConsole.outputRead = nullptr;
    pseudoConsole.inputWrite = nullptr;
    HANDLE peek = nullptr;
    DuplicateHandle(GetCurrentProcess(), static_cast<HANDLE>(pseudoConsole.inputRead), GetCurrentProcess(), &peek, 0,
                    FALSE, DUPLICATE_SAME_ACCESS);
    return finishStart(&info, outRead, inWrite, peek, error);
}

bool HostedChild::interrupt() {
    return interruptEvent && process && SetEvent(static_cast<HANDLE>(interruptEvent));
}

void HostedChild::closeConsoleWhenQuiet() {
    if (!pseudoConsole.handle) return;
    const DWORD start = GetTickCount();
    unsigned long long seen = ~0ull;
    for (;;) {
        unsigned long long now;
        {
            std::lock_guard<std::mutex> lock(mutex);
            now = outputTaken;
        }
        if (now == seen || GetTickCount() - start >= LONGEST_QUIET_WAIT_MS) break;
        seen = now;
        Sleep(QUIET_OUTPUT_MS);
    }
    closePseudoConsole(pseudoConsole);
}

void HostedChild::readOutput() {
    std::string chunk(READ_CHUNK, '\0');
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(static_cast<HANDLE>(outputRead), chunk.data(), READ_CHUNK, &n, nullptr) || n == 0) break;
        {
            std::unique_lock<std::mutex> lock(mutex);
            drained.wait(lock, [this] { return pending.size() < MAX_PENDING_OUTPUT || stopping; });
            if (stopping) break;
            pending.append(chunk.data(), n);
            outputTaken += n;
        }
        SetEvent(static_cast<HANDLE>(outputReady));
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        outputEnded = true;
    }
    SetEvent(static_cast<HANDLE>(outputReady));
}

std::string HostedChild::takeOutput(bool& ended) {
    std::string taken;
    {
        std::lock_guard<std::mutex> lock(mutex);
        taken.swap(pending);
        ended = outputEnded;
    }
    drained.notify_all();
    return taken;
}

bool HostedChild::exitCode(unsigned long& code) const {
    DWORD value = 0;
    if (!process || WaitForSingleObject(static_cast<HANDLE>(process), 0) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(static_cast<HANDLE>(process), &value))
        return false;
    code = value;
    return true;
}

bool HostedChild::inputDrained() const {
    DWORD available = 0;
    return inputPeek && PeekNamedPipe(static_cast<HANDLE>(inputPeek), nullptr, 0, nullptr, &available, nullptr) &&
           available == 0;
}

bool HostedChild::writeInput(const std::string& text) {
    DWORD written = 0;
    return inputWrite &&
           WriteFile(static_cast<HANDLE>(inputWrite), text.data(), static_cast<DWORD>(text.size()), &written,
                     nullptr) &&
           written == text.size();
}

void HostedChild::terminate() {
    if (job) TerminateJobObject(static_cast<HANDLE>(job), 1);
    if (process && WaitForSingleObject(static_cast<HANDLE>(process), 0) == WAIT_TIMEOUT) {
        TerminateProcess(static_cast<HANDLE>(process), 1);
        WaitForSingleObject(static_cast<HANDLE>(process), 5000);
    }
    // With everything on it ended, the pseudo console goes, and its output
    // ends once the console host has written the rest.
    closeConsoleWhenQuiet();
}
