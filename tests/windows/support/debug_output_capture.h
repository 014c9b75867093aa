#pragma once
// Collects what the process writes with OutputDebugStringA while the object
// lives. OutputDebugStringA raises DBG_PRINTEXCEPTION_C and handles it
// itself; a vectored handler sees it first and lets it go on.
#include <string>
#include <vector>

class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    const std::vector<std::string>& lines() const;

private:
    void* handler;
};
