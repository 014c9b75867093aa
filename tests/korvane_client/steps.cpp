#include "tests/korvane_client/steps.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "bridge/bridge.h"
#include "client/bridge_client.h"
#include "client/key_map.h"
#include "client/window_search.h"
#include "tests/korvane_client/measure_print.h"
#include "tests/korvane_client/message_box.h"

namespace {

constexpr unsigned DEFAULT_WAIT_MS = 10000;

unsigned numberOr(const std::string& text, unsigned fallback) {
    if (text.empty()) return fallback;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 10);
    return *end == '\0' ? static_cast<unsigned>(value) : fallback;
}

bool fail(std::string& error, const std::string& reason) {
    error = reason;
    return false;
}

// "PROGRAM", or options ("--window ...") for korvane.exe beside this program.
bool startConsole(ClientSession& session, const std::string& argument, bool waitForWindow,
                  std::string& error) {
    const bool options = argument.rfind("-", 0) == 0;
    const std::string path = argument.empty() || options ? programFolder() + "korvane.exe" : argument;
    if (!session.console.start(path, "", options ? argument : "")) return fail(error, "cannot start " + path);
    if (!waitForWindow || session.client.findConsole(20000, session.console.id())) return true;
    session.console.terminate();
    return fail(error, "the started console opened no window");
}

// The client's side of a pause for an outside observer (a screenshot): say
// that the screen is ready, then wait until the observer creates the file.
bool handshake(const std::string& name, std::string& error) {
    std::printf("handshake %s\n", name.c_str());
    std::fflush(stdout);
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(name.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start > 30000) return fail(error, "nobody answered");
        Sleep(20);
    }
    DeleteFileA(name.c_str());
    return true;
}

bool answerMessageBox(ClientSession& session, unsigned timeoutMs, std::string& error) {
    std::string caption, text;
    if (!dismissMessageBox(session.console.id(), timeoutMs, caption, text)) return fail(error, "no message box");
    std::printf("message box: caption \"%s\", text \"%s\"\n", caption.c_str(), text.c_str());
    std::fflush(stdout);
    return true;
}

bool waitExit(ClientSession& session, unsigned timeoutMs, std::string& error) {
    unsigned long code = 0;
    if (session.console.id() != 0) {
        if (!session.console.waitExit(timeoutMs, code)) return fail(error, "console still running");
        std::printf("console exit code: %lu\n", code);
        return true;
    }
    BridgeClient& client = session.client;
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                 static_cast<DWORD>(client.consoleProcessId()));
    if (!process) return fail(error, "console process not found");
    const bool ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    DWORD processCode = STILL_ACTIVE;
    GetExitCodeProcess(process, &processCode);
    CloseHandle(process);
    if (!ended) return fail(error, "console still running");
    std::printf("console exit code: %lu\n", static_cast<unsigned long>(processCode));
    return true;
}

// Waits until another program's client window exists and its thread handles
// messages: a client makes its window just before the request it waits on.
bool waitForOtherClient(unsigned timeoutMs, std::string& error) {
    WindowQuery query;
    query.className = CLIENT_WINDOW_CLASS;
    query.processId = GetCurrentProcessId();
    query.otherThanProcess = true;
    void* window = waitForTopWindow(query, timeoutMs);
    if (!window) return fail(error, "no other client window");
    if (!windowAnswers(window, timeoutMs)) return fail(error, "the other client does not answer");
    return true;
}

// "NUMBER[,WPARAM[,LPARAM]]", decimal.
bool sendMessage(BridgeClient& client, const std::string& argument, bool posted) {
    unsigned long message = 0;
    unsigned long long wParam = 0;
    long long lParam = 0;
    if (std::sscanf(argument.c_str(), "%lu,%llu,%lld", &message, &wParam, &lParam) < 1) return false;
    return static_cast<bool>(posted ? client.postMessage(static_cast<unsigned>(message), wParam, lParam)
                                    : client.sendMessage(static_cast<unsigned>(message), wParam, lParam));
}

// The console window's client area in screen pixels, for screenshots of it.
bool showClientArea(std::string& error) {
    HWND console = FindWindowA(CONSOLE_WINDOW_CLASS, nullptr);
    RECT area;
    POINT corner{0, 0};
    if (!console || !GetClientRect(console, &area) || !ClientToScreen(console, &corner))
        return fail(error, "no console window");
    std::printf("client area %ld %ld %ld %ld\n", corner.x, corner.y, area.right, area.bottom);
    std::fflush(stdout);
    return true;
}

void printLine(const std::string& line) {
    std::printf("line: %s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace

std::string unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case '0': out += '\0'; break;
        default: out += text[i]; break;
        }
    }
    return out;
}

