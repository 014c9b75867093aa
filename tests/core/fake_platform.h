#pragma once
// The platform as the native tests see it: every call is recorded, answers
// are set by the test.
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct FakePlatform {
    std::vector<unsigned> notifications;
    std::vector<std::pair<std::string, std::string>> shellOpens;
    int closeRequests = 0;
    int screenChanges = 0;
    bool shift = false;
    bool control = false;
    bool clientPresent = true;  // false: notifications find no client window
    // Called inside notifyClient, as a client's window procedure would be.
    std::function<void(unsigned)> onNotify;

    void reset() { *this = FakePlatform{}; }
};

FakePlatform& fakePlatform();
