#pragma once
// Starts the console program for a client that owns it: tests, demos and
// measurements. The process id tells its window apart from any other console
// running on the same desktop.
#include <string>

class ConsoleProcess {
public:
    ConsoleProcess() = default;
    ~ConsoleProcess();
    ConsoleProcess(const ConsoleProcess&) = delete;
    ConsoleProcess& operator=(const ConsoleProcess&) = delete;

    // Starts the program; its standard output goes to `standardOutput` (a
    // file, created or truncated) when one is named, else it inherits ours.
    // `arguments` follow the quoted program name on its command line.
    bool start(const std::string& program, const std::string& standardOutput = "",
               const std::string& arguments = "");
    unsigned long id() const { return processId; }
    bool running() const;
    // Waits for the end of the process; false on timeout.
    bool waitExit(unsigned timeoutMs, unsigned long& exitCode);
    // Ends the process if it still runs; for clean-up after a failed test.
    void terminate();

private:
    void* process = nullptr;
    unsigned long processId = 0;
};

// The folder of the running program, with a trailing backslash.
std::string programFolder();
