// The storm: for a fixed time (KORVANE_STORM_SECONDS, 20 by default; make
// bench runs it longer), several korvane-stream processes at once send a
// random mix through the console: prints of numbered markers, readline and
// pause with timeouts, prompt, cancel, clear and short exec runs, while a
// typist sends keys and some clients are killed at a random moment. The
// console is korvane_storm.exe, which logs every print it reads and checks
// its buffer after every message (storm_console.cpp).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "client/bridge_client.h"
#include "client/key_map.h"
#include "client/window_search.h"
#include "console_session.h"
#include "tool_run.h"

namespace {

constexpr int SLOTS = 5;
constexpr DWORD ROUND_TRIP_LIMIT_MS = 1000;
constexpr DWORD OUTLIVE_LIMIT_MS = 2000;

struct StormClient {
    std::unique_ptr<ToolRun> run;
    std::string what;
    DWORD started = 0;
    DWORD timeoutMs = 0;
    DWORD killAt = 0;  // 0: left to end by itself
    int marker = -1;
};

struct PrintOutcome {
    int marker;
    bool succeeded;  // exited 0 and was not killed
};

unsigned stormSeconds() {
    const char* value = std::getenv("KORVANE_STORM_SECONDS");
    const long seconds = value ? std::strtol(value, nullptr, 10) : 0;
    return seconds > 0 ? static_cast<unsigned>(seconds) : 20;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

std::string markerText(int marker) { return "storm[" + std::to_string(marker) + "]"; }

void startClient(StormClient& client, std::mt19937& random, int& nextMarker) {
    const unsigned timeoutS = 1 + random() % 3;
    std::vector<std::string> arguments = {"--timeout", std::to_string(timeoutS)};
    const unsigned pick = random() % 100;
    client.marker = -1;
    if (pick < 36) {
        client.marker = nextMarker++;
        arguments.insert(arguments.end(), {"print", "line", markerText(client.marker)});
    } else if (pick < 50) {
        arguments.push_back("readline");
    } else if (pick < 60) {
        arguments.push_back("pause");
    } else if (pick < 68) {
        arguments.push_back("prompt");
    } else if (pick < 78) {
        arguments.push_back("cancel");
    } else if (pick < 86) {
        arguments.push_back("clear");
    } else {
        arguments.insert(arguments.end(), {"exec", "line-program", "partial"});
    }
    client.what = arguments[2];
    client.run = std::make_unique<ToolRun>();
    client.started = GetTickCount();
    client.timeoutMs = timeoutS * 1000;
    client.killAt = random() % 100 < 15 ? client.started + 100 + random() % 1500 : 0;
    client.run->start(arguments);
}

// A key as a user types it: never Escape, and lines that name no command.
BridgeResult typeKey(BridgeClient& typist, std::mt19937& random) {
    static const unsigned keys[] = {'X', 'Y', 'Z', '0', '1', '2', ' ', KEY_ENTER, KEY_BACKSPACE, KEY_SHIFT};
    return typist.key(keys[random() % (sizeof keys / sizeof keys[0])]);
}

}  // namespace

TEST(KorvaneStorm, EveryMixOfClientsWithKillsAndATypist) {
    endSharedConsole();
    DeleteFileA("storm_prints.log");
    DeleteFileA("storm_faults.log");
    DeleteFileA("stormdump.txt");
    ConsoleProcess console;
    ASSERT_TRUE(console.start(programFolder() + "korvane_storm.exe", "storm.stdout", consoleOptions));
    BridgeClient typist;
    ASSERT_TRUE(typist.findConsole(20000, console.id()));
    typist.setReplyTimeout(ROUND_TRIP_LIMIT_MS);
    WindowQuery query;
    query.className = "Korvane";
    query.processId = console.id();
    void* window = findTopWindow(query);
    ASSERT_NE(window, nullptr);

    const unsigned seed = GetTickCount();
    std::printf("storm: %u s, seed %u\n", stormSeconds(), seed);
    std::mt19937 random(seed);
    StormClient clients[SLOTS];
    std::vector<PrintOutcome> prints;
    int nextMarker = 0, started = 0, killed = 0, overdue = 0;
    DWORD worstRoundTrip = 0;
    bool answering = true;

    // Collects the clients that ended; kills those whose moment came.
    auto settle = [&](DWORD now) {
        for (StormClient& client : clients) {
            if (!client.run) continue;
            const bool kill = client.killAt != 0 && now >= client.killAt && client.run->running();
            if (!kill && client.run->running()) continue;
            client.run->finish(0);
            if (kill) ++killed;
            const DWORD lived = GetTickCount() - client.started;
            if (!kill && lived > client.timeoutMs + OUTLIVE_LIMIT_MS) {
                ++overdue;
                ADD_FAILURE() << client.what << " lived " << lived << " ms with --timeout " << client.timeoutMs
                              << " ms (status " << client.run->exitCode << ")";
            }
            if (client.marker >= 0) prints.push_back({client.marker, !kill && client.run->exitCode == 0});
            client.run.reset();
        }
    };

    const DWORD end = GetTickCount() + stormSeconds() * 1000;
    while (GetTickCount() < end && answering) {
        const DWORD now = GetTickCount();
        settle(now);
        for (StormClient& client : clients) {
            if (client.run) continue;
            startClient(client, random, nextMarker);
            ++started;
        }
        typeKey(typist, random);
        const DWORD sent = GetTickCount();
        answering = windowAnswers(window, ROUND_TRIP_LIMIT_MS);
        const DWORD roundTrip = GetTickCount() - sent;
        if (roundTrip > worstRoundTrip) worstRoundTrip = roundTrip;
        EXPECT_TRUE(answering) << "the console did not answer within 1 s";
        ASSERT_TRUE(console.running()) << "the console ended during the storm";
        Sleep(20 + random() % 60);
    }
    // The rest end within their timeouts; Enter and Shift end exec's program
    // or a pause meanwhile, as a user would.
    for (DWORD drainEnd = GetTickCount() + 3000 + OUTLIVE_LIMIT_MS + 1000; GetTickCount() < drainEnd;) {
        settle(GetTickCount());
        bool any = false;
        for (StormClient& client : clients) any = any || client.run != nullptr;
        if (!any) break;
        typist.key(random() % 2 ? KEY_ENTER : KEY_SHIFT);
        Sleep(100);
    }
    for (StormClient& client : clients) {
        EXPECT_EQ(client.run, nullptr) << client.what << " never ended";
        if (client.run) client.run->finish(0);
    }
    std::printf("storm: %d clients, %d killed, %zu prints, worst round trip %lu ms (limit %lu)\n", started, killed,
                prints.size(), static_cast<unsigned long>(worstRoundTrip),
                static_cast<unsigned long>(ROUND_TRIP_LIMIT_MS));
    EXPECT_EQ(overdue, 0);

    // Each marker of a print that exited 0 reached the console once; no other
    // reached it twice.
    const std::string printed = readWholeFile("storm_prints.log");
    int lost = 0, doubled = 0;
    for (const PrintOutcome& print : prints) {
        const std::size_t count = occurrences(printed, markerText(print.marker));
        if (print.succeeded && count == 0) ++lost;
        if (count > 1) ++doubled;
    }
    EXPECT_EQ(lost, 0) << "prints reported done whose text never reached the console";
    EXPECT_EQ(doubled, 0) << "prints that reached the console twice";
    EXPECT_EQ(readWholeFile("storm_faults.log"), "");

    // Afterwards the keyboard works: a script gives the prompt back, an Enter
    // ends whatever line a killed client left requested, and a command runs.
    ASSERT_TRUE(typist.key(KEY_SHIFT) && typist.prompt() && typist.key(KEY_ENTER));
    ASSERT_TRUE(typist.type("add 2 3") && typist.key(KEY_ENTER));
    ASSERT_TRUE(typist.type("dump stormdump.txt") && typist.key(KEY_ENTER));
    EXPECT_NE(readWholeFile("stormdump.txt").find("add 2 3\r\n 2 + 3 = 5"), std::string::npos)
        << readWholeFile("stormdump.txt");
    typist.key(KEY_ESCAPE);
    unsigned long code = 0;
    if (!console.waitExit(WAIT_MS, code)) console.terminate();
}
