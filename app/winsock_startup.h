#pragma once
// Starts Winsock 1.1 for the life of a global object: the constructor starts
// it and the destructor cleans it up, so start-up happens before WinMain and
// the clean-up after it returns.

void startWinsock();
void stopWinsock();

class WinsockStartup {
public:
    WinsockStartup() { startWinsock(); }
    ~WinsockStartup() { stopWinsock(); }
    WinsockStartup(const WinsockStartup&) = delete;
    WinsockStartup& operator=(const WinsockStartup&) = delete;
};
