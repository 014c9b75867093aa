// Keys into the console: the pause first, then the open input line, which is
// only ever appended to or shortened at its end.
#include <cstdio>
#include <cstring>

#include "bridge/bridge.h"
#include "console/console.h"
#include "console/key_codes.h"
#include "console/platform.h"
#include "console/translate_key.h"

namespace {

// Writes exactly the typed characters, no line end; binary so that the file
// holds the same bytes on every platform.
void writeStreamIn(const char* line, std::size_t length) {
    std::FILE* file = std::fopen(STREAM_IN_PATH, "wb");
    if (!file) return;
    std::fwrite(line, 1, length, file);
    std::fclose(file);
}

// Ctrl+C. Control counts when it is down or was pressed since the last
// query (a quick Ctrl+C may be over before its 'C' is handled); every other
// key is a query too, so a Control pressed alone before other keys does not
// turn a later 'c' into Ctrl+C.
bool isInterrupt(std::uint32_t key) {
    if (key == KEY_CONTROL || key == KEY_SHIFT) return false;
    return platform::controlHeld() && key == KEY_C;
}

}  // namespace

void Console::onKey(std::uint32_t key) {
    if (clientPause && paused) {
        clientPause = false;
        // Cleared before the notification: a pause the client asks for while
        // handling it is a new pause and must survive.
        paused = false;
        // A client that is gone cannot give the console back: its prompt
        // comes now, so that the keys work again.
        if (!platform::notifyClient(WM_BRIDGE_PAUSE) && !inputOpen) showPrompt();
    } else if (paused) {
        paused = false;
        printf("%s", PAUSE_END_PROMPT_TEXT);
        beginInput();
    } else if (clientInput && isInterrupt(key)) {
        // Ctrl+C while a client waits for a line stops what the client runs;
        // it types nothing and leaves the line and its request as they are.
        platform::notifyClient(WM_BRIDGE_INTERRUPT);
    } else if (inputOpen) {
        // A key for the line brings the view back to it; the modifiers of
        // Shift+Page Up or Ctrl+C do not.
        if (key != KEY_SHIFT && key != KEY_CONTROL && !view.live()) {
            view.toLive();
            platform::screenChanged();
        }
        editKey(key);
    }
}

void Console::editKey(std::uint32_t key) {
    if (!inputOpen) return;

    const int total = length();
    if (total - inputStart >= wrapWidth - INPUT_RESERVE && key != KEY_RETURN && key != KEY_BACK) return;

    switch (key) {
    case KEY_BACK:
        if (total - 1 >= inputStart && total > 0) cutAt(total - 1);
        return;
    case KEY_RETURN: {
        inputOpen = false;
        platform::screenChanged();
        const int start = inputStart < 0 ? 0 : (inputStart > total ? total : inputStart);
        // The copy lives on the stack: the typed line never outgrows the
        // buffer, and Enter cannot fail for want of memory.
        char typed[CONSOLE_BUFFER_SIZE];
        const std::size_t typedLength = static_cast<std::size_t>(total - start);
        std::memcpy(typed, text + start, typedLength);
        typed[typedLength] = '\0';
        if (clientInput) {
            clientInput = false;
            writeStreamIn(typed, typedLength);
            // No client to take the line: the prompt comes back, and the
            // next line typed runs as a command.
            if (!platform::notifyClient(WM_BRIDGE_INPUT) && !inputOpen) showPrompt();
        } else {
            execute(typed);  // the interpreter consumes the copy
        }
        return;
    }
    case KEY_SHIFT:
    case KEY_CONTROL:
    case KEY_ESCAPE: return;
    case KEY_CAPITAL: capsLock = !capsLock; return;
    default:
        if (key >= KEY_HOME && key <= KEY_DOWN) return;
        const char c = translateKey(key, capsLock);
        if (c != '\0') append(&c, 1);  // a zero would end the buffer early
        return;
    }
}
