#include "tools/korvane_stream/stream_arguments.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double LONGEST_TIMEOUT_S = 24.0 * 24 * 3600;

ParsedArguments usageError(const std::string& why) {
    ParsedArguments parsed;
    parsed.error = why;
    return parsed;
}

bool verbNamed(const std::string& word, StreamVerb& verb) {
    static const struct {
        const char* name;
        StreamVerb verb;
    } verbs[] = {
        {"print", StreamVerb::print},   {"readline", StreamVerb::readLine}, {"pause", StreamVerb::pause},
        {"prompt", StreamVerb::prompt}, {"cancel", StreamVerb::cancel},     {"clear", StreamVerb::clear},
        {"exec", StreamVerb::exec},
    };
    for (const auto& entry : verbs) {
        if (word == entry.name) {
            verb = entry.verb;
            return true;
        }
    }
    return false;
}

}  // namespace

int exitStatusFor(BridgeError error) {
    switch (error) {
    case BridgeError::none: return 0;
    case BridgeError::noConsole: return EXIT_NO_CONSOLE;
    case BridgeError::noAnswer: return EXIT_NO_ANSWER;
    case BridgeError::timedOut:
    case BridgeError::execRunning: return EXIT_TIMED_OUT;
    case BridgeError::cancelled: return EXIT_CANCELLED;
    case BridgeError::interrupted: return EXIT_INTERRUPTED;
    case BridgeError::consoleGone: return EXIT_CONSOLE_GONE;
    case BridgeError::streamOut:
    case BridgeError::streamIn:
    case BridgeError::clientWindow: return EXIT_STREAM_FILE;
    }
    return EXIT_NO_ANSWER;
}

bool parseTimeoutSeconds(const std::string& text, unsigned& milliseconds) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) return false;
    char* end = nullptr;
    const double seconds = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !(seconds > 0) || seconds > LONGEST_TIMEOUT_S) return false;
    milliseconds = static_cast<unsigned>(std::ceil(seconds * 1000.0));
    return true;
}

ParsedArguments parseStreamArguments(const std::vector<std::string>& arguments) {
    ParsedArguments parsed;
    StreamCommand& command = parsed.command;
    bool haveVerb = false;
    bool lineEnd = true;
    std::size_t i = 0;
    // Options come before the verb's own words: --timeout and --help
    // anywhere there, -n after print.
    for (; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "--help" || word == "-h") {
            parsed.ok = true;
            command = StreamCommand();
            return parsed;
        }
        if (word == "--timeout") {
            if (i + 1 == arguments.size()) return usageError("--timeout needs a number of seconds");
            if (!parseTimeoutSeconds(arguments[++i], command.timeoutMs))
                return usageError("--timeout takes a number of seconds above 0, not \"" + arguments[i] + "\"");
            continue;
        }
        if (haveVerb && command.verb == StreamVerb::print && word == "-n") {
            lineEnd = false;
            continue;
        }
        if (haveVerb && command.verb == StreamVerb::print && word == "--terminal") {
            command.terminal = true;
            continue;
        }
        if (haveVerb && command.verb == StreamVerb::exec && (word == "--raw" || word == "--console")) {
            const ExecOutput output = word == "--raw" ? ExecOutput::raw : ExecOutput::console;
            if (command.execOutput != ExecOutput::terminal && command.execOutput != output)
                return usageError("exec takes --raw or --console, not both");
            command.execOutput = output;
            continue;
        }
        if (word == "--") {
            ++i;
            break;
        }
        if (word.size() > 1 && word[0] == '-') {
            if (haveVerb) break;  // a word of the verb's, such as an argument of the program
            return usageError("unknown option " + word);
        }
        if (haveVerb) break;
        if (!verbNamed(word, command.verb)) return usageError("unknown verb \"" + word + "\"");
        haveVerb = true;
    }
    if (!haveVerb) return usageError("no verb given");
    const std::vector<std::string> words(arguments.begin() + static_cast<std::ptrdiff_t>(i), arguments.end());

    switch (command.verb) {
    case StreamVerb::print:
        if (words.size() == 1 && words[0] == "-") {
            command.verb = StreamVerb::printInput;
            break;
        }
        for (std::size_t w = 0; w < words.size(); ++w) command.text += (w ? " " : "") + words[w];
        if (lineEnd) command.text += '\n';
        break;
    case StreamVerb::exec:
        if (words.empty()) return usageError("exec needs a program");
        command.program = words;
        break;
    default:
        if (!words.empty()) return usageError("unexpected word \"" + words[0] + "\"");
        break;
    }
    parsed.ok = true;
    return parsed;
}

const char* streamUsage() {
    return "usage: korvane-stream [--timeout SECONDS] VERB [ARGUMENTS]\n"
           "Uses the running Korvane console as a terminal, through its stream bridge.\n"
           "\n"
           "verbs:\n"
           "  print [-n] TEXT...      print the words joined by spaces, then a line end unless -n\n"
           "  print -                 print standard input as it arrives; CR LF becomes a line end\n"
           "  print --terminal ...    either, shown as a terminal shows it: CR returns to the line's start,\n"
           "                          BS, TAB and erasing act, colours and other escape sequences vanish\n"
           "  readline                ask for a line; print the typed line to standard output (only what\n"
           "                          was typed: other scripts' prints show above the line)\n"
           "  pause                   wait until the user presses a key in the console\n"
           "  prompt                  show the command prompt\n"
           "  cancel                  close the input line and remove the prompt; a readline waiting for\n"
           "                          its line ends instead (status 119), an exec keeps its line\n"
           "  clear                   clear the console's buffer\n"
           "  exec PROGRAM [ARGS...]  run a line-based program inside the console and exit with its status;\n"
           "                          its output is shown as a terminal shows it\n"
           "  exec --raw PROGRAM ...  the same, its output shown byte for byte\n"
           "  exec --console PROGRAM ...\n"
           "                          the same, with the program on a pseudo console, so that it sees a\n"
           "                          terminal; Ctrl+C reaches it as a console control event\n"
           "\n"
           "options:\n"
           "  --timeout SECONDS       limit each wait (default: no limit): for the turn among several clients,\n"
           "                          and readline's and pause's wait for the user; a wait for the user\n"
           "                          that times out withdraws its request and leaves a prompt\n"
           "  --help                  this text\n"
           "  --version               print the version and end\n"
           "\n"
           "exit statuses:\n"
           "  0    success (exec: the program's own status)\n"
           "  119  readline: another script cancelled the line; what was typed stays on screen, unread\n"
           "  120  usage error\n"
           "  121  no console is running\n"
           "  122  the console does not answer\n"
           "  123  a wait timed out; or readline, pause or exec was run by a program under exec, whose\n"
           "       line the console's input is (it ends at once instead of waiting for exec to end)\n"
           "  124  exec could not start the program (--console: no pseudo console on this system)\n"
           "  125  the console went away\n"
           "  126  a stream file (c:\\stream.o, c:\\stream.i) could not be written or read\n"
           "  130  Ctrl+C in the console stopped readline, pause or the program of exec\n"
           "\n"
           "A print while the command prompt is open joins the command being typed.\n"
           "Several scripts may use the console at once: each print appears whole and once; readline, pause\n"
           "and exec take turns; a print during exec appears among the program's output as whole lines.\n"
           "A zero byte in the text of print - or in exec's output shows as nothing; the rest is printed.\n"
           "When --timeout is given, readline and pause end within it, the turn and the user together.\n";
}
