#include "app/clipboard.h"

#include <cstring>

bool copyToClipboard(HWND owner, const std::string& text) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    bool copied = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        if (void* bytes = GlobalLock(memory)) {
            std::memcpy(bytes, text.c_str(), text.size() + 1);
            GlobalUnlock(memory);
            copied = SetClipboardData(CF_TEXT, memory) != nullptr;
        }
        if (!copied) GlobalFree(memory);  // the clipboard owns it only once set
    }
    CloseClipboard();
    return copied;
}

namespace {

std::string fromUnicode(const wchar_t* wide) {
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, "?", nullptr);
    if (size <= 1) return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, "?", nullptr);
    text.resize(static_cast<std::size_t>(size) - 1);
    return text;
}

}  // namespace

std::string clipboardText(HWND owner) {
    std::string text;
    if (!OpenClipboard(owner)) return text;
    const bool unicode = IsClipboardFormatAvailable(CF_UNICODETEXT);
    if (HANDLE data = GetClipboardData(unicode ? CF_UNICODETEXT : CF_TEXT)) {
        if (const void* bytes = GlobalLock(data)) {
            // Bounded by the block's size: clipboard data need not end in a zero.
            const SIZE_T size = GlobalSize(data);
            if (unicode) {
                std::wstring wide(static_cast<const wchar_t*>(bytes), size / sizeof(wchar_t));
                text = fromUnicode(wide.c_str());
            } else {
                const char* chars = static_cast<const char*>(bytes);
                const void* end = std::memchr(chars, 0, size);
                text.assign(chars, end ? static_cast<const char*>(end) - chars : static_cast<std::ptrdiff_t>(size));
            }
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}
