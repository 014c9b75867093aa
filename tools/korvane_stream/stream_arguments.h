#pragma once
// The command line of korvane-stream, its exit statuses and its help text.
// Platform-free, so that the parsing is unit-tested natively.
#include <string>
#include <vector>

#include "client/bridge_result.h"

// The kit's own statuses: a small range below the 124 to 127 of shells and
// timeout, which exec otherwise leaves to the program it runs.
inline constexpr int EXIT_CANCELLED = 119;        // another client cancelled the line readline waited for
inline constexpr int EXIT_USAGE = 120;            // the command line is wrong
inline constexpr int EXIT_NO_CONSOLE = 121;       // no console is running
inline constexpr int EXIT_NO_ANSWER = 122;        // the console does not answer
inline constexpr int EXIT_TIMED_OUT = 123;        // a wait timed out; or readline, pause, exec under an exec
inline constexpr int EXIT_NOT_STARTED = 124;      // exec could not start the program
inline constexpr int EXIT_CONSOLE_GONE = 125;     // the console went away (during exec or a wait)
inline constexpr int EXIT_STREAM_FILE = 126;      // a stream file could not be written or read
// Ctrl+C in the console stopped the wait or the program, as shells report it.
inline constexpr int EXIT_INTERRUPTED = 130;
inline constexpr int FIRST_KIT_STATUS = EXIT_CANCELLED;
inline constexpr int LAST_KIT_STATUS = EXIT_STREAM_FILE;

// The status for a failed bridge call (0 for success).
int exitStatusFor(BridgeError error);

enum class StreamVerb { help, print, printInput, readLine, pause, prompt, cancel, clear, exec };

// How exec shows the program's output: as a terminal would (the default),
// byte for byte (--raw), or with the program on a pseudo console (--console).
enum class ExecOutput { terminal, raw, console };

struct StreamCommand {
    StreamVerb verb = StreamVerb::help;
    std::string text;                  // print: the words joined, with the line end unless -n
    bool terminal = false;             // print --terminal: the text's terminal controls act
    ExecOutput execOutput = ExecOutput::terminal;
    std::vector<std::string> program;  // exec: the program and its arguments
    unsigned timeoutMs = 0xFFFFFFFFu;  // readline, pause: no limit unless --timeout
};

struct ParsedArguments {
    bool ok = false;
    StreamCommand command;
    std::string error;  // one line, when not ok
};

// The arguments after the program's name.
ParsedArguments parseStreamArguments(const std::vector<std::string>& arguments);

// Seconds as --timeout takes them ("2", "0.5"), in milliseconds rounded up;
// false for anything else, negative, zero or beyond 24 days.
bool parseTimeoutSeconds(const std::string& text, unsigned& milliseconds);

const char* streamUsage();
