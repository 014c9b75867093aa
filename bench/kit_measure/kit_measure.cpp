// kit-measure: figures of the client kit against a real console, each beside
// a reference timed in the same run. Printed, never asserted.
//   (a) korvane-stream print of a short text, process start included,
//       against starting a program that does nothing;
//   (b) a bare WM_NULL round trip to the console against the same round trip
//       to an idle window of a third process (idle-window); a one-line
//       WM_BRIDGE_PRINT with its file written against writing the file plus
//       that idle round trip; the library's print call against writing the
//       stream file alone. Each pair in alternating blocks of 50 calls, the
//       median block of each, so that a busy machine slows both alike;
//   (c) exec of a program that builds MB megabytes first and writes them in
//       writes of 64 KB, from process start to end, against the same program
//       read through a plain pipe by pipe-reader, at 1, 5 and 10 MB (cost
//       against size), the best of three alternating runs of each;
//   (d) the bridge print of a 10 MB stream file against reading the file.
// It starts the console beside itself and ends it with Escape.
// Usage: kit-measure [ROUNDS]
//        kit-measure terminal   only the figures of exec's output modes:
//   (e) exec (terminal prints) of 10 MB against exec --raw of the same;
//   (f) exec --console of 1 MB written in 64 KB blocks with WriteFile
//       against exec of the same over pipes; the best of three alternating
//       runs of each.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/measure_support.h"
#include "bridge/bridge.h"
#include "client/bridge_client.h"
#include "client/command_line.h"
#include "client/console_process.h"
#include "client/key_map.h"
#include "client/stream_files.h"
#include "client/window_search.h"

namespace {

// Runs a program of this folder to its end, output discarded; its seconds
// from the start to the end, or -1 when it failed.
double timedRun(const std::vector<std::string>& words) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = nul;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::vector<std::string> full = words;
    full[0] = programFolder() + full[0];
    std::string line = joinCommandLine(full);
    PROCESS_INFORMATION info = {};
    const double start = secondsNow();
    if (!CreateProcessA(full[0].c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        CloseHandle(nul);
        return -1;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    const double seconds = secondsNow() - start;
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    CloseHandle(nul);
    return code == 0 ? seconds : -1;
}

double meanRun(const std::vector<std::string>& words, int rounds) {
    double total = 0;
    for (int i = 0; i < rounds; ++i) {
        const double seconds = timedRun(words);
        if (seconds < 0) return -1;
        total += seconds;
    }
    return total / rounds;
}

// The process's window of the class; with a timeout, waits for it.
HWND windowOf(const char* className, unsigned long processId, unsigned timeoutMs) {
    WindowQuery query;
    query.className = className;
    query.processId = processId;
    return static_cast<HWND>(timeoutMs == 0 ? findTopWindow(query) : waitForTopWindow(query, timeoutMs));
}

bool roundTrip(HWND window, UINT message) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, 0, 0, SMTO_NORMAL, 120000, &result) != 0;
}

