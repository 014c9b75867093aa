#include "message_box_watcher.h"

#include <algorithm>

namespace {

struct Search {
    DWORD process;
    HWND found;
    const std::vector<HWND>* skip;
};

BOOL CALLBACK findDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (process == search->process && std::string(className) == "#32770" &&
        IsWindowVisible(window) &&
        std::find(search->skip->begin(), search->skip->end(), window) == search->skip->end()) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK readChild(HWND child, LPARAM data) {
    auto* box = reinterpret_cast<SeenMessageBox*>(data);
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (std::string(className) != "Static") {
        return TRUE;
    }
    if (GetWindowLongA(child, GWL_STYLE) & SS_ICON) {
        HICON icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        box->errorIcon = icon && icon == LoadIconA(nullptr, IDI_ERROR);
        return TRUE;
    }
    char text[512] = {};
    GetWindowTextA(child, text, sizeof text);
    if (text[0]) {
        box->text = text;
    }
    return TRUE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher() : thread([this] { watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stopping = true;
    thread.join();
}

std::vector<SeenMessageBox> MessageBoxWatcher::seen() {
    std::lock_guard<std::mutex> guard(lock);
    return boxes;
}

void MessageBoxWatcher::watch() {
    while (!stopping) {
        Search search{GetCurrentProcessId(), nullptr, &answered};
        EnumWindows(findDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            // Give the box a moment to fill in its controls.
            Sleep(50);
            SeenMessageBox box;
            char caption[256] = {};
            GetWindowTextA(search.found, caption, sizeof caption);
            box.caption = caption;
            box.hasOwner = GetWindow(search.found, GW_OWNER) != nullptr;
            EnumChildWindows(search.found, readChild, reinterpret_cast<LPARAM>(&box));
            {
                std::lock_guard<std::mutex> guard(lock);
                boxes.push_back(box);
            }
            answered.push_back(search.found);
            PostMessageA(search.found, WM_COMMAND, IDOK, 0);
        }
        Sleep(20);
    }
}
