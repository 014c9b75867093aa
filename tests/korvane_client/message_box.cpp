#include "tests/korvane_client/message_box.h"

#include <windows.h>

namespace {

constexpr int MESSAGE_BOX_TEXT_ID = 0xFFFF;  // the static control that holds the text

struct BoxSearch {
    unsigned long processId;
    HWND found;
};

BOOL CALLBACK matchBox(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<BoxSearch*>(lParam);
    char name[16];
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    // A box is visible once its caption and text are set; before that they read empty.
    if (owner != search->processId || !GetClassNameA(window, name, sizeof name) || lstrcmpA(name, "#32770") != 0 ||
        !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

bool dismissMessageBox(unsigned long processId, unsigned timeoutMs, std::string& caption, std::string& text) {
    const DWORD start = GetTickCount();
    BoxSearch search = {processId, nullptr};
    while (!search.found) {
        if (GetTickCount() - start > timeoutMs) return false;
        EnumWindows(matchBox, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(50);
    }
    char buffer[512];
    caption.assign(buffer, static_cast<std::size_t>(GetWindowTextA(search.found, buffer, sizeof buffer)));
    text.assign(buffer,
                static_cast<std::size_t>(GetDlgItemTextA(search.found, MESSAGE_BOX_TEXT_ID, buffer, sizeof buffer)));
    DWORD_PTR result = 0;
    SendMessageTimeoutA(search.found, WM_COMMAND, IDOK, 0, SMTO_NORMAL, 5000, &result);
    return true;
}
