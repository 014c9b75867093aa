// korvane-client: a scriptable client of the console's stream bridge.
//   korvane-client STEP...            run the steps in order
//   korvane-client --script FILE      run the steps in FILE, one per line
// Without a "start" or "find" first, it looks for a running console.
// Lines of a script that are empty or begin with '#' are skipped. The first
// failing step ends the run with exit code 1.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "client/bridge_client.h"
#include "tests/korvane_client/steps.h"

namespace {

bool readScript(const char* path, std::vector<std::string>& steps) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        steps.push_back(line);
    }
    return true;
}

bool needsClientWindow(const std::vector<std::string>& steps) {
    for (const std::string& step : steps) {
        const std::string name = step.substr(0, step.find('='));
        if (name == "request-line" || name == "request-pause" || name == "wait-line" || name == "read-line" ||
            name == "wait-pause" || name == "message" || name == "post")
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> steps;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("usage: korvane-client STEP... | --script FILE\n%s", stepUsage());
            return 0;
        }
        if (std::strcmp(argv[i], "--script") == 0 && i + 1 < argc) {
            if (!readScript(argv[++i], steps)) {
                std::fprintf(stderr, "korvane-client: cannot read %s\n", argv[i]);
                return 2;
            }
            continue;
        }
        steps.push_back(argv[i]);
    }

    // The console notifies the one client window it finds: a run that only
    // types or prints makes none, so that another client (korvane-stream
    // waiting for a line) gets the notification.
    ClientSession session;
    if (needsClientWindow(steps) && !session.client.open()) {
        std::fprintf(stderr, "korvane-client: cannot create the client window\n");
        return 2;
    }
    // Every step but a few needs the console: find one first unless told.
    if (steps.empty() || (steps[0].rfind("find", 0) != 0 && steps[0].rfind("start", 0) != 0))
        steps.insert(steps.begin(), "find");

    for (std::size_t i = 0; i < steps.size(); ++i) {
        std::string error;
        if (!runStep(session, steps[i], error)) {
            std::fprintf(stderr, "korvane-client: step %zu \"%s\" failed: %s\n", i + 1, steps[i].c_str(),
                         error.c_str());
            return 1;
        }
    }
    return 0;
}
