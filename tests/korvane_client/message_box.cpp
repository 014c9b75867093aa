#include "tests/korvane_client/message_box.h"

#include <windows.h>

#include "client/window_search.h"

namespace {

constexpr int MESSAGE_BOX_TEXT_ID = 0xFFFF;  // the static control that holds the text
constexpr const char* MESSAGE_BOX_CLASS = "#32770";

}  // namespace

bool dismissMessageBox(unsigned long processId, unsigned timeoutMs, std::string& caption, std::string& text) {
    if (processId == 0) return false;  // no console was started: no box of it
    // A box is visible once its caption and text are set; before that they read empty.
    WindowQuery query;
    query.className = MESSAGE_BOX_CLASS;
    query.processId = processId;
    query.visibleOnly = true;
    HWND box = static_cast<HWND>(waitForTopWindow(query, timeoutMs, 50));
    if (!box) return false;
    char buffer[512];
    caption.assign(buffer, static_cast<std::size_t>(GetWindowTextA(box, buffer, sizeof buffer)));
    text.assign(buffer,
                static_cast<std::size_t>(GetDlgItemTextA(box, MESSAGE_BOX_TEXT_ID, buffer, sizeof buffer)));
    DWORD_PTR result = 0;
    SendMessageTimeoutA(box, WM_COMMAND, IDOK, 0, SMTO_NORMAL, 5000, &result);
    return true;
}
