#pragma once
// Finds a message box of the console and answers it with OK, for scripts that
// check the console's fatal errors.
#include <string>

// Waits for a message box owned by the process, reads its caption and text
// and presses OK; false on timeout.
bool dismissMessageBox(unsigned long processId, unsigned timeoutMs, std::string& caption, std::string& text);
