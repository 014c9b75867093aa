// korvane-stream: the console's stream bridge for scripts and shells, one
// verb per request, and exec to run a line-based program inside the console.
// `korvane-stream --help` lists the verbs and the exit statuses.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bridge/bridge.h"
#include "client/bridge_client.h"
#include "client/console_helper.h"
#include "client/line_ends.h"
#include "client/program_host.h"
#include "client/typed_line.h"
#include "tools/korvane_stream/stream_arguments.h"

namespace {

constexpr DWORD INPUT_CHUNK = 1u << 16;

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

// Other clients' prints while our line is open: printed at once, and taken
// out of the delivered line again, so that it holds only what was typed.
void printIntoTheLine(BridgeClient& client, const std::string& text, void* context) {
    client.printFile();
    static_cast<std::vector<std::string>*>(context)->push_back(text.substr(0, text.find('\0')));
}

int readLine(BridgeClient& client, unsigned timeoutMs, DWORD since) {
    std::string line;
    if (BridgeResult requested = client.requestLine(); !requested) return failTurn("readline", requested, timeoutMs);
    std::vector<std::string> printed;
    client.relayPrints(printIntoTheLine, &printed);
    const BridgeResult read = client.waitLine(line, remainingOf(timeoutMs, since));
    client.relayPrints(nullptr, nullptr);
    for (auto text = printed.rbegin(); text != printed.rend(); ++text) line = withoutPrintedText(line, *text);
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
    if (paused.error() == BridgeError::interrupted) return interrupted(client, false);
    if (paused.error() == BridgeError::timedOut) {
        client.endPause();
        std::fprintf(stderr, "korvane-stream: pause: no key within %.3g s\n", timeoutMs / 1000.0);
        return EXIT_TIMED_OUT;
    }
    return paused ? 0 : fail("pause", paused);
}

int exec(BridgeClient& client, const std::vector<std::string>& program, ExecOutput output) {
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
        const BridgeResult opened =
            window ? client.open(command.timeoutMs) : client.takeNotificationTurn(command.timeoutMs);
        const char* verb = command.verb == StreamVerb::exec    ? "exec"
                           : command.verb == StreamVerb::pause ? "pause"
                                                               : "readline";
        if (opened.error() == BridgeError::clientWindow) return fail("client window", opened);
        if (!opened) return failTurn(verb, opened, command.timeoutMs);
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
