#include "client/window_search.h"

#include <windows.h>

namespace {

struct Search {
    const WindowQuery& query;
    HWND found;
};

bool nameIs(HWND window, const char* expected, bool title) {
    char name[64];
    const int length = title ? GetWindowTextA(window, name, sizeof name) : GetClassNameA(window, name, sizeof name);
    return length > 0 && lstrcmpA(name, expected) == 0;
}

bool matches(HWND window, const WindowQuery& query) {
    if (!nameIs(window, query.className, false)) return false;
    if (query.title && !nameIs(window, query.title, true)) return false;
    if (query.processId != 0) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if ((owner == query.processId) == query.otherThanProcess) return false;
    }
    return !query.visibleOnly || IsWindowVisible(window);
}

BOOL CALLBACK matchWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    if (!matches(window, search->query)) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

void* findTopWindow(const WindowQuery& query) {
    if (query.processId == 0 && !query.visibleOnly) return FindWindowA(query.className, query.title);
    Search search = {query, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void* waitForTopWindow(const WindowQuery& query, unsigned timeoutMs, unsigned pollMs) {
    const DWORD start = GetTickCount();
    void* found = findTopWindow(query);
    while (!found) {
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(pollMs);
        found = findTopWindow(query);
    }
    return found;
}

bool windowAnswers(void* window, unsigned timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(static_cast<HWND>(window), WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

void pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
