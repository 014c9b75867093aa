// korvane-stream: the console's stream bridge for scripts and shells, one
// verb per request, and exec to run a line-based program inside the console.
// `korvane-stream --help` lists the verbs and the exit statuses.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bridge/bridge.h"
#include "client/bridge_client.h"
#include "client/console_helper.h"
#include "client/line_ends.h"
#include "client/program_host.h"
#include "tools/korvane_stream/stream_arguments.h"

namespace {

constexpr DWORD INPUT_CHUNK = 1u << 16;
// Set by exec for the program it runs (and so for everything that program
// starts): the process id of that exec.
constexpr char EXEC_VARIABLE[] = "KORVANE_STREAM_EXEC";
// The longest wait for the turn of the requests that leave the console as
// the user had it, after a wait ran out.
constexpr unsigned TIDY_TURN_MS = 1000;

int fail(const char* verb, BridgeResult result) {
    std::fprintf(stderr, "korvane-stream: %s: %s\n", verb, result.message());
    return exitStatusFor(result.error());
}

// A wait for the turn among clients that ran out: nothing was sent.
int failTurn(const char* verb, BridgeResult result, unsigned timeoutMs) {
    if (result.error() != BridgeError::timedOut) return fail(verb, result);
    std::fprintf(stderr, "korvane-stream: %s: another client kept the console for %.3g s\n", verb, timeoutMs / 1000.0);
    return EXIT_TIMED_OUT;
}

// What is left of the tool's --timeout.
unsigned remainingOf(unsigned timeoutMs, DWORD since) {
    if (timeoutMs == BridgeClient::NO_TIME_LIMIT) return timeoutMs;
    const DWORD elapsed = GetTickCount() - since;
    return elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
}

// After Ctrl+C: the line request or pause is ended, "^C" shown as a terminal
// shows it, and the console gets its prompt.
int interrupted(BridgeClient& client, bool lineRequested) {
    const BridgeResult ended = lineRequested ? client.endLineRequest() : client.endPause();
    if (ended && (!lineRequested || client.print("^C"))) client.prompt();
    return EXIT_INTERRUPTED;
}

// Standard output in binary: the typed line's bytes as they are, "\n" after.
void writeOut(const std::string& text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

int printInput(BridgeClient& client, unsigned timeoutMs, unsigned flags) {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    LineEndFilter lineEnds;
    std::string chunk(INPUT_CHUNK, '\0');
    for (;;) {
        DWORD n = 0;
        // A read returns what the pipe holds now, so each piece is printed
        // as it arrives, not when the input ends.
        if (!ReadFile(input, chunk.data(), INPUT_CHUNK, &n, nullptr) || n == 0) break;
        const std::string text = lineEnds.feed(std::string_view(chunk.data(), n));
        if (text.empty()) continue;
        if (BridgeResult printed = client.print(text, flags); !printed) return failTurn("print", printed, timeoutMs);
    }
    const std::string rest = lineEnds.finish();
    if (BridgeResult printed = rest.empty() ? BridgeResult() : client.print(rest, flags); !printed)
        return failTurn("print", printed, timeoutMs);
    return 0;
}

// Other clients' prints while our line is open go in whole above it, so that
// the line holds only what was typed and typing goes on.
BridgeResult printAboveTheLine(BridgeClient& client, const std::string&, void*) {
    return client.printFile(BRIDGE_PRINT_ABOVE_INPUT);
}

// Another client's cancel of our line: the request is ended with an Enter
// (what was typed stays on screen, unread) and the wait ends as cancelled.
// A line already delivered is no longer ours to cancel.
BridgeResult endCancelledLine(BridgeClient& client, void*) {
    if (client.lineNotifications() > 0) return {};
    const BridgeResult ended = client.endLineRequest();
    client.cancelWait();
    return ended;
}

int readLine(BridgeClient& client, unsigned timeoutMs, DWORD since) {
    std::string line;
    {
        // The request and the relays in one exchange: another client's print
        // or cancel finds the relays set as soon as the line is open.
        const BridgeClient::Exchange exchange(client);
        BridgeResult requested = exchange.result();
        if (requested) requested = client.requestLine();
        if (!requested) return failTurn("readline", requested, timeoutMs);
        client.relayPrints(printAboveTheLine, nullptr);
        client.relayCancels(endCancelledLine, nullptr);
    }
    const BridgeResult read = client.waitLine(line, remainingOf(timeoutMs, since));
    client.relayPrints(nullptr, nullptr);
    client.relayCancels(nullptr, nullptr);
    client.setTurnTimeout(TIDY_TURN_MS);
    if (read.error() == BridgeError::cancelled) {
        std::fprintf(stderr, "korvane-stream: readline: another client cancelled the line\n");
        return EXIT_CANCELLED;
    }
    if (read.error() == BridgeError::interrupted) return interrupted(client, true);
    if (read.error() == BridgeError::timedOut) {
        // Leave the console as the user had it: the request withdrawn, a prompt.
        if (client.endLineRequest()) client.prompt();
        std::fprintf(stderr, "korvane-stream: readline: no line within %.3g s\n", timeoutMs / 1000.0);
        return EXIT_TIMED_OUT;
    }
    if (!read) return fail("readline", read);
    writeOut(line + "\n");
    // The Enter ends the line on screen too, as a terminal shows it.
    if (BridgeResult printed = client.print("\n"); !printed) return fail("readline", printed);
    return 0;
}

int pauseForKey(BridgeClient& client, unsigned timeoutMs, DWORD since) {
    if (BridgeResult paused = client.requestPause(); !paused) return failTurn("pause", paused, timeoutMs);
    const BridgeResult paused = client.waitPauseEnd(remainingOf(timeoutMs, since));
    client.setTurnTimeout(TIDY_TURN_MS);
    if (paused.error() == BridgeError::interrupted) return interrupted(client, false);
    if (paused.error() == BridgeError::timedOut) {
        client.endPause();
        std::fprintf(stderr, "korvane-stream: pause: no key within %.3g s\n", timeoutMs / 1000.0);
        return EXIT_TIMED_OUT;
    }
    return paused ? 0 : fail("pause", paused);
}

// A readline, pause or exec run by the program of an exec would wait for
// that exec's turn, which it holds until the program ends: it ends at once.
bool underRunningExec(unsigned long& execId) {
    char value[32] = {};
    const DWORD length = GetEnvironmentVariableA(EXEC_VARIABLE, value, sizeof value);
    if (length == 0 || length >= sizeof value) return false;
    execId = std::strtoul(value, nullptr, 10);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(execId));
    if (!process) return false;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running && execId != GetCurrentProcessId();
}

int exec(BridgeClient& client, const std::vector<std::string>& program, ExecOutput output) {
    SetEnvironmentVariableA(EXEC_VARIABLE, std::to_string(GetCurrentProcessId()).c_str());
    const HostOutput shown = output == ExecOutput::raw       ? HostOutput::raw
                             : output == ExecOutput::console ? HostOutput::pseudoConsole
                                                             : HostOutput::terminal;
    const HostOutcome outcome = hostProgram(client, program, shown);
    switch (outcome.end) {
    case HostOutcome::End::exited: return static_cast<int>(outcome.exitCode);
    case HostOutcome::End::interrupted: return EXIT_INTERRUPTED;
    case HostOutcome::End::notStarted:
        std::fprintf(stderr, "korvane-stream: exec: cannot start %s: %s\n", program[0].c_str(),
                     outcome.startError.c_str());
        return EXIT_NOT_STARTED;
    case HostOutcome::End::bridgeFailed:
        if (outcome.bridge.error() == BridgeError::consoleGone) {
            std::fprintf(stderr, "korvane-stream: exec: the console went away; %s was ended\n",
                         program[0].c_str());
            return EXIT_CONSOLE_GONE;
        }
        return fail("exec", outcome.bridge);
    }
    return EXIT_NO_ANSWER;
}

bool needsClientWindow(StreamVerb verb) {
    return verb == StreamVerb::readLine || verb == StreamVerb::pause;  // exec opens it itself
}

}  // namespace

