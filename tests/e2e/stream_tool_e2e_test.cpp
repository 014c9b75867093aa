// korvane-stream.exe against the real console, each run a process of its own
// as a script starts it: its verbs, exit statuses and messages, and exec with
// line-program, an ordinary line-based program. The console's buffer is read
// back with dump.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bridge/bridge.h"
#include "client/bridge_turns.h"
#include "client/key_map.h"
#include "console_session.h"
#include "tool_run.h"

namespace {

constexpr unsigned TOOL_MS = 20000;
constexpr unsigned long EXIT_CANCELLED = 119;
constexpr unsigned long EXIT_USAGE = 120;
constexpr unsigned long EXIT_NO_CONSOLE = 121;
constexpr unsigned long EXIT_TIMED_OUT = 123;
constexpr unsigned long EXIT_NOT_STARTED = 124;
constexpr unsigned long EXIT_CONSOLE_GONE = 125;
constexpr unsigned long EXIT_INTERRUPTED = 130;

// The console notifies the one window of class korvane_app it finds: while
// the tool waits for a notification, the test's own client window is away.
class ClientWindowAside {
public:
    explicit ClientWindowAside(BridgeClient& client) : client(client) { client.close(); }
    ~ClientWindowAside() { client.open(); }
    ClientWindowAside(const ClientWindowAside&) = delete;
    ClientWindowAside& operator=(const ClientWindowAside&) = delete;

private:
    BridgeClient& client;
};

// A console with one open prompt, its stream file gone.
ConsoleSession& freshConsole() {
    ConsoleSession& console = sharedConsole();
    EXPECT_TRUE(console.reset());
    DeleteFileA(STREAM_OUT_PATH);
    return console;
}

std::string withoutCarriageReturns(std::string text) {
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

TEST(KorvaneStream, RequestVerbsActOnTheConsole) {
    ConsoleSession& console = freshConsole();
    ToolRun cancel, clear, printWords, printNoLineEnd, prompt;
    EXPECT_EQ(runTool(cancel, {"cancel"}).exitCode, 0u);
    EXPECT_EQ(runTool(clear, {"clear"}).exitCode, 0u);
    EXPECT_EQ(runTool(printNoLineEnd, {"print", "-n", "abc", "def"}).exitCode, 0u);
    EXPECT_EQ(runTool(printWords, {"print", "ghi"}).exitCode, 0u);
    EXPECT_EQ(runTool(prompt, {"prompt"}).exitCode, 0u);
    EXPECT_EQ(cancel.errors + clear.errors + printWords.errors + printNoLineEnd.errors + prompt.errors, "");
    EXPECT_EQ(console.dump(), std::string("abc defghi\n") + PROMPT);
}

TEST(KorvaneStream, PrintWhileThePromptIsOpenJoinsTheCommandBeingTyped) {
    ConsoleSession& console = freshConsole();
    ToolRun print;
    EXPECT_EQ(runTool(print, {"print", "-n", "add 2 "}).exitCode, 0u);
    ASSERT_TRUE(console.command("3"));
    EXPECT_EQ(console.dump(), std::string(PROMPT) + "add 2 3\n 2 + 3 = 5" + PROMPT);
}

TEST(KorvaneStream, HelpListsTheVerbsAndStatusesAndMistakesAreUsageErrors) {
    ToolRun help, unknown, badTimeout;
    EXPECT_EQ(runTool(help, {"--help"}).exitCode, 0u);
    for (const char* word : {"print [-n] TEXT", "print -", "readline", "pause", "prompt", "cancel", "clear", "exec",
                             "--timeout", "119", "120", "121", "122", "123", "124", "125", "126"})
        EXPECT_NE(help.output.find(word), std::string::npos) << word;
    EXPECT_EQ(runTool(unknown, {"shout", "x"}).exitCode, EXIT_USAGE);
    EXPECT_EQ(withoutCarriageReturns(unknown.errors),
              "korvane-stream: unknown verb \"shout\" (korvane-stream --help lists the verbs)\n");
    EXPECT_EQ(runTool(badTimeout, {"readline", "--timeout", "soon"}).exitCode, EXIT_USAGE);
}

// Also while another script prints into the line being typed.
TEST(KorvaneStream, ReadlinePrintsExactlyTheTypedBytes) {
    ConsoleSession& console = freshConsole();
    const std::string typed = "Mixed Case 1! \\ tab\there;";
    ToolRun readline, print;
    {
        ClientWindowAside aside(console.client);
        ASSERT_TRUE(readline.start({"readline"}));
        ASSERT_TRUE(readline.waitUntilWaiting(TOOL_MS));
        ASSERT_TRUE(console.client.type(typed.substr(0, 6)));
        EXPECT_EQ(runTool(print, {"print", "-n", "[other]"}).exitCode, 0u);
        ASSERT_TRUE(console.client.type(typed.substr(6)));
        ASSERT_TRUE(console.client.key(KEY_ENTER));
        ASSERT_TRUE(readline.finish(TOOL_MS));
    }
    EXPECT_EQ(readline.exitCode, 0u);
    EXPECT_EQ(readline.output, typed + "\n");
    ASSERT_TRUE(console.client.prompt());
    // The other script's print stands above the line, which stays where it
    // was typed; the tool ends it with a line break.
    EXPECT_EQ(console.dump(), std::string("\n[other]") + PROMPT + typed + "\n" + PROMPT);
}

TEST(KorvaneStream, ReadlineThatTimesOutLeavesAPromptOnWhichACommandRuns) {
    ConsoleSession& console = freshConsole();
    ToolRun readline;
    {
        ClientWindowAside aside(console.client);
        runTool(readline, {"readline", "--timeout", "0.5"});
    }
    EXPECT_EQ(readline.exitCode, EXIT_TIMED_OUT);
    EXPECT_EQ(readline.output, "");
    EXPECT_EQ(withoutCarriageReturns(readline.errors), "korvane-stream: readline: no line within 0.5 s\n");
    ASSERT_TRUE(console.command("add 2 3"));
    std::string line;
    EXPECT_FALSE(console.client.waitLine(line, 200)) << "the line request was left pending";
    EXPECT_EQ(console.dump(), std::string(PROMPT) + PROMPT + "add 2 3\n 2 + 3 = 5" + PROMPT);
}

TEST(KorvaneStream, PauseEndsOnAKeyAndATimedOutPauseEatsNoKey) {
    ConsoleSession& console = freshConsole();
    ToolRun pause, timedOut;
    ASSERT_TRUE(console.client.cancel());
    {
        ClientWindowAside aside(console.client);
        ASSERT_TRUE(pause.start({"pause"}));
        ASSERT_TRUE(pause.waitUntilWaiting(TOOL_MS));
        ASSERT_TRUE(console.client.key('A'));
        ASSERT_TRUE(pause.finish(TOOL_MS));
        runTool(timedOut, {"pause", "--timeout", "0.5"});
    }
    EXPECT_EQ(pause.exitCode, 0u);
    EXPECT_EQ(timedOut.exitCode, EXIT_TIMED_OUT);
    EXPECT_EQ(withoutCarriageReturns(timedOut.errors), "korvane-stream: pause: no key within 0.5 s\n");
    ASSERT_TRUE(console.client.prompt());
    ASSERT_TRUE(console.command("add 1 2"));
    EXPECT_EQ(console.dump(), std::string("\n") + PAUSE_LINE + PAUSE_LINE + PROMPT + "add 1 2\n 1 + 2 = 3" + PROMPT);
}

TEST(KorvaneStream, PrintDashSendsEachPieceAsItArrives) {
    ConsoleSession& console = freshConsole();
    ASSERT_TRUE(console.client.cancel());
    ASSERT_TRUE(console.client.clear());
    ToolRun print;
    ASSERT_TRUE(print.start({"print", "-"}));
    ASSERT_TRUE(print.writeInput("first piece\r"));  // its CR LF is split across two pieces
    ASSERT_TRUE(waitForPrinted("first piece", TOOL_MS)) << "the first piece was not printed before the input ended";
    ASSERT_TRUE(print.writeInput("\nsecond\r\npiece"));
    ASSERT_TRUE(waitForPrinted("second\npiece", TOOL_MS));
    ASSERT_TRUE(print.writeInput(" and the end\r\n"));
    ASSERT_TRUE(print.finish(TOOL_MS));
    EXPECT_EQ(print.exitCode, 0u);
    ASSERT_TRUE(console.client.prompt());
    EXPECT_EQ(console.dump(), std::string("first piece\nsecond\npiece and the end\n") + PROMPT);
}

TEST(KorvaneStream, WithoutAConsoleEachVerbSaysSoWithItsStatus) {
    endSharedConsole();
    const std::vector<std::vector<std::string>> runs = {{"print", "x"}, {"readline"}, {"exec", "line-program", "nothing"}};
    for (const auto& arguments : runs) {
        SCOPED_TRACE(arguments[0]);
        ToolRun run;
        runTool(run, arguments);
        EXPECT_EQ(run.exitCode, EXIT_NO_CONSOLE);
        EXPECT_EQ(withoutCarriageReturns(run.errors),
                  "korvane-stream: console: no Korvane console is running (no window of class and title Korvane)\n");
    }
}

TEST(KorvaneStreamExec, EchoesTypedLinesAndExitsWithTheProgramsStatus) {
    ConsoleSession& console = freshConsole();
    ToolRun exec;
    {
        ClientWindowAside aside(console.client);
        ASSERT_TRUE(exec.start({"exec", "line-program", "echo"}));
        ASSERT_TRUE(exec.waitUntilWaiting(TOOL_MS));
        ASSERT_TRUE(console.command("hello"));
        ASSERT_TRUE(waitForPrinted("echo: hello", TOOL_MS));
        ASSERT_TRUE(console.command("quit"));
        ASSERT_TRUE(exec.finish(TOOL_MS));
    }
    EXPECT_EQ(exec.exitCode, 3u);
    EXPECT_EQ(exec.errors, "");
    // Each typed line is followed by a line break; the program's output never
    // came back to it as input; the prompt follows the last line without an
    // empty line.
    EXPECT_EQ(console.dump(), std::string("\nhello\necho: hello\nquit") + PROMPT);
}

TEST(KorvaneStreamExec, AMegabyteAtOnceThenALastLineAllReachTheConsole) {
    ConsoleSession& console = freshConsole();
    ToolRun exec;
    {
        ClientWindowAside aside(console.client);
        runTool(exec, {"exec", "line-program", "bulk", "1"});
    }
    EXPECT_EQ(exec.exitCode, 0u);
    const std::string buffer = console.dump();
    const std::string tail = ".\nlast line" + std::string(PROMPT);
    ASSERT_GE(buffer.size(), tail.size());
    EXPECT_EQ(buffer.substr(buffer.size() - tail.size()), tail);
    EXPECT_EQ(buffer.find('\r'), std::string::npos) << "CR LF must become a single line break";
    // The newest whole lines of the megabyte are kept, numbered in order.
    const std::size_t last = buffer.rfind("bulk line ");
    ASSERT_NE(last, std::string::npos);
    EXPECT_EQ(buffer.substr(last, 20), "bulk line 000016382 ");  // 16383 lines of 64 bytes, then the dots
}

TEST(KorvaneStreamExec, AProgramEndingWithoutALineEndGetsThePromptBelowIt) {
    ConsoleSession& console = freshConsole();
    ToolRun exec;
    {
        ClientWindowAside aside(console.client);
        runTool(exec, {"exec", "line-program", "partial"});
    }
    EXPECT_EQ(exec.exitCode, 5u);
    EXPECT_EQ(console.dump(), std::string("\nthe end without a line end") + PROMPT);
}

TEST(KorvaneStreamExec, AQuestionWithoutALineEndIsOnScreenBeforeTheAnswer) {
    ConsoleSession& console = freshConsole();
    ToolRun exec;
    {
        ClientWindowAside aside(console.client);
        ASSERT_TRUE(exec.start({"exec", "line-program", "ask"}));
        ASSERT_TRUE(waitForPrinted("what is your name? ", TOOL_MS)) << "the question did not come before the answer";
        ASSERT_TRUE(console.command("bob"));
        ASSERT_TRUE(exec.finish(TOOL_MS));
    }
    EXPECT_EQ(exec.exitCode, 0u);
    EXPECT_EQ(console.dump(), std::string("\nwhat is your name? bob\nhello, bob") + PROMPT);
}

TEST(KorvaneStreamExec, EndingWhileALineIsTypedLeavesAPromptThatRunsCommands) {
    ConsoleSession& console = freshConsole();
    DeleteFileA("exec_stop");
    ToolRun exec;
    {
        ClientWindowAside aside(console.client);
        ASSERT_TRUE(exec.start({"exec", "line-program", "wait", "exec_pid", "exec_stop"}));
        ASSERT_TRUE(waitForPrinted("waiting", TOOL_MS));
        ASSERT_TRUE(console.client.type("half"));
        ASSERT_TRUE(writeWholeFile("exec_stop", "stop"));
        ASSERT_TRUE(exec.finish(TOOL_MS));
    }
    EXPECT_EQ(exec.exitCode, 0u);
    ASSERT_TRUE(console.command("add 2 3"));
    std::string line;
    EXPECT_FALSE(console.client.waitLine(line, 200)) << "the command went to a line request left pending";
    EXPECT_EQ(console.dump(), std::string("\nwaiting\nhalf") + PROMPT + "add 2 3\n 2 + 3 = 5" + PROMPT);
    DeleteFileA("exec_stop");
}

TEST(KorvaneStreamExec, AProgramThatDoesNotExistIsReportedAndThePromptWorks) {
    ConsoleSession& console = freshConsole();
    ToolRun exec;
    {
        ClientWindowAside aside(console.client);
        runTool(exec, {"exec", "no-such-program", "x"});
    }
    EXPECT_EQ(exec.exitCode, EXIT_NOT_STARTED);
    EXPECT_EQ(withoutCarriageReturns(exec.errors).rfind("korvane-stream: exec: cannot start no-such-program: ", 0), 0u)
        << exec.errors;
    ASSERT_TRUE(console.command("add 2 3"));
    const std::string buffer = console.dump();
    const std::string head = "\n\n[error] - could not start the program no-such-program: ";
    EXPECT_EQ(buffer.rfind(head, 0), 0u) << buffer;
    const std::string tail = std::string(PROMPT) + "add 2 3\n 2 + 3 = 5" + PROMPT;
    ASSERT_GE(buffer.size(), tail.size());
    EXPECT_EQ(buffer.substr(buffer.size() - tail.size()), tail);
}

// Several scripts at once, and Ctrl+C.

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(KorvaneStreamExec, ProgressLinesUpdateInPlaceAndColoursVanishUnlessRaw) {
    ConsoleSession& console = freshConsole();
    ToolRun exec, raw, print;
    {
        ClientWindowAside aside(console.client);
        runTool(exec, {"exec", "line-program", "progress"});
    }
    EXPECT_EQ(exec.exitCode, 0u);
    EXPECT_EQ(console.dump(), std::string("\n100%") + PROMPT);
    ASSERT_TRUE(console.reset());
    {
        ClientWindowAside aside(console.client);
        runTool(raw, {"exec", "--raw", "line-program", "progress"});
    }
    EXPECT_EQ(console.dump(), std::string("\n10%\r50%\r\x1b[32m100%\x1b[0m") + PROMPT);

    ASSERT_TRUE(console.client.cancel());
    ASSERT_TRUE(console.client.clear());
    ASSERT_TRUE(print.start({"print", "--terminal", "-"}));
    ASSERT_TRUE(print.writeInput("step 1\r\x1b["));  // the sequence ends in the next piece
    ASSERT_TRUE(waitForPrinted("step 1", TOOL_MS));
    ASSERT_TRUE(print.writeInput("1mstep 2\x1b[0m\x1b]0;title\x07\n"));
    ASSERT_TRUE(print.finish(TOOL_MS));
    EXPECT_EQ(print.exitCode, 0u);
    ASSERT_TRUE(console.client.prompt());
    EXPECT_EQ(console.dump(), std::string("step 2\n") + PROMPT);
}

// The console host prints a character at a time: once a print held the
// text, the stream file falls quiet when the program waits.
bool waitForQuietPrints(const std::string& text, unsigned timeoutMs) {
    const DWORD start = GetTickCount();
    std::string last;
    DWORD since = start;
    bool seen = false;
    while (GetTickCount() - start < timeoutMs) {
        const std::string now = readWholeFile(STREAM_OUT_PATH);
        seen = seen || now.find(text) != std::string::npos;
        if (now != last) {
            last = now;
            since = GetTickCount();
        } else if (seen && GetTickCount() - since >= 500) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

TEST(KorvaneStreamExec, OnAPseudoConsoleTheProgramSeesATerminalAndItsPromptComesBeforeTheAnswer) {
    ConsoleSession& console = freshConsole();
    ToolRun exec;
    {
        ClientWindowAside aside(console.client);
        ASSERT_TRUE(exec.start({"exec", "--console", "line-program", "tty"}));
        // "name? " ends in a blank, which the console host writes as erase
        // in line and cursor forward.
        ASSERT_TRUE(waitForQuietPrints("\x1b[1C", TOOL_MS));
        ASSERT_TRUE(console.command("bob"));
        ASSERT_TRUE(exec.finish(TOOL_MS));
    }
    EXPECT_EQ(exec.exitCode, 0u) << exec.errors;
    // The program's question is in front of the answer: it was shown first.
    EXPECT_EQ(console.dump(), std::string("\nisatty 1, console mode 1\nname? bob\nhello, bob") + PROMPT);
}

TEST(KorvaneStreamExec, OnAPseudoConsoleCtrlCReachesAProgramThatCatchesIt) {
    ConsoleSession& console = freshConsole();
    ToolRun exec;
    {
        ClientWindowAside aside(console.client);
        ASSERT_TRUE(exec.start({"exec", "--console", "line-program", "ctrlc"}));
        ASSERT_TRUE(waitForQuietPrints("\n", TOOL_MS));
        ASSERT_TRUE(console.client.controlKey('C'));
        ASSERT_TRUE(exec.finish(TOOL_MS));
    }
    EXPECT_EQ(exec.exitCode, 0u) << "status 9: the program saw no Ctrl+C";
    EXPECT_EQ(console.dump(), std::string("\nready\ncaught Ctrl+C") + PROMPT);
}

TEST(KorvaneStreamTogether, SixteenPrintsAtOnceShowEachLineOnce) {
    ConsoleSession& console = freshConsole();
    ASSERT_TRUE(console.client.cancel());
    ToolRun prints[16];
    for (int i = 0; i < 16; ++i) ASSERT_TRUE(prints[i].start({"print", "line " + std::to_string(100 + i)}));
    for (ToolRun& print : prints) {
        ASSERT_TRUE(print.finish(TOOL_MS));
        EXPECT_EQ(print.exitCode, 0u) << print.errors;
    }
    ASSERT_TRUE(console.client.prompt());
    const std::string buffer = console.dump();
    for (int i = 0; i < 16; ++i) EXPECT_EQ(occurrences(buffer, "line " + std::to_string(100 + i) + "\n"), 1u) << buffer;
    EXPECT_EQ(buffer.size(), 1 + 16 * std::string("line 100\n").size() + std::string(PROMPT).size()) << buffer;
}

// While exec runs: another script's print goes in among the program's output
// and never reaches its input; a readline started meanwhile waits for the
// program to end before it asks for its line, and one whose --timeout runs
// out first touches nothing.
TEST(KorvaneStreamTogether, ExecKeepsOthersPrintsOutOfItsInputAndReadlineWaitsItsTurn) {
    ConsoleSession& console = freshConsole();
    ToolRun exec, print, readline, impatient;
    {
        ClientWindowAside aside(console.client);
        ASSERT_TRUE(exec.start({"exec", "line-program", "echo"}));
        ASSERT_TRUE(exec.waitUntilWaiting(TOOL_MS));
        ASSERT_TRUE(readline.start({"readline"}));
        EXPECT_EQ(runTool(impatient, {"readline", "--timeout", "0.5"}).exitCode, EXIT_TIMED_OUT);
        EXPECT_EQ(runTool(print, {"print", "news from another script"}).exitCode, 0u) << print.errors;
        ASSERT_TRUE(waitForPrinted("\n", TOOL_MS));  // the line break after it, which exec owes
        ASSERT_TRUE(console.command("hello"));
        ASSERT_TRUE(waitForPrinted("echo: hello", TOOL_MS));
        ASSERT_TRUE(console.command("quit"));
        ASSERT_TRUE(exec.finish(TOOL_MS));
        ASSERT_TRUE(readline.waitUntilWaiting(TOOL_MS));
        ASSERT_TRUE(console.command("after"));
        ASSERT_TRUE(readline.finish(TOOL_MS));
    }
    EXPECT_EQ(exec.exitCode, 3u);
    EXPECT_EQ(readline.exitCode, 0u);
    EXPECT_EQ(readline.output, "after\n");
    EXPECT_EQ(withoutCarriageReturns(impatient.errors),
              "korvane-stream: readline: another client kept the console for 0.5 s\n");
    ASSERT_TRUE(console.client.prompt());
    EXPECT_EQ(console.dump(),
              std::string("\nnews from another script\nhello\necho: hello\nquit") + PROMPT + "after\n" + PROMPT);
}

TEST(KorvaneStreamTogether, AClientKilledInItsTurnDoesNotBlockTheNext) {
    ConsoleSession& console = freshConsole();
    ToolRun killed, next, print;
    {
        ClientWindowAside aside(console.client);
        ASSERT_TRUE(killed.start({"readline"}));
        ASSERT_TRUE(killed.waitUntilWaiting(TOOL_MS));
        killed.finish(0);  // ended while it holds the turn for notifications
        ASSERT_TRUE(next.start({"readline", "--timeout", "10"}));
        ASSERT_TRUE(next.waitUntilWaiting(TOOL_MS));
        ASSERT_TRUE(console.command("next"));
        ASSERT_TRUE(next.finish(TOOL_MS));
    }
    EXPECT_EQ(next.exitCode, 0u) << next.errors;
    EXPECT_EQ(next.output, "next\n");
    // A thread that ends holding the exchange leaves it abandoned, as a killed
    // client does.
    HANDLE exchange = CreateMutexA(nullptr, FALSE, EXCHANGE_MUTEX_NAME);
    ASSERT_NE(exchange, nullptr);
    std::thread([exchange] { WaitForSingleObject(exchange, INFINITE); }).join();
    EXPECT_EQ(runTool(print, {"--timeout", "5", "print", "printed"}).exitCode, 0u) << print.errors;
    CloseHandle(exchange);
}

TEST(KorvaneStreamTogether, CtrlCStopsExecsProgramAndReadlineAndTheConsoleGoesOn) {
    ConsoleSession& console = freshConsole();
    DeleteFileA("ctrlc_pid");
    ToolRun exec, readline;
    HANDLE program = nullptr;
    {
        ClientWindowAside aside(console.client);
        ASSERT_TRUE(exec.start({"exec", "line-program", "wait", "ctrlc_pid", "ctrlc_never"}));
        ASSERT_TRUE(waitForPrinted("waiting", TOOL_MS));
        program = OpenProcess(SYNCHRONIZE, FALSE,
                              static_cast<DWORD>(std::strtoul(readWholeFile("ctrlc_pid").c_str(), nullptr, 10)));
        ASSERT_TRUE(console.client.controlKey('C'));
        ASSERT_TRUE(exec.finish(TOOL_MS));
        ASSERT_TRUE(readline.start({"readline"}));
        ASSERT_TRUE(readline.waitUntilWaiting(TOOL_MS));
        ASSERT_TRUE(console.client.type("ab"));
        ASSERT_TRUE(console.client.controlKey('C'));
        ASSERT_TRUE(readline.finish(TOOL_MS));
    }
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(WaitForSingleObject(program, 5000), WAIT_OBJECT_0) << "the program outlived Ctrl+C";
    CloseHandle(program);
    EXPECT_EQ(exec.exitCode, EXIT_INTERRUPTED);
    EXPECT_EQ(readline.exitCode, EXIT_INTERRUPTED);
    EXPECT_EQ(readline.output, "");
    ASSERT_TRUE(console.command("add 2 3"));
    EXPECT_EQ(console.dump(),
              std::string("\nwaiting\n^C") + PROMPT + "ab^C" + PROMPT + "add 2 3\n 2 + 3 = 5" + PROMPT);
}

TEST(KorvaneStreamExec, EscapeEndsTheConsoleAndTheProgramWithIt) {
    ConsoleSession& console = freshConsole();
    DeleteFileA("escape_pid");
    DeleteFileA("escape_stop");
    ToolRun exec;
    ClientWindowAside aside(console.client);
    ASSERT_TRUE(exec.start({"exec", "line-program", "wait", "escape_pid", "escape_stop"}));
    ASSERT_TRUE(waitForPrinted("waiting", TOOL_MS));
    const DWORD programId = static_cast<DWORD>(std::strtoul(readWholeFile("escape_pid").c_str(), nullptr, 10));
    HANDLE program = OpenProcess(SYNCHRONIZE, FALSE, programId);
    ASSERT_NE(program, nullptr);
    ASSERT_TRUE(console.client.key(KEY_ESCAPE));
    ASSERT_TRUE(exec.finish(TOOL_MS));
    const bool programEnded = WaitForSingleObject(program, 5000) == WAIT_OBJECT_0;
    CloseHandle(program);
    EXPECT_EQ(exec.exitCode, EXIT_CONSOLE_GONE);
    EXPECT_EQ(withoutCarriageReturns(exec.errors),
              "korvane-stream: exec: the console went away; line-program was ended\n");
    EXPECT_TRUE(programEnded) << "the program outlived the console";
    unsigned long code = 99;
    EXPECT_TRUE(console.process.waitExit(WAIT_MS, code));
    endSharedConsole();
}

// Another script's cancel while a readline waits ends that readline with its
// status and message, cuts nothing, and leaves no request behind; while exec
// runs, exec keeps its line and nothing of the program's output is cut.
TEST(KorvaneStreamTogether, ACancelEndsAWaitingReadlineAndLeavesExecsLine) {
    ConsoleSession& console = freshConsole();
    ToolRun readline, cancel, exec, execCancel;
    ClientWindowAside aside(console.client);
    ASSERT_TRUE(readline.start({"readline"}) && readline.waitUntilWaiting(TOOL_MS) && console.client.type("ab"));
    EXPECT_EQ(runTool(cancel, {"cancel"}).exitCode, 0u) << cancel.errors;
    ASSERT_TRUE(readline.finish(TOOL_MS)) << "the cancelled readline kept waiting";
    EXPECT_EQ(readline.exitCode, EXIT_CANCELLED);
    EXPECT_EQ(readline.output, "");
    EXPECT_EQ(withoutCarriageReturns(readline.errors), "korvane-stream: readline: another client cancelled the line\n");
    ASSERT_TRUE(console.client.prompt());
    ASSERT_TRUE(console.command("add 2 3"));
    EXPECT_EQ(console.dump(), std::string(PROMPT) + "ab" + PROMPT + "add 2 3\n 2 + 3 = 5" + PROMPT);

    ASSERT_TRUE(console.client.cancel() && console.client.clear());
    ASSERT_TRUE(exec.start({"exec", "line-program", "ask"}) && waitForPrinted("what is your name? ", TOOL_MS));
    ASSERT_TRUE(console.client.type("bo"));
    EXPECT_EQ(runTool(execCancel, {"cancel"}).exitCode, 0u) << execCancel.errors;
    ASSERT_TRUE(console.command("b") && exec.finish(TOOL_MS));
    EXPECT_EQ(exec.exitCode, 0u);
    EXPECT_EQ(console.dump(), std::string("what is your name? bob\nhello, bob") + PROMPT);
}

// A readline run by the program of an exec ends at once with its status
// instead of waiting for the turn that exec holds.
TEST(KorvaneStreamTogether, AReadlineUnderExecEndsAtOnce) {
    ConsoleSession& console = freshConsole();
    ToolRun exec;
    ClientWindowAside aside(console.client);
    EXPECT_EQ(runTool(exec, {"exec", "korvane-stream", "readline"}).exitCode, EXIT_TIMED_OUT);
    const std::string buffer = console.dump();
    EXPECT_NE(buffer.find("readline: the console's input belongs to the running exec"), std::string::npos) << buffer;
}

// A Ctrl+C typed at the prompt earlier does not make a later 'c' typed for a
// waiting readline Ctrl+C.
TEST(KorvaneStreamTogether, AnEarlierControlPressLeavesALaterCAPlainC) {
    ConsoleSession& console = freshConsole();
    ToolRun readline;
    ClientWindowAside aside(console.client);
    ASSERT_TRUE(console.client.controlKey('C') && console.client.key(KEY_BACKSPACE));  // no client waits: a "c"
    Sleep(300);
    ASSERT_TRUE(readline.start({"readline"}));
    ASSERT_TRUE(readline.waitUntilWaiting(TOOL_MS));
    ASSERT_TRUE(console.client.type("c") && console.client.key(KEY_ENTER));
    ASSERT_TRUE(readline.finish(TOOL_MS));
    EXPECT_EQ(readline.exitCode, 0u) << readline.errors;
    EXPECT_EQ(readline.output, "c\n");
}

// --timeout is one deadline for the turn, the exchange and the user together.
TEST(KorvaneStreamTogether, ReadlineEndsWithinItsTimeoutWhateverItWaitsFor) {
    ConsoleSession& console = freshConsole();
    ToolRun readline;
    ClientWindowAside aside(console.client);
    std::atomic<int> held{0};
    auto hold = [&held](const char* name, DWORD ms) {
        HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
        WaitForSingleObject(mutex, INFINITE);
        ++held;
        Sleep(ms);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    };
    std::thread turn(hold, NOTIFICATION_MUTEX_NAME, 2500), exchange(hold, EXCHANGE_MUTEX_NAME, 8000);
    while (held < 2) Sleep(10);
    const DWORD start = GetTickCount();
    EXPECT_EQ(runTool(readline, {"readline", "--timeout", "3"}).exitCode, EXIT_TIMED_OUT);
    EXPECT_LT(GetTickCount() - start, 4500u) << "the turn, then the exchange, each waited the whole timeout";
    turn.join();
    exchange.join();
}

// A client killed while it waits for a line or for the end of its pause: the
// line still goes to the stream file and the pause still ends, and then the
// prompt comes back so that commands run.
TEST(KorvaneStreamTogether, AKilledReadlineOrPauseLeavesAPromptThatRunsCommands) {
    ConsoleSession& console = freshConsole();
    ToolRun readline, pause;
    ClientWindowAside aside(console.client);
    ASSERT_TRUE(readline.start({"readline"}) && readline.waitUntilWaiting(TOOL_MS));
    readline.finish(0);
    ASSERT_TRUE(console.command("gone"));
    EXPECT_EQ(readWholeFile(STREAM_IN_PATH), "gone");
    ASSERT_TRUE(console.client.cancel() && pause.start({"pause"}) && pause.waitUntilWaiting(TOOL_MS));
    pause.finish(0);
    ASSERT_TRUE(console.client.key('A') && console.command("add 2 3"));
    EXPECT_EQ(console.dump(),
              std::string(PROMPT) + "gone\n" + PAUSE_LINE + PROMPT + "add 2 3\n 2 + 3 = 5" + PROMPT);
}

}  // namespace
