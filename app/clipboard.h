#pragma once
// The Windows clipboard as text in the ANSI code page.
#include <windows.h>

#include <string>

// Replaces the clipboard's content by the text; false when it is refused.
bool copyToClipboard(HWND owner, const std::string& text);

// The clipboard's text, Unicode text converted with "?" for what the code
// page lacks; empty when there is none.
std::string clipboardText(HWND owner);
