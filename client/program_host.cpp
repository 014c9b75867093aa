// The host loop: one thread, which prints the output that the reader thread
// collected, hands typed lines to the program and watches the console.
//
// While the program runs, a line request is always pending, so the user can
// type at any time. Output printed while that line is open would join it, so
// every print is followed by WM_BRIDGE_PROMPT, which with the line open only
// moves the line's start past the printed text; other clients' prints come
// to us and are printed the same way. When the console goes away the program
// is ended; Ctrl+C in the console ends it too, and hands the console back.
#include "client/program_host.h"

#include <windows.h>

#include <deque>
#include <utility>

#include "bridge/bridge.h"
#include "client/command_line.h"
#include "client/hosted_child.h"
#include "client/line_ends.h"
#include "client/opening_clear.h"
#include "client/stream_files.h"
#include "client/typed_line.h"

namespace {

constexpr DWORD IDLE_WAIT_MS = 100;
constexpr DWORD INPUT_RETRY_MS = 10;
// How long an owed line break waits for the program's next output or its end.
constexpr DWORD BREAK_DELAY_MS = 50;
// How long the output may go on after the program ended (its pipe is closed
// as soon as the job is ended, so normally at once).
constexpr DWORD OUTPUT_AFTER_END_MS = 2000;
// The pseudo console's size: the columns of one line of the console's buffer
// and its lines.
constexpr short PSEUDO_CONSOLE_COLUMNS = 119;
constexpr short PSEUDO_CONSOLE_LINES = 39;
// The status of a program that Ctrl+C ended (STATUS_STOPPED_BY_CONTROL_C).
constexpr unsigned long STOPPED_BY_CONTROL_C = 0xC000013Aul;

struct HostState {
    unsigned printFlags = 0;  // of the program's output
    bool pseudoConsole = false;
    std::deque<std::string> typedLines;
    // The text of a print until the prompt that settles it; nullptr otherwise.
    const std::string* printing = nullptr;
    // A line break owed to the screen: after a typed line, or at the end of
    // output. It is printed in front of the next output, or after a moment
    // while the program runs; when the program ends first, the prompt's own
    // line break takes its place, so no empty line is left above the prompt.
    bool breakOwed = false;
    DWORD breakSince = 0;
    // The last text printed ended inside a line.
    bool lineStarted = false;
    // Our line request is pending, so a print must be followed by a prompt.
    bool lineRequested = false;
    bool interruptSeen = false;  // WM_BRIDGE_INTERRUPT arrived
    bool interrupted = false;    // and ended the program, which still ran
    bool interruptSent = false;  // a console control event went to the program
    bool ending = false;
    bool typedWhenEnding = false;  // the line ended by our own Enter held typed text
    BridgeResult failure;  // the first failure of a request sent from the notification
};

// A line typed by the user, delivered while the console waits for us: it is
// still inside its notification, so the next request comes before any key.
void onNotification(BridgeClient& client, unsigned message, void* context) {
    auto& state = *static_cast<HostState*>(context);
    if (message == WM_BRIDGE_INTERRUPT) state.interruptSeen = true;
    if (message != WM_BRIDGE_INPUT) return;
    state.lineRequested = false;
    std::string line;
    readStreamIn(line);  // an unreadable file counts as an empty line
    if (state.ending) {
        state.typedWhenEnding = !line.empty();
        return;
    }
    if (state.printing) line = withoutPrintedText(line, *state.printing);
    state.typedLines.push_back(line + "\n");
    // The typed line stays on screen; like a terminal, what follows starts
    // below it.
    state.breakOwed = true;
    state.breakSince = GetTickCount();
    const BridgeResult requested = client.requestLine();
    if (requested) state.lineRequested = true;
    if (!requested && state.failure) state.failure = requested;
}

// The caller holds the exchange.
BridgeResult printText(BridgeClient& client, HostState& state, const std::string& text, unsigned flags) {
    if (text.empty()) return {};
    if (!writeStreamOut(text)) return BridgeError::streamOut;
    state.printing = &text;
    BridgeResult result = client.printFile(flags);
    state.lineStarted = text.back() != '\n';
    if (result && state.lineRequested) result = client.prompt();
    state.printing = nullptr;
    return result;
}

// Output of the program: the owed line break goes in front, and a line break
// at its end is owed in turn. Print and prompt are one exchange.
BridgeResult printOutput(BridgeClient& client, HostState& state, std::string text, unsigned flags) {
    if (text.empty()) return {};
    const BridgeClient::Exchange exchange(client);
    if (!exchange.result()) return exchange.result();
    if (state.breakOwed) text.insert(text.begin(), '\n');
    state.breakOwed = text.back() == '\n';
    if (state.breakOwed) {
        text.pop_back();
        state.breakSince = GetTickCount();
    }
    return printText(client, state, text, flags);
}

BridgeResult payOwedBreak(BridgeClient& client, HostState& state) {
    if (!state.breakOwed || GetTickCount() - state.breakSince < BREAK_DELAY_MS) return {};
    const BridgeClient::Exchange exchange(client);
    if (!exchange.result()) return exchange.result();
    if (!state.breakOwed) return {};  // paid by a print that came first
    state.breakOwed = false;
    return printText(client, state, "\n", state.printFlags);
}

// Another client's print while the program runs, handed to us inside its
// exchange: it goes in as whole lines, below an unfinished line of the
// program's, and the line's start moves past it as after our own output.
BridgeResult onForeignPrint(BridgeClient& client, const std::string& text, void* context) {
    auto& state = *static_cast<HostState*>(context);
    std::string lines = text.substr(0, text.find('\0'));
    if (lines.empty()) return {};
    if (lines.back() != '\n') lines += '\n';
    if (!state.breakOwed && state.lineStarted) lines.insert(lines.begin(), '\n');
    const BridgeResult printed = printOutput(client, state, lines, 0);  // plain text of its own
    if (!printed && state.failure) state.failure = printed;
    return printed;
}

// Another client's cancel while the program runs: the console's input is
// the program's until it ends, so exec keeps its line (as if it asked for it
// again at once) and nothing of the output or the typed text is cut.
BridgeResult onForeignCancel(BridgeClient&, void*) { return {}; }

HostOutcome bridgeFailed(HostedChild& child, BridgeResult why) {
    child.terminate();
    HostOutcome outcome;
    outcome.end = HostOutcome::End::bridgeFailed;
    outcome.bridge = why;
    return outcome;
}

// The line request and the relays in one exchange: another client's print or
// cancel finds the relays set as soon as the line is open.
BridgeResult openLine(BridgeClient& client, HostState& state) {
    const BridgeClient::Exchange exchange(client);
    if (!exchange.result()) return exchange.result();
    const BridgeResult requested = client.requestLine();
    if (!requested) return requested;
    state.lineRequested = true;
    client.relayPrints(onForeignPrint, &state);
    client.relayCancels(onForeignCancel, &state);
    return {};
}


HostOutcome notStarted(BridgeClient& client, const std::string& program, const std::string& reason) {
    HostOutcome outcome;
    outcome.end = HostOutcome::End::notStarted;
    outcome.startError = reason;
    outcome.bridge = client.print("\n[error] - could not start the program " + program + ": " + reason);
    if (outcome.bridge) outcome.bridge = client.prompt();
    return outcome;
}

// Hands the console back: the pending line request is ended with an Enter
// of our own (the console cannot withdraw it otherwise), then the prompt.
// After Ctrl+C, "^C" stands on a line of its own in front of the prompt.
BridgeResult handBack(BridgeClient& client, HostState& state) {
    client.relayPrints(nullptr, nullptr);
    client.relayCancels(nullptr, nullptr);
    state.ending = true;
    state.lineRequested = false;
    BridgeResult result = client.endLineRequest();
    if (result && state.interrupted) {
        const bool below = state.breakOwed || state.lineStarted || state.typedWhenEnding;
        const BridgeClient::Exchange exchange(client);
        result = exchange.result();
        if (result) result = printText(client, state, below ? "\n^C" : "^C", 0);
    }
    if (result) result = client.prompt();
    return result;
}

class NotificationScope {
public:
    NotificationScope(BridgeClient& client, HostState& state) : client(client) {
        client.setNotificationHandler(onNotification, &state);
    }
    ~NotificationScope() {
        client.relayPrints(nullptr, nullptr);
        client.relayCancels(nullptr, nullptr);
        client.setNotificationHandler(nullptr, nullptr);
    }
    NotificationScope(const NotificationScope&) = delete;
    NotificationScope& operator=(const NotificationScope&) = delete;

private:
    BridgeClient& client;
};

}  // namespace

