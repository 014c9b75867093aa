#pragma once
// Top-level windows of other programs, found by class and owning process, and
// the messages waiting for this thread: what a client does while it waits
// for another program's window to appear or to answer.
//
// Windows are void* (an HWND), so that this header needs no windows.h.

struct WindowQuery {
    const char* className = nullptr;  // the class, exactly
    const char* title = nullptr;      // nullptr: any title
    unsigned long processId = 0;      // 0: any process
    bool otherThanProcess = false;    // processId is the one process that does not count
    bool visibleOnly = false;
};

// The first top-level window that matches, in Z order, or nullptr.
void* findTopWindow(const WindowQuery& query);
// Looks again every pollMs until a window matches; nullptr when none did
// within timeoutMs.
void* waitForTopWindow(const WindowQuery& query, unsigned timeoutMs, unsigned pollMs = 20);
// True when the window's thread handled a WM_NULL within the time: it is
// then inside its message loop, or in a send or wait that handles messages.
bool windowAnswers(void* window, unsigned timeoutMs);
// Handles everything waiting for this thread, sent messages included, and
// returns at once.
void pumpMessages();
