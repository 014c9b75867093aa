// The console's side of scrollback and paste: moving the view, forgetting
// the history, and typing pasted text one line at a time into the input line.
#include <cstring>

#include "console/console.h"
#include "console/key_codes.h"
#include "console/platform.h"

bool Console::viewKey(std::uint32_t key, bool shift) {
    if (!shift) return false;
    switch (key) {
    case KEY_PRIOR: scrollView(VIEW_ROWS - 1); return true;
    case KEY_NEXT: scrollView(-(VIEW_ROWS - 1)); return true;
    case KEY_HOME: view.toOldest(shown()); return true;
    case KEY_END: view.toLive(); return true;
    default: return false;
    }
}

void Console::scrollView(int lines) { view.scroll(shown(), lines); }

void Console::clearHistory() {
    history.clear();
    view.toLive();
    selection.clear();
}

void Console::startPaste(const char* chars, std::size_t n) {
    paste.start(chars, n);
    pasteStopped = false;
    // The first pasted character ends a running pause, as any key does; the
    // text itself waits for the input line.
    if (paste.pending() && paused) onKey(KEY_SHIFT);
}

bool Console::typePastedLine() {
    if (!paste.pending() || paused || !inputOpen) return false;
    const char* line;
    int lineLength;
    bool enter;
    paste.next(line, lineLength, enter);
    view.toLive();
    const int room = wrapWidth - INPUT_RESERVE - (length() - inputStart);
    if (lineLength > room) {
        // Cut, it would run a command or answer a client with less than was
        // pasted: nothing of it is typed, and the rest of the paste goes too.
        paste.drop();
        pasteStopped = true;
        platform::screenChanged();  // the notice shows
        return true;
    }
    append(line, static_cast<std::size_t>(lineLength));
    paste.pop();
    if (enter) editKey(KEY_RETURN);
    return true;
}
