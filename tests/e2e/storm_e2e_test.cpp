// The storm: for KORVANE_STORM_SECONDS (20 by default; make bench runs it
// longer; KORVANE_STORM_SEED repeats a draw), korvane-stream processes at
// once send a random mix through korvane_storm.exe (storm_console.cpp, which
// logs every print it reads and checks its buffer), while a typist sends keys
// and some clients are killed at a random moment.
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

#include "client/key_map.h"
#include "client/window_search.h"
#include "console_session.h"
#include "tool_run.h"

namespace {

// An exec killed between starting its program suspended and putting it in
// its job leaves the program suspended for good, holding the test's output
// pipe open: ended here, and counted.
int endStrayPrograms() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int ended = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, "line-program.exe") != 0) continue;
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID);
        if (process && TerminateProcess(process, 1)) ++ended;
        if (process) CloseHandle(process);
    }
    CloseHandle(snapshot);
    return ended;
}

struct StormClient {
    std::unique_ptr<ToolRun> run;
    DWORD started = 0, limit = 0, killAt = 0;
    int marker = -1;
};

unsigned fromEnvironment(const char* name, unsigned otherwise) {
    const char* value = std::getenv(name);
    return value ? static_cast<unsigned>(std::strtoul(value, nullptr, 10)) : otherwise;
}

std::string markerText(int marker) { return "storm[" + std::to_string(marker) + "]"; }

void startClient(StormClient& client, std::mt19937& random, int& markers) {
    const unsigned timeoutS = 1 + random() % 3;
    std::vector<std::string> words = {"--timeout", std::to_string(timeoutS)};
    static const std::vector<std::vector<std::string>> verbs = {
        {"readline"}, {"pause"}, {"prompt"}, {"cancel"}, {"clear"}, {"exec", "line-program", "partial"}};
    const unsigned pick = random() % 10;
    client.marker = pick < 4 ? markers++ : -1;
    if (client.marker >= 0) words.insert(words.end(), {"print", "line", markerText(client.marker)});
    if (client.marker < 0) words.insert(words.end(), verbs[pick - 4].begin(), verbs[pick - 4].end());
    client.run = std::make_unique<ToolRun>();
    client.started = GetTickCount();
    client.limit = timeoutS * 1000 + 2000;  // no client outlives its --timeout by more than 2 s
    client.killAt = random() % 100 < 15 ? client.started + 100 + random() % 1500 : 0;
    client.run->start(words);
}

}  // namespace

TEST(KorvaneStorm, EveryMixOfClientsWithKillsAndATypist) {
    endSharedConsole();
    for (const char* file : {"storm_prints.log", "storm_faults.log", "stormdump.txt"}) DeleteFileA(file);
    ConsoleProcess console;
    BridgeClient typist;
    ASSERT_TRUE(console.start(programFolder() + "korvane_storm.exe", "storm.stdout", consoleOptions));
    ASSERT_TRUE(typist.findConsole(20000, console.id()));
    typist.setReplyTimeout(1000);
    WindowQuery query;
    query.className = "Korvane";
    query.processId = console.id();
    void* window = findTopWindow(query);
    const unsigned seed = fromEnvironment("KORVANE_STORM_SEED", GetTickCount());
    std::mt19937 random(seed);
    StormClient clients[5];
    std::vector<std::pair<int, bool>> prints;  // marker, exited 0 without being killed
    int markers = 0, started = 0, killed = 0;
    DWORD worst = 0;
    auto settle = [&] {
        for (StormClient& client : clients) {
            const bool kill = client.run && client.killAt && GetTickCount() >= client.killAt;
            if (!client.run || (!kill && client.run->running())) continue;
            const bool wasKilled = kill && client.run->running();
            client.run->finish(0);
            killed += wasKilled;
            EXPECT_TRUE(wasKilled || GetTickCount() - client.started <= client.limit) << "outlived its --timeout";
            if (client.marker >= 0) prints.emplace_back(client.marker, !wasKilled && client.run->exitCode == 0);
            client.run.reset();
        }
    };
    for (const DWORD end = GetTickCount() + fromEnvironment("KORVANE_STORM_SECONDS", 20) * 1000;
         GetTickCount() < end;) {
        settle();
        for (StormClient& client : clients)
            if (!client.run && ++started) startClient(client, random, markers);
        static const unsigned keys[] = {'X', 'Y', '0', '1', ' ', KEY_ENTER, KEY_BACKSPACE, KEY_SHIFT};
        typist.key(keys[random() % 8]);  // lines that name no command
        const DWORD sent = GetTickCount();
        ASSERT_TRUE(windowAnswers(window, 1000)) << "the console did not answer within 1 s";
        worst = std::max(worst, GetTickCount() - sent);
        Sleep(20 + random() % 60);
    }
    // The rest end within their timeouts; Enter and Shift end exec's program
    // or a pause meanwhile, as a user would.
    for (int wait = 0; wait < 60; ++wait, Sleep(100)) {
        settle();
        typist.key(wait % 2 ? KEY_ENTER : KEY_SHIFT);
    }
    for (StormClient& client : clients) EXPECT_EQ(client.run, nullptr) << "a client never ended";
    const int strays = endStrayPrograms();
    std::printf("storm: seed %u, %d clients, %d killed, %zu prints, worst round trip %lu ms (limit 1000), "
                "%d programs of killed execs ended\n",
                seed, started, killed, prints.size(), static_cast<unsigned long>(worst), strays);

    // Each marker of a print that exited 0 reached the console exactly once,
    // and no other reached it twice: counted in the console's log of prints.
    const std::string printed = readWholeFile("storm_prints.log");
    for (const auto& [marker, succeeded] : prints) {
        const std::string text = markerText(marker);
        const std::size_t first = printed.find(text), second = printed.find(text, first + 1);
        EXPECT_FALSE(succeeded && first == std::string::npos) << text << " reported printed, never arrived";
        EXPECT_TRUE(first == std::string::npos || second == std::string::npos) << text << " arrived twice";
    }
    EXPECT_EQ(readWholeFile("storm_faults.log"), "");
    // Afterwards a script gives the prompt back, an Enter ends what a killed
    // client left requested, and a command typed at the prompt runs.
    ASSERT_TRUE(typist.prompt() && typist.key(KEY_ENTER) && typist.type("add 2 3") && typist.key(KEY_ENTER));
    ASSERT_TRUE(typist.type("dump stormdump.txt") && typist.key(KEY_ENTER));
    EXPECT_NE(readWholeFile("stormdump.txt").find("add 2 3\r\n 2 + 3 = 5"), std::string::npos);
    typist.key(KEY_ESCAPE);
    unsigned long code = 0;
    if (!console.waitExit(WAIT_MS, code)) console.terminate();
}
