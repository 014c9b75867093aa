#include "console_session.h"

#include <windows.h>

#include <cstdio>
#include <memory>

#include "client/key_map.h"

namespace {

constexpr char DUMP_FILE[] = "e2edump.txt";

std::unique_ptr<ConsoleSession> shared;

}  // namespace

std::string consoleOptions;

bool ConsoleSession::start(const std::string& standardOutput) {
    return client.open() && process.start(programFolder() + "korvane.exe", standardOutput, consoleOptions) &&
           client.findConsole(20000, process.id());
}

long ConsoleSession::quit() {
    client.key(KEY_ESCAPE);
    unsigned long code = 0;
    if (process.waitExit(WAIT_MS, code)) return static_cast<long>(code);
    process.terminate();
    return -1;
}

std::string ConsoleSession::dump() {
    DeleteFileA(DUMP_FILE);
    const std::string typed = std::string("dump ") + DUMP_FILE;
    if (!command(typed)) return "<dump failed> console did not answer";
    std::string raw = readWholeFile(DUMP_FILE);
    std::string text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
        text += raw[i];
    }
    const std::string tail = typed + "\n";
    if (text.size() < tail.size() || text.compare(text.size() - tail.size(), tail.size(), tail) != 0)
        return "<dump failed> " + text;
    return text.substr(0, text.size() - tail.size());
}

bool ConsoleSession::command(const std::string& line) { return client.type(line) && client.key(KEY_ENTER); }

bool ConsoleSession::reset() {
    const bool answered = client.key(KEY_SHIFT) && client.prompt() && client.key(KEY_ENTER) && client.cancel() &&
                          client.clear() && client.prompt();
    client.discardNotifications();
    return answered;
}

ConsoleSession& sharedConsole() {
    if (!shared) {
        shared = std::make_unique<ConsoleSession>();
        shared->start("e2eshared.stdout");  // keeps the cancels' line feeds out of the test log
    }
    return *shared;
}

void endSharedConsole() {
    if (shared && shared->process.running()) shared->quit();
    shared.reset();
}

std::string readWholeFile(const std::string& path) {
    std::string content;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return content;
    char chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) content.append(chunk, n);
    std::fclose(file);
    return content;
}

bool writeWholeFile(const std::string& path, const std::string& content) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    return std::fclose(file) == 0 && written;
}
