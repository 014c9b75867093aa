#include "app/scrollback_input.h"

#include <windowsx.h>

#include "app/clipboard.h"
#include "app/globals.h"
#include "app/text_metrics.h"

namespace {

constexpr UINT_PTR PASTE_TIMER = 0x4B21;
constexpr UINT_PTR EDGE_TIMER = 0x4B22;
constexpr UINT_PTR POINTER_TIMER = 0x4B23;
constexpr UINT EDGE_MILLISECONDS = 50;
constexpr UINT POINTER_MILLISECONDS = 2000;
constexpr int WHEEL_NOTCH = 120;

bool dragging = false;
int dragX = 0;
int dragY = 0;
int edgeDirection = 0;  // lines per tick while dragging past an edge: +1 back, -1 forward
int wheelRest = 0;      // part of a notch left over from fine wheels
bool pointerShown = false;
LPARAM lastMove = -1;  // where the last move went: showing or hiding the pointer may bring a move that is none

// A point of the client area in back-buffer pixels; outside it while the
// mouse is captured, so a drag can go past the edges of a window.
void bufferPixel(LPARAM lParam, int& x, int& y) {
    x = GET_X_LPARAM(lParam);
    y = GET_Y_LPARAM(lParam);
    const int scale = display.windowed && display.windowScale > 1 ? display.windowScale : 1;
    x = x >= 0 ? x / scale : (x - scale + 1) / scale;
    y = y >= 0 ? y / scale : (y - scale + 1) / scale;
}

TextPoint pointUnder(int x, int y) {
    const TextMetrics& metrics = textMetrics(console.font);
    const int row = y < 0 ? -1 : y / metrics.lineHeight;
    return pointAt(console.view, console.shown(), row, x, metrics.widths);
}

void showPointer(HWND window) {
    if (!display.windowed && !pointerShown) {
        display.showCursor();
        pointerShown = true;
        // The window class has no cursor of its own: give the pointer a shape.
        if (!GetCursor()) SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    }
    SetTimer(window, POINTER_TIMER, POINTER_MILLISECONDS, nullptr);
}

void hidePointer(HWND window) {
    if (dragging) return;  // a held button keeps it, the next tick looks again
    KillTimer(window, POINTER_TIMER);
    if (pointerShown) {
        display.hideCursor();
        pointerShown = false;
    }
}

void copySelection(HWND window) {
    copyToClipboard(window, console.selection.text(console.shown()));
    console.selection.clear();
}

void pasteClipboard(HWND window) {
    const std::string text = clipboardText(window);
    console.startPaste(text.data(), text.size());
    console.typePastedLine();
    if (console.paste.pending()) SetTimer(window, PASTE_TIMER, USER_TIMER_MINIMUM, nullptr);
}

void followDrag(HWND window) {
    const int bottom = VIEW_ROWS * textMetrics(console.font).lineHeight;
    const int direction = dragY <= 0 ? 1 : (dragY >= bottom ? -1 : 0);
    if (direction != edgeDirection) {
        edgeDirection = direction;
        if (direction) {
            SetTimer(window, EDGE_TIMER, EDGE_MILLISECONDS, nullptr);
        } else {
            KillTimer(window, EDGE_TIMER);
        }
    }
    console.selection.extend(pointUnder(dragX, dragY));
}

void endDrag(HWND window) {
    dragging = false;
    edgeDirection = 0;
    KillTimer(window, EDGE_TIMER);
    if (console.selection.empty()) console.selection.clear();
}

bool takeScrollbackKey(HWND window, WPARAM key) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    console.pasteStopped = false;  // the notice stays until the next key
    if (console.viewKey(static_cast<std::uint32_t>(key), shift)) return true;
    if (!console.selection.empty()) {
        if (key == VK_RETURN || (control && (key == 'C' || key == VK_INSERT))) {
            copySelection(window);
            return true;
        }
        console.selection.clear();
        if (key == VK_ESCAPE) return true;  // the selection goes, the program stays
    }
    if ((control && key == 'V') || (shift && key == VK_INSERT)) {
        pasteClipboard(window);
        return true;
    }
    if (control && key == 'C' && console.paste.pending()) {
        console.paste.drop();  // Ctrl+C drops what is left of a paste
        KillTimer(window, PASTE_TIMER);
        return true;
    }
    return false;
}

bool takeScrollbackMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
        if (lParam != lastMove || dragging) showPointer(window);
        lastMove = lParam;
        if (dragging) {
            bufferPixel(lParam, dragX, dragY);
            followDrag(window);
        }
        return true;
    case WM_LBUTTONDOWN:
        showPointer(window);
        SetCapture(window);
        dragging = true;
        bufferPixel(lParam, dragX, dragY);
        console.selection.start(pointUnder(dragX, dragY));
        return true;
    case WM_LBUTTONUP:
        if (dragging) {
            bufferPixel(lParam, dragX, dragY);
            console.selection.extend(pointUnder(dragX, dragY));
            endDrag(window);
        }
        ReleaseCapture();
        return true;
    case WM_CAPTURECHANGED:
        if (dragging) endDrag(window);
        return true;
    case WM_RBUTTONUP:
        showPointer(window);
        if (!console.selection.empty()) {
            copySelection(window);
        } else {
            pasteClipboard(window);
        }
        return true;
    case WM_MOUSEWHEEL: {
        wheelRest += GET_WHEEL_DELTA_WPARAM(wParam);
        const int notches = wheelRest / WHEEL_NOTCH;
        wheelRest -= notches * WHEEL_NOTCH;
        if (notches) console.scrollView(notches * WHEEL_LINES);
        if (dragging) followDrag(window);
        return true;
    }
    case WM_TIMER:
        switch (wParam) {
        case PASTE_TIMER:
            // One line per tick: messages and frames go on between lines.
            console.typePastedLine();
            if (!console.paste.pending()) KillTimer(window, PASTE_TIMER);
            return true;
        case EDGE_TIMER:
            if (dragging && edgeDirection) {
                console.scrollView(edgeDirection);
                console.selection.extend(pointUnder(dragX, dragY));
            }
            return true;
        case POINTER_TIMER: hidePointer(window); return true;
        default: return false;
        }
    default: return false;
    }
}

}  // namespace

bool scrollbackKey(HWND window, WPARAM key) {
    if (key == VK_SHIFT || key == VK_CONTROL) return false;
    // A selection and the paste notice go with any key, and what the keys
    // here do moves the view or the selection: the screen changes.
    if (console.pasteStopped || !console.selection.empty()) display.invalidate();
    const bool used = takeScrollbackKey(window, key);
    if (used) display.invalidate();
    return used;
}

bool scrollbackMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool wasDragging = dragging;
    const bool handled = takeScrollbackMessage(window, message, wParam, lParam);
    // The pointer's moves and the timers change nothing drawn unless a drag
    // goes on; a pasted line that is typed tells the display itself.
    const bool quiet = (message == WM_MOUSEMOVE || message == WM_TIMER) && !wasDragging;
    if (handled && !quiet) display.invalidate();
    return handled;
}
