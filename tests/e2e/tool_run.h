#pragma once
// korvane-stream.exe run as a process of its own, as a script runs it: its
// standard output and standard error go to files, its standard input is a
// pipe the test writes to in pieces.
#include <string>
#include <vector>

class ToolRun {
public:
    ToolRun() = default;
    ~ToolRun();
    ToolRun(const ToolRun&) = delete;
    ToolRun& operator=(const ToolRun&) = delete;

    // Starts korvane-stream.exe from beside this program with the arguments.
    bool start(const std::vector<std::string>& arguments);
    // Waits until the tool's client window exists and its thread handles
    // messages: by then it has sent the request it waits on (it makes its
    // window after finding the console and handles messages only while it
    // sends or waits).
    bool waitUntilWaiting(unsigned timeoutMs);
    bool writeInput(const std::string& text);
    void closeInput();
    bool running() const;
    // Waits for the end; false (and the tool is ended) on timeout.
    bool finish(unsigned timeoutMs);
    unsigned long processId() const { return id; }

    unsigned long exitCode = 0xFFFFFFFFu;
    std::string output;  // standard output
    std::string errors;  // standard error

private:
    void* process = nullptr;
    void* input = nullptr;
    unsigned long id = 0;
    std::string outputFile;
    std::string errorFile;
};

// Runs the tool to its end.
ToolRun& runTool(ToolRun& run, const std::vector<std::string>& arguments, unsigned timeoutMs = 20000);

// Waits until the stream file c:\stream.o holds the text, which the tool
// writes just before it asks the console to print it, then a moment more for
// the print and its prompt to be handled.
bool waitForPrinted(const std::string& text, unsigned timeoutMs);