HostOutcome hostProgram(BridgeClient& client, const std::vector<std::string>& arguments, HostOutput output) {
    HostState state;
    state.printFlags = output == HostOutput::raw ? 0 : BRIDGE_PRINT_TERMINAL;
    state.pseudoConsole = output == HostOutput::pseudoConsole;
    NotificationScope scope(client, state);
    HostedChild child;
    // The turn for notifications first: the console is not touched while
    // another client's line or pause is pending.
    if (BridgeResult turn = client.takeNotificationTurn(BridgeClient::NO_TIME_LIMIT); !turn)
        return bridgeFailed(child, turn);
    if (BridgeResult taken = client.cancel(); !taken) return bridgeFailed(child, taken);
    std::string reason = "no program named";
    const bool started = !arguments.empty() &&
                         (state.pseudoConsole ? child.startOnPseudoConsole(joinCommandLine(arguments),
                                                                           PSEUDO_CONSOLE_COLUMNS,
                                                                           PSEUDO_CONSOLE_LINES, reason)
                                              : child.start(joinCommandLine(arguments), reason));
    if (!started)
        return notStarted(client, arguments.empty() ? std::string() : arguments[0], reason);
    // The window is made just before the first request whose answer it
    // receives, if the caller has not made it yet.
    BridgeResult requested = client.open();
    if (requested) requested = openLine(client, state);
    if (!requested) return bridgeFailed(child, requested);

    LineEndFilter lineEnds;
    OpeningClearFilter opening;
    bool outputEnded = false;
    DWORD endedAt = 0;
    bool programEnded = false;
    for (;;) {
        bool ended = false;
        std::string text = child.takeOutput(ended);
        if (state.pseudoConsole) text = opening.feed(text);
        text = lineEnds.feed(text);
        if (BridgeResult printed = printOutput(client, state, std::move(text), state.printFlags); !printed)
            return bridgeFailed(child, printed);
        outputEnded = ended;
        if (!state.failure) return bridgeFailed(child, state.failure);

        // One line at a time, each once the program has read the one before:
        // some programs take only the first line of a read.
        if (!state.typedLines.empty() && child.inputDrained()) {
            std::string line = state.typedLines.front();
            if (state.pseudoConsole) line.back() = '\r';  // Enter, as a terminal sends it
            child.writeInput(line);
            state.typedLines.pop_front();
        }
        if (!programEnded && state.interruptSeen && state.pseudoConsole) {
            // The program decides: it may catch the event and go on.
            state.interruptSeen = false;
            state.interruptSent = child.interrupt() || state.interruptSent;
        } else if (!programEnded && state.interruptSeen) {
            state.interrupted = true;
            child.terminate();  // Ctrl+C; what it wrote is still read below
        }
        if (!programEnded && WaitForSingleObject(static_cast<HANDLE>(child.processHandle()), 0) == WAIT_OBJECT_0) {
            programEnded = true;
            endedAt = GetTickCount();
            child.terminate();  // what it started in the background ends too, and with it the pipe
        }
        if (programEnded && (outputEnded || GetTickCount() - endedAt >= OUTPUT_AFTER_END_MS)) break;
        if (!programEnded) {
            if (BridgeResult paid = payOwedBreak(client, state); !paid) return bridgeFailed(child, paid);
        }
        if (!client.consoleAlive()) return bridgeFailed(child, BridgeError::consoleGone);

        HANDLE waits[2] = {static_cast<HANDLE>(child.outputEvent()), static_cast<HANDLE>(child.processHandle())};
        const DWORD wait = state.typedLines.empty() && !state.breakOwed ? IDLE_WAIT_MS : INPUT_RETRY_MS;
        MsgWaitForMultipleObjects(programEnded ? 1 : 2, waits, FALSE, programEnded ? INPUT_RETRY_MS : wait,
                                  QS_ALLINPUT);
        client.handleMessages();
    }
    // A held CR is the last of the output; an owed line break is left to the
    // prompt.
    if (BridgeResult printed = printOutput(client, state, lineEnds.finish(), state.printFlags); !printed)
        return bridgeFailed(child, printed);

    HostOutcome outcome;
    child.exitCode(outcome.exitCode);
    if (state.interruptSent && outcome.exitCode == STOPPED_BY_CONTROL_C) state.interrupted = true;
    if (state.interrupted) outcome.end = HostOutcome::End::interrupted;
    outcome.bridge = handBack(client, state);
    if (!outcome.bridge) outcome.end = HostOutcome::End::bridgeFailed;
    return outcome;
}
