#pragma once
// Shared fixtures of the native tests: a loaded console and a scratch folder
// that is the current directory while a test runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "console/console.h"
#include "fake_platform.h"

class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a line as if typed after the prompt.
    void run(const std::string& line);
    // Types each character of text as a key (letters, digits, space).
    void type(const std::string& text);
    std::string buffer() const { return console->text; }
    void writeFile(const std::string& name, const std::string& bytes);
    std::string fileText(const std::string& name);

    std::unique_ptr<Console> console;
    std::filesystem::path scratch;
    std::filesystem::path previous;
};
