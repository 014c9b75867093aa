#include "app/cursor_flicker.h"

#include <windows.h>

#include <cstdlib>

#include "framework/display/global_display.h"

namespace {

// Six decisions a second: the cursor comes or goes at about half of them,
// so an idle console draws about three frames a second.
constexpr UINT DECISION_MILLISECONDS = 167;

bool shown = false;
bool inputDrawn = false;  // the last frame drew the open input line

// Called through DispatchMessageA on the window thread, like any message.
void CALLBACK decide(HWND, UINT, UINT_PTR, DWORD) {
    if (decideCursor() && inputDrawn) display.invalidate();
}

}  // namespace

bool decideCursor() {
    // Four in ten: remainders 6 to 9, from the runtime's unseeded rand.
    const bool next = std::rand() % 10 > 5;
    if (next == shown) return false;
    shown = next;
    return true;
}

void startCursorFlicker() {
    // A thread timer (no window): its id is the system's own, so it never
    // meets a timer of the window procedure.
    SetTimer(nullptr, 0, DECISION_MILLISECONDS, decide);
}

bool cursorShown(bool inputOpen) {
    inputDrawn = inputOpen;
    return inputOpen && shown;
}
