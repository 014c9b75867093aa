// kit-measure: figures of the client kit against a real console, each beside
// a reference timed in the same run. Printed, never asserted.
//   (a) korvane-stream print of a short text, process start included,
//       against starting a program that does nothing;
//   (b) the library's print call alone, per call, against a bare message
//       round trip to the console (which answers between its frames) and
//       against writing the stream file;
//   (c) exec of a program that writes MB megabytes in writes of 1 MB, from
//       process start to end, against the same program read through a plain
//       pipe by pipe-reader, at 1, 5 and 10 MB (cost against size);
//   (d) the bridge print of a 10 MB stream file against reading the file.
// It starts the console beside itself and ends it with Escape.
// Usage: kit-measure [ROUNDS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bridge/bridge.h"
#include "client/bridge_client.h"
#include "client/command_line.h"
#include "client/console_process.h"
#include "client/key_map.h"
#include "client/stream_files.h"

namespace {

double now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

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
    const double start = now();
    if (!CreateProcessA(full[0].c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &info)) {
        CloseHandle(nul);
        return -1;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    const double seconds = now() - start;
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

std::string numberedText(std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 64);
    char line[64];
    for (unsigned n = 0; text.size() < bytes; ++n) {
        std::snprintf(line, sizeof line, "stream line %09u of the measurement text\n", n);
        text += line;
    }
    return text;
}

void report(const char* figure, double value, const char* unit, const char* reference, double referenceValue) {
    std::printf("figure: %s = %.4g %s | reference: %s = %.4g %s\n", figure, value, unit, reference, referenceValue,
                unit);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
    ConsoleProcess console;
    BridgeClient client;
    if (!console.start(programFolder() + "korvane.exe", "kit-measure-console.stdout") ||
        !client.findConsole(20000, console.id())) {
        std::fprintf(stderr, "kit-measure: the console did not start\n");
        return 1;
    }
    client.setReplyTimeout(120000);
    client.cancel();

    // (a) process start included.
    const double nothing = meanRun({"line-program.exe", "nothing"}, rounds);
    const double printRun = meanRun({"korvane-stream.exe", "print", "a short text"}, rounds);
    report("korvane-stream print, short text, process start included", printRun * 1e3, "ms",
           "start of a program that does nothing", nothing * 1e3);

    // (b) the library's call alone.
    const int calls = rounds * 100;
    double start = now();
    for (int i = 0; i < calls; ++i) client.print("a short text\n");
    const double perCall = (now() - start) / calls;
    start = now();
    for (int i = 0; i < calls; ++i) writeStreamOut("a short text\n");
    const double perWrite = (now() - start) / calls;
    start = now();
    for (int i = 0; i < calls; ++i) client.sendMessage(0, 0, 0);  // WM_NULL
    const double perMessage = (now() - start) / calls;
    report("library print call, short text, per call", perCall * 1e6, "us", "a bare WM_NULL round trip to the console",
           perMessage * 1e6);
    report("library print call, short text, per call", perCall * 1e6, "us", "writing c:\\stream.o alone",
           perWrite * 1e6);

    // (c) exec against a plain pipe reader, at three sizes.
    for (const char* megabytes : {"1", "5", "10"}) {
        const double mb = std::atof(megabytes) + 10.0 / (1024 * 1024);  // and "last line"
        const double piped = timedRun({"pipe-reader.exe", "line-program.exe", "bulk", megabytes});
        const double hosted = timedRun({"korvane-stream.exe", "exec", "line-program.exe", "bulk", megabytes});
        const std::string figure = std::string("exec throughput, ") + megabytes + " MB in 1 MB writes";
        if (piped > 0 && hosted > 0) {
            report(figure.c_str(), mb / hosted, "MB/s", "plain pipe reader, same program", mb / piped);
            std::printf("seconds: exec %.3f s, pipe reader %.3f s, %s MB\n", hosted, piped, megabytes);
        } else {
            std::printf("figure: %s failed (exec %.3f, pipe %.3f)\n", figure.c_str(), hosted, piped);
        }
        std::fflush(stdout);
    }

    // (d) the bridge print of a 10 MB file.
    const std::string text = numberedText(10u * 1024 * 1024);
    const double mb = static_cast<double>(text.size()) / (1024.0 * 1024.0);
    writeStreamOut(text);
    start = now();
    std::string back;
    std::FILE* file = std::fopen(STREAM_OUT_PATH, "rb");
    if (file) {
        char chunk[65536];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) back.append(chunk, n);
        std::fclose(file);
    }
    const double readSeconds = now() - start;
    start = now();
    client.printFile();
    const double printSeconds = now() - start;
    report("bridge print of a 10 MB file", mb / printSeconds, "MB/s", "reading the file in the client",
           mb / readSeconds);

    client.prompt();
    client.key(KEY_ESCAPE);
    unsigned long code = 0;
    console.waitExit(10000, code);
    DeleteFileA(STREAM_OUT_PATH);
    return 0;
}
