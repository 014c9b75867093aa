// Runs the end-to-end tests; the shared console is ended after the last one.
#include <gtest/gtest.h>

#include "console_session.h"

namespace {

class SharedConsoleEnvironment : public ::testing::Environment {
public:
    void TearDown() override { endSharedConsole(); }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new SharedConsoleEnvironment);
    return RUN_ALL_TESTS();
}
