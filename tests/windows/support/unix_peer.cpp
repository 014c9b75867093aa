#include "unix_peer.h"

#include <winsock.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "bitmap_files.h"

namespace {

// Starts a Linux program natively; Wine gives no handle back.
bool runNative(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    BOOL ok = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    return ok != FALSE;
}

// The state letter of /proc/PID/stat; 0 when the process is gone.
char processState(int pid) {
    char path[64];
    std::snprintf(path, sizeof path, "Z:\\proc\\%d\\stat", pid);
    std::ifstream stat(path);
    std::string text;
    if (!std::getline(stat, text)) return 0;
    size_t close = text.rfind(')');
    return close != std::string::npos && close + 2 < text.size() ? text[close + 2] : 0;
}

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    address.sin_port = htons(static_cast<u_short>(port));
    return address;
}

}  // namespace

std::string uniquePeerFile(const char* suffix) {
    static int next = 0;
    std::ostringstream name;
    name << "peer-" << GetCurrentProcessId() << "-" << ++next << suffix;
    return name.str();
}

bool waitForFile(const std::string& path, int timeoutMs) {
    for (int waited = 0;; waited += 20) {
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        if (waited >= timeoutMs) return false;
        Sleep(20);
    }
}

UnixPeer::~UnixPeer() {
    stop();
    if (!script.empty()) DeleteFileA(script.c_str());
}

bool UnixPeer::start(const std::string& command) {
    script = uniquePeerFile(".sh");
    std::string pidFile = script + ".pid";
    // Written under another name and moved, so a half-written id is never read.
    std::string text = "echo $$ > " + pidFile + ".tmp && mv " + pidFile + ".tmp " + pidFile + "\n" + command + "\n";
    if (!writeBytes(script, text) || !runNative("/bin/sh " + script)) return false;
    if (!waitForFile(pidFile, 5000)) return false;
    std::ifstream in(pidFile);
    in >> processId;
    in.close();
    DeleteFileA(pidFile.c_str());
    return processId > 0;
}

bool UnixPeer::running() const {
    char state = processId > 0 ? processState(processId) : 0;
    return state != 0 && state != 'Z';
}

bool UnixPeer::stop() {
    if (processId <= 0) return true;
    if (running()) runNative("/bin/kill " + std::to_string(processId));
    bool ended = false;
    for (int waited = 0; waited <= 3000; waited += 20) {
        if (!running()) {
            ended = true;
            break;
        }
        Sleep(20);
    }
    processId = 0;
    return ended;
}

int freePort() {
    SOCKET probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    int port = 0;
    if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        int size = sizeof address;
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
        port = ntohs(address.sin_port);
    }
    closesocket(probe);
    return port;
}

bool portHeld(int port) {
    SOCKET probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(port);
    bool refused = bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0;
    closesocket(probe);
    return refused;
}

bool waitPortHeld(int port, bool held, int timeoutMs) {
    for (int waited = 0;; waited += 20) {
        if (portHeld(port) == held) return true;
        if (waited >= timeoutMs) return false;
        Sleep(20);
    }
}
