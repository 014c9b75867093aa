#include "test_support.h"

#include <unistd.h>
#include <fstream>
#include <sstream>

void ConsoleTest::SetUp() {
    fakePlatform().reset();
    console = std::make_unique<Console>();
    console->capsLock = false;
    console->load();
    previous = std::filesystem::current_path();
    char pattern[] = "/tmp/korvane-test-XXXXXX";
    scratch = mkdtemp(pattern);
    std::filesystem::current_path(scratch);
}

void ConsoleTest::TearDown() {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(scratch);
}

void ConsoleTest::run(const std::string& line) {
    std::string copy = line;
    console->execute(copy.data());
}

void ConsoleTest::type(const std::string& text) {
    for (char c : text) {
        const unsigned code =
            c >= 'a' && c <= 'z' ? static_cast<unsigned>(c - 'a' + 'A') : static_cast<unsigned char>(c);
        console->onKey(code);
    }
}

void ConsoleTest::writeFile(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

std::string ConsoleTest::fileText(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}
