#pragma once
// Runs a line-based program inside the console, the way a terminal hosts a
// shell: the console is taken over from the prompt, what the program writes
// (standard output and standard error) is printed as it arrives, each line
// the user types goes to the program's standard input, and the prompt comes
// back when the program ends.
#include <string>
#include <vector>

#include "client/bridge_client.h"

// How the program runs and how its output is shown: over pipes as a
// terminal shows it (progress lines update in place, colours vanish), over
// pipes byte for byte, or on a pseudo console, so that the program sees a
// terminal, with the console host's output shown as a terminal shows it.
enum class HostOutput { terminal, raw, pseudoConsole };

struct HostOutcome {
    enum class End {
        exited,       // the program ended; exitCode is its status
        interrupted,  // Ctrl+C in the console ended it and whatever it started
        notStarted,   // it could not be started (or no pseudo console made); startError says why
        bridgeFailed  // the console went away or stopped answering; the program was ended
    };
    End end = End::exited;
    unsigned long exitCode = 0;
    std::string startError;
    BridgeResult bridge;
};

// `client` must have found the console; its turn for notifications is taken
// first (see BridgeClient::open), and its window is opened when the caller
// has not opened it.
// While the program runs, other clients' prints appear among its output as
// whole lines. The program is found as CreateProcess finds it (the caller's
// folder, the current folder, the system folders, PATH; ".exe" added).
// On a pseudo console, each typed line goes to the program with CR as its
// Enter, and Ctrl+C reaches the program and everything it started as a
// console control event: a program that catches it goes on; one that ends
// with the status of Ctrl+C counts as interrupted.
HostOutcome hostProgram(BridgeClient& client, const std::vector<std::string>& arguments,
                        HostOutput output = HostOutput::terminal);
