#pragma once
// Watches, from a second thread, for message boxes shown by this process,
// records their caption, text, owner and icon, and presses OK so that the
// code under test can go on.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenMessageBox {
    std::string caption;
    std::string text;
    bool hasOwner = false;
    bool errorIcon = false;
};

class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    std::vector<SeenMessageBox> seen();

private:
    void watch();

    std::atomic<bool> stopping{false};
    std::mutex lock;
    std::vector<SeenMessageBox> boxes;
    std::vector<HWND> answered;
    std::thread thread;
};
