#pragma once
// Network peers that are not our code: Linux programs such as socat, started
// natively from under Wine. Wine hands back no process handle for a Linux
// program, so a small sh script records the process id in a file and the
// peer is stopped by that id with kill. Every wait has a time limit.
#include <string>

class UnixPeer {
public:
    UnixPeer() = default;
    ~UnixPeer();
    UnixPeer(const UnixPeer&) = delete;
    UnixPeer& operator=(const UnixPeer&) = delete;

    // Runs the sh command line (typically "exec socat ..."); false when no
    // process id appeared within the time limit.
    bool start(const std::string& command);
    // Sends SIGTERM and waits (time-limited) until the process has ended.
    bool stop();
    bool running() const;
    int pid() const { return processId; }

private:
    int processId = 0;
    std::string script;
};

// A TCP port of 127.0.0.1 that nothing holds at this moment.
int freePort();
// Whether some socket holds the port (our bind to it is refused).
bool portHeld(int port);
// Waits until portHeld(port) is `held`, at most timeoutMs.
bool waitPortHeld(int port, bool held, int timeoutMs);
// Waits until the file exists, at most timeoutMs.
bool waitForFile(const std::string& path, int timeoutMs);
// A file name in the current directory no other peer of this process uses.
std::string uniquePeerFile(const char* suffix);
