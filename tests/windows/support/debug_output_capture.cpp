#include "debug_output_capture.h"

#include <windows.h>

namespace {

std::vector<std::string> captured;

LONG CALLBACK onException(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD* record = exception->ExceptionRecord;
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
        const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
        size_t length = static_cast<size_t>(record->ExceptionInformation[0]);
        // The length counts the terminating zero.
        captured.emplace_back(text, length > 0 ? length - 1 : 0);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

DebugOutputCapture::DebugOutputCapture() : handler(AddVectoredExceptionHandler(1, onException)) { captured.clear(); }

DebugOutputCapture::~DebugOutputCapture() { RemoveVectoredExceptionHandler(handler); }

const std::vector<std::string>& DebugOutputCapture::lines() const { return captured; }
