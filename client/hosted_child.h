#pragma once
// A program started with pipes for a host: its standard output and standard
// error share one pipe, which a reader thread drains as the program writes,
// so that the program never waits for the host; its standard input is a
// pipe that takes one line at a time. The program runs in a job object that
// ends it, and whatever it started, when the host ends or goes away.
#include <condition_variable>
#include <mutex>
#include <string>

#include "client/pseudo_console.h"

class HostedChild {
public:
    HostedChild() = default;
    ~HostedChild();
    HostedChild(const HostedChild&) = delete;
    HostedChild& operator=(const HostedChild&) = delete;

    // Starts the command line; false, with the system's reason, when it
    // cannot be started.
    bool start(const std::string& commandLine, std::string& error);
    // Starts it on a pseudo console of the size instead, through the console
    // helper (client/console_helper.h): its output is the console host's VT
    // output, its input what is typed into the pseudo console. False, with
    // the reason, when no pseudo console can be made.
    bool startOnPseudoConsole(const std::string& commandLine, short columns, short lines, std::string& error);
    // Ctrl+C to everything on the pseudo console; false when not on one.
    bool interrupt();

    // Takes what the program wrote since the last call. `ended` becomes true
    // once the pipe has ended and everything in it has been taken.
    std::string takeOutput(bool& ended);
    // Signalled when output or the end of the output arrives.
    void* outputEvent() const { return outputReady; }
    // Signalled when the program has ended.
    void* processHandle() const { return process; }
    bool exitCode(unsigned long& code) const;

    // True when the program has read everything written to its input.
    bool inputDrained() const;
    // Writes to the program's input; false when it no longer reads it.
    bool writeInput(const std::string& text);

    // Ends the program and everything it started.
    void terminate();

    // The reader thread's loop.
    void readOutput();

private:
    bool finishStart(void* processInfo, void* outRead, void* inWrite, void* peek, std::string& error);
    void closeConsoleWhenQuiet();

    void* process = nullptr;
    void* job = nullptr;
    void* outputRead = nullptr;
    void* inputWrite = nullptr;
    void* inputPeek = nullptr;  // our own read end of the input pipe, only looked into
    void* outputReady = nullptr;
    PseudoConsole pseudoConsole;
    void* interruptEvent = nullptr;
    unsigned long long outputTaken = 0;  // bytes read so far, to see the output fall quiet

    void* reader = nullptr;  // the thread that drains the output pipe
    std::mutex mutex;
    std::condition_variable drained;
    std::string pending;
    bool outputEnded = false;
    bool stopping = false;
};
