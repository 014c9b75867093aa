#pragma once
// The small program that exec starts on a pseudo console. A process started
// on a pseudo console may be given no standard handles (Wine), so the helper
// opens the console's own input and output, turns its echo off (the Korvane
// console shows the typed line itself) and starts the real program with
// them. It passes on the program's exit status. When the host signals its
// event, it sends Ctrl+C to every process on the pseudo console as a console
// control event, attached the way that works under Wine as on Windows; the
// helper itself ignores the event.
//
// The helper is the hosting program itself, started with
// CONSOLE_HELPER_ARGUMENT first: its main hands such a start to
// runConsoleHelper (korvane-stream does).
#include <string>

inline constexpr char CONSOLE_HELPER_ARGUMENT[] = "--console-helper";

// The running program as the helper of a program's command line.
std::string consoleHelperCommandLine(const std::string& interruptEvent, const std::string& programLine);

// The helper's whole run; returns the program's exit status, or
// CONSOLE_HELPER_FAILED when it could not start it (it says why on the
// pseudo console first).
int runConsoleHelper();
inline constexpr int CONSOLE_HELPER_FAILED = 124;
