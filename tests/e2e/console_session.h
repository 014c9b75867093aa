#pragma once
// A real korvane.exe driven through the bridge client, for the end-to-end
// tests. The buffer is read back exactly with the console's own dump command.
#include <string>

#include "client/bridge_client.h"
#include "client/console_process.h"

inline constexpr char PROMPT[] = "\ncmd=)> ";
inline constexpr char PAUSE_END_PROMPT[] = "\ncmd=)>";
inline constexpr char PAUSE_LINE[] = "\n Press any key to continue ...";
inline constexpr unsigned WAIT_MS = 10000;

class ConsoleSession {
public:
    // Starts the console beside this program; stdout to a file when named.
    bool start(const std::string& standardOutput = "");
    // Escape, then the exit code; -1 when the process did not end.
    long quit();

    // The buffer as the dump command writes it, without the typed dump line
    // at its end; needs an open input line with nothing typed yet. Returns a
    // text starting with "<dump failed>" when the file is not as expected.
    std::string dump();
    // Types a command line and Enter.
    bool command(const std::string& line);
    // Ends any pause, delivers any pending line request, then leaves the
    // buffer as one open prompt, PROMPT.
    bool reset();

    BridgeClient client;
    ConsoleProcess process;
};

// Options of every console the tests start ("--window" for a run in windows).
extern std::string consoleOptions;

// The console started once for most tests; ended when the tests are done.
ConsoleSession& sharedConsole();
void endSharedConsole();

// Whole-file helpers for the stream files and the tests' own files.
std::string readWholeFile(const std::string& path);
bool writeWholeFile(const std::string& path, const std::string& content);