int main(int argc, char** argv) {
    // exec --console starts this program again on the pseudo console.
    if (argc > 1 && std::string(argv[1]) == CONSOLE_HELPER_ARGUMENT) return runConsoleHelper();
    // The release's version, compiled in from the CMake project version.
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::printf("korvane-stream %s\n", KORVANE_VERSION);
        return 0;
    }
    const ParsedArguments parsed = parseStreamArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.ok) {
        std::fprintf(stderr, "korvane-stream: %s (korvane-stream --help lists the verbs)\n", parsed.error.c_str());
        return EXIT_USAGE;
    }
    const StreamCommand& command = parsed.command;
    if (command.verb == StreamVerb::help) {
        std::fputs(streamUsage(), stdout);
        return 0;
    }

    const DWORD started = GetTickCount();
    BridgeClient client;
    client.setTurnTimeout(command.timeoutMs);
    if (BridgeResult found = client.findConsole(0); !found) return fail("console", found);
    // The window comes after the console was found and before any request
    // whose answer it receives, once it is our turn among the clients (exec
    // makes it itself, after taking the console over).
    if (needsClientWindow(command.verb) || command.verb == StreamVerb::exec) {
        const bool window = needsClientWindow(command.verb);
        const char* verb = command.verb == StreamVerb::exec    ? "exec"
                           : command.verb == StreamVerb::pause ? "pause"
                                                               : "readline";
        if (unsigned long execId = 0; underRunningExec(execId)) {
            std::fprintf(stderr, "korvane-stream: %s: %s (korvane-stream exec, process %lu)\n", verb,
                         BridgeResult(BridgeError::execRunning).message(), execId);
            return exitStatusFor(BridgeError::execRunning);
        }
        const BridgeResult opened =
            window ? client.open(command.timeoutMs) : client.takeNotificationTurn(command.timeoutMs);
        if (opened.error() == BridgeError::clientWindow) return fail("client window", opened);
        if (!opened) return failTurn(verb, opened, command.timeoutMs);
        // One deadline for the turn, the exchange and the user together.
        client.setTurnTimeout(remainingOf(command.timeoutMs, started));
    }
    switch (command.verb) {
    case StreamVerb::print: {
        const BridgeResult printed = client.print(command.text, command.terminal ? BRIDGE_PRINT_TERMINAL : 0);
        return printed ? 0 : failTurn("print", printed, command.timeoutMs);
    }
    case StreamVerb::printInput:
        return printInput(client, command.timeoutMs, command.terminal ? BRIDGE_PRINT_TERMINAL : 0);
    case StreamVerb::readLine: return readLine(client, command.timeoutMs, started);
    case StreamVerb::pause: return pauseForKey(client, command.timeoutMs, started);
    case StreamVerb::prompt: {
        const BridgeResult prompted = client.prompt();
        return prompted ? 0 : fail("prompt", prompted);
    }
    case StreamVerb::cancel: {
        const BridgeResult cancelled = client.cancel();
        return cancelled ? 0 : fail("cancel", cancelled);
    }
    case StreamVerb::clear: {
        const BridgeResult cleared = client.clear();
        return cleared ? 0 : fail("clear", cleared);
    }
    case StreamVerb::exec:
        client.setTurnTimeout(BridgeClient::NO_TIME_LIMIT);  // --timeout limits only the wait to begin
        return exec(client, command.program, command.execOutput);
    case StreamVerb::help: break;
    }
    return 0;
}