bool runStep(ClientSession& session, const std::string& step, std::string& error) {
    BridgeClient& client = session.client;
    const std::size_t equals = step.find('=');
    const std::string name = step.substr(0, equals);
    const std::string argument = equals == std::string::npos ? "" : step.substr(equals + 1);
    const unsigned wait = numberOr(argument, DEFAULT_WAIT_MS);
    std::string line;

    if (name == "start") return startConsole(session, argument, true, error);
    if (name == "launch") return startConsole(session, argument, false, error);
    if (name == "client-area") return showClientArea(error);
    if (name == "handshake") return handshake(argument, error);
    if (name == "find") return client.findConsole(numberOr(argument, 20000)) || fail(error, "no console window");
    if (name == "type") return client.type(unescape(argument)) || fail(error, "cannot type that text");
    if (name == "key") return client.key(numberOr(argument, 0)) || fail(error, "key not handled");
    if (name == "shift-key") return client.shiftedKey(numberOr(argument, 0)) || fail(error, "key not handled");
    if (name == "enter") return client.key(KEY_ENTER) || fail(error, "key not handled");
    if (name == "backspace") return client.key(KEY_BACKSPACE) || fail(error, "key not handled");
    if (name == "escape") return client.key(KEY_ESCAPE) || fail(error, "key not handled");
    if (name == "command")
        return (client.type(unescape(argument)) && client.key(KEY_ENTER)) || fail(error, "command not typed");
    if (name == "message") return sendMessage(client, argument, false) || fail(error, "message not handled");
    if (name == "post") return sendMessage(client, argument, true) || fail(error, "message not posted");
    if (name == "print") return client.print(unescape(argument)) || fail(error, "print not handled");
    if (name == "print-file") return client.printFile() || fail(error, "print not handled");
    if (name == "prompt") return client.prompt() || fail(error, "prompt not handled");
    if (name == "cancel") return client.cancel() || fail(error, "cancel not handled");
    if (name == "clear") return client.clear() || fail(error, "clear not handled");
    if (name == "request-line") return client.requestLine() || fail(error, "line request not handled");
    if (name == "request-pause") return client.requestPause() || fail(error, "pause not handled");
    if (name == "wait-line") {
        if (!client.waitLine(line, wait)) return fail(error, "no line delivered");
        printLine(line);
        return true;
    }
    if (name == "read-line") {
        if (!client.readLine(line, wait)) return fail(error, "no line delivered");
        printLine(line);
        return true;
    }
    if (name == "wait-pause") return client.waitPauseEnd(wait) || fail(error, "pause did not end");
    if (name == "sleep") {
        Sleep(numberOr(argument, 0));
        return true;
    }
    if (name == "say") {
        std::printf("%s\n", unescape(argument).c_str());
        std::fflush(stdout);
        return true;
    }
    if (name == "wait-client") return waitForOtherClient(numberOr(argument, 20000), error);
    if (name == "dismiss-box") return answerMessageBox(session, wait, error);
    if (name == "wait-exit") return waitExit(session, wait, error);
    if (name == "measure-print") {
        client.setReplyTimeout(600000);
        const bool measured = measurePrint(client, numberOr(argument, 10));
        client.setReplyTimeout(DEFAULT_WAIT_MS);
        return measured || fail(error, "print not handled");
    }
    return fail(error, "unknown step");
}

const char* stepUsage() {
    return "steps:\n"
           "  start[=PROGRAM]      start the console (default: korvane.exe beside this program)\n"
           "  start=--OPTIONS      start korvane.exe with options (start=--window --scale 2)\n"
           "  launch[=...]         the same, without waiting for its window\n"
           "  client-area          show the console window's client area: LEFT TOP WIDTH HEIGHT\n"
           "  find[=ms]            wait for any console window (default 20000 ms)\n"
           "  type=TEXT            type TEXT (capitals through the caps toggle)\n"
           "  command=TEXT         type TEXT, then Enter\n"
           "  key=CODE             one WM_KEYDOWN with a virtual-key code\n"
           "  message=N[,W[,L]]    send window message N with wParam W and lParam L (decimal)\n"
           "  post=N[,W[,L]]       the same, posted to the console's queue\n"
           "  shift-key=CODE       the same with Shift held (real input)\n"
           "  enter | backspace | escape\n"
           "  print=TEXT           write TEXT to c:\\stream.o and have it printed\n"
           "  print-file           have c:\\stream.o printed as it is\n"
           "  prompt | cancel | clear | request-line | request-pause\n"
           "  wait-line[=ms]       wait for a delivered line and show it\n"
           "  read-line[=ms]       request a line, wait for it and show it\n"
           "  wait-pause[=ms]      wait until the client's pause ends\n"
           "  wait-client[=ms]     wait until another program's client window answers (default 20000 ms)\n"
           "  dismiss-box[=ms]     answer a message box of the started console with OK, show its texts\n"
           "  wait-exit[=ms]       wait until the console process ends, show its exit code\n"
           "  measure-print[=MB]   time printing MB of text against reading the file\n"
           "  handshake=FILE       say \"handshake FILE\", wait until FILE exists, delete it\n"
           "  sleep=ms | say=TEXT\n"
           "texts take the escapes \\n \\r \\t \\0 \\\\\n";
}
