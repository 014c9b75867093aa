#pragma once
// The system's pseudo console (Windows 10 1809 and later), loaded from
// kernel32 when it is first needed, so that a program using the kit still
// starts on a system without it.
#include <string>

struct PseudoConsole {
    void* handle = nullptr;
    void* inputWrite = nullptr;  // what is written here is typed into it
    void* inputRead = nullptr;   // the console host's end, for looking into only
    void* outputRead = nullptr;  // its VT output
};

// Makes a pseudo console of the size; false, with the reason, when the
// system has none or refuses one.
bool createPseudoConsole(short columns, short lines, PseudoConsole& console, std::string& error);

// Closes the pseudo console; its output ends once the console host has
// written what it held. The pipe ends stay open.
void closePseudoConsole(PseudoConsole& console);

// Starts a command line on the pseudo console, suspended, with no standard
// handles of ours: the process info as CreateProcess gives it.
bool startOnPseudoConsole(const PseudoConsole& console, const std::string& commandLine, void* processInfo,
                          unsigned long& error);