// Seconds per call of two operations, timed in alternating blocks: the
// median block of each, so that a burst of load from other work on the
// machine moves neither figure far.
struct PairTimes {
    double first = 0, second = 0;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

template <typename First, typename Second>
PairTimes alternate(int blocks, int callsPerBlock, First first, Second second) {
    std::vector<double> firstTimes, secondTimes;
    for (int block = 0; block < blocks; ++block) {
        double start = secondsNow();
        for (int i = 0; i < callsPerBlock; ++i) first();
        firstTimes.push_back((secondsNow() - start) / callsPerBlock);
        start = secondsNow();
        for (int i = 0; i < callsPerBlock; ++i) second();
        secondTimes.push_back((secondsNow() - start) / callsPerBlock);
    }
    return {median(firstTimes), median(secondTimes)};
}

void report(const char* figure, double value, const char* unit, const char* reference, double referenceValue) {
    std::printf("figure: %s = %.4g %s | reference: %s = %.4g %s\n", figure, value, unit, reference, referenceValue,
                unit);
    std::fflush(stdout);
}

// The best of three alternating runs of two command lines, in seconds.
PairTimes bestOfThree(const std::vector<std::string>& first, const std::vector<std::string>& second) {
    PairTimes best = {-1, -1};
    for (int run = 0; run < 3; ++run) {
        const double a = timedRun(first);
        const double b = timedRun(second);
        if (a > 0 && (best.first < 0 || a < best.first)) best.first = a;
        if (b > 0 && (best.second < 0 || b < best.second)) best.second = b;
    }
    return best;
}

void terminalFigures() {
    const struct {
        const char* figure;
        const char* reference;
        const char* megabytes;
        const char* mode;  // of the figure; the reference runs exec with `referenceMode`
        const char* referenceMode;
    } pairs[] = {
        {"exec (terminal prints), 10 MB in 64 KB writes", "exec --raw, same program", "10", nullptr, "--raw"},
        {"exec --console, 1 MB in 64 KB writes", "exec over pipes, same program", "1", "--console", nullptr},
    };
    for (const auto& pair : pairs) {
        std::vector<std::string> figure = {"korvane-stream.exe", "exec"};
        std::vector<std::string> reference = figure;
        if (pair.mode) figure.push_back(pair.mode);
        if (pair.referenceMode) reference.push_back(pair.referenceMode);
        for (auto* words : {&figure, &reference})
            words->insert(words->end(), {"line-program.exe", "prebuilt", pair.megabytes, "64"});
        const PairTimes times = bestOfThree(figure, reference);
        const double mb = std::atof(pair.megabytes) + 10.0 / (1024 * 1024);
        if (times.first > 0 && times.second > 0) {
            report(pair.figure, mb / times.first, "MB/s", pair.reference, mb / times.second);
            std::printf("seconds, best of 3: %.3f s against %.3f s\n", times.first, times.second);
        } else {
            std::printf("figure: %s failed (%.3f s, %.3f s)\n", pair.figure, times.first, times.second);
        }
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool terminalOnly = argc > 1 && std::string(argv[1]) == "terminal";
    const int rounds = argc > 1 && !terminalOnly ? std::atoi(argv[1]) : 20;
    ConsoleProcess console;
    BridgeClient client;
    if (!console.start(programFolder() + "korvane.exe", "kit-measure-console.stdout") ||
        !client.findConsole(20000, console.id())) {
        std::fprintf(stderr, "kit-measure: the console did not start\n");
        return 1;
    }
    client.setReplyTimeout(120000);
    client.cancel();
    if (terminalOnly) {
        terminalFigures();
        client.prompt();
        client.key(KEY_ESCAPE);
        unsigned long code = 0;
        console.waitExit(10000, code);
        DeleteFileA(STREAM_OUT_PATH);
        return 0;
    }

    // (a) process start included.
    const double nothing = meanRun({"line-program.exe", "nothing"}, rounds);
    const double printRun = meanRun({"korvane-stream.exe", "print", "a short text"}, rounds);
    report("korvane-stream print, short text, process start included", printRun * 1e3, "ms",
           "start of a program that does nothing", nothing * 1e3);

    // (b) round trips and one-line prints, against an idle window of a third
    // process.
    ConsoleProcess idle;
    HWND idleWindow = nullptr;
    HWND consoleWindow = windowOf(CONSOLE_WINDOW_CLASS, console.id(), 0);
    if (idle.start(programFolder() + "idle-window.exe")) idleWindow = windowOf("korvane_idle_window", idle.id(), 20000);
    if (!idleWindow || !consoleWindow) {
        std::printf("figure: round trips failed (no %s window)\n", idleWindow ? "console" : "idle");
    } else {
        const std::string line = "a short line of client output, sixty characters in all....\n";
        const int blocks = rounds * 4;
        const PairTimes trips = alternate(
            blocks, 50, [&] { roundTrip(consoleWindow, WM_NULL); }, [&] { roundTrip(idleWindow, WM_NULL); });
        report("WM_NULL round trip to the console", trips.first * 1e6, "us",
               "the same to an idle window of a third process", trips.second * 1e6);
        const PairTimes prints = alternate(
            blocks, 50, [&] { writeStreamOut(line) && roundTrip(consoleWindow, WM_BRIDGE_PRINT); },
            [&] { writeStreamOut(line) && roundTrip(idleWindow, WM_NULL); });
        report("one-line WM_BRIDGE_PRINT with its file written", prints.first * 1e6, "us",
               "writing the file and a WM_NULL round trip to the idle window", prints.second * 1e6);
        std::printf("one-line prints: %.0f a second\n", 1.0 / prints.first);
        const PairTimes library = alternate(
            blocks, 50, [&] { client.print("a short text\n"); }, [&] { writeStreamOut("a short text\n"); });
        report("library print call, short text, per call", library.first * 1e6, "us", "writing c:\\stream.o alone",
               library.second * 1e6);
        PostMessageA(idleWindow, WM_CLOSE, 0, 0);
        unsigned long idleCode = 0;
        if (!idle.waitExit(5000, idleCode)) idle.terminate();
    }

    // (c) exec against a plain pipe reader, at three sizes; the writer has
    // its whole output ready, so the pipe and its reader set the pace.
    for (const char* megabytes : {"1", "5", "10"}) {
        const double mb = std::atof(megabytes) + 10.0 / (1024 * 1024);  // and "last line"
        double piped = -1, hosted = -1;
        for (int run = 0; run < 3; ++run) {
            const double pipe = timedRun({"pipe-reader.exe", "line-program.exe", "prebuilt", megabytes, "64"});
            const double exec =
                timedRun({"korvane-stream.exe", "exec", "line-program.exe", "prebuilt", megabytes, "64"});
            if (pipe > 0 && (piped < 0 || pipe < piped)) piped = pipe;
            if (exec > 0 && (hosted < 0 || exec < hosted)) hosted = exec;
        }
        const std::string figure = std::string("exec throughput, ") + megabytes + " MB in 64 KB writes";
        if (piped > 0 && hosted > 0) {
            report(figure.c_str(), mb / hosted, "MB/s", "plain pipe reader, same program", mb / piped);
            std::printf("seconds, best of 3: exec %.3f s, pipe reader %.3f s, %s MB\n", hosted, piped, megabytes);
        } else {
            std::printf("figure: %s failed (exec %.3f, pipe %.3f)\n", figure.c_str(), hosted, piped);
        }
        std::fflush(stdout);
    }

    // (d) the bridge print of a 10 MB file.
    const std::string text = numberedText(10u * 1024 * 1024);
    const double mb = static_cast<double>(text.size()) / (1024.0 * 1024.0);
    writeStreamOut(text);
    double start = secondsNow();
    std::string back;
    std::FILE* file = std::fopen(STREAM_OUT_PATH, "rb");
    if (file) {
        char chunk[65536];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) back.append(chunk, n);
        std::fclose(file);
    }
    const double readSeconds = secondsNow() - start;
    start = secondsNow();
    client.printFile();
    const double printSeconds = secondsNow() - start;
    report("bridge print of a 10 MB file", mb / printSeconds, "MB/s", "reading the file in the client",
           mb / readSeconds);

    client.prompt();
    client.key(KEY_ESCAPE);
    unsigned long code = 0;
    console.waitExit(10000, code);
    DeleteFileA(STREAM_OUT_PATH);
    return 0;
}
