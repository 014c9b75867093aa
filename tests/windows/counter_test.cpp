// The Display's counter: 101 values, and a change test that compares values.
#include <gtest/gtest.h>

#include <climits>

#include "framework/display/display.h"

namespace {

TEST(Counter, AdvanceRunsThroughHundredThenWrapsToZero) {
    Display display{};
    for (int i = 1; i <= 100; ++i) {
        display.advanceCounter();
        ASSERT_EQ(display.counter, i);
    }
    display.advanceCounter();
    EXPECT_EQ(display.counter, 0);

    for (int i = 0; i < 101; ++i) {
        display.advanceCounter();
    }
    EXPECT_EQ(display.counter, 0);
}

TEST(Counter, AdvanceFromStrayValueDoesNotOverflow) {
    Display display{};
    display.counter = INT_MAX;
    display.advanceCounter();
    EXPECT_EQ(display.counter, 0);
    display.counter = 150;
    display.advanceCounter();
    EXPECT_EQ(display.counter, 0);
}

TEST(Counter, CheckAnswersOncePerSeenChangeOfValue) {
    Display display{};
    EXPECT_FALSE(display.checkCounter());
    display.advanceCounter();
    EXPECT_TRUE(display.checkCounter());
    EXPECT_FALSE(display.checkCounter());

    display.advanceCounter();
    display.advanceCounter();
    display.advanceCounter();
    EXPECT_TRUE(display.checkCounter());
    EXPECT_FALSE(display.checkCounter());

    // A full turn leaves the value where it was: no change.
    for (int i = 0; i < 101; ++i) {
        display.advanceCounter();
    }
    EXPECT_FALSE(display.checkCounter());
}

TEST(Counter, LatchKeepsTheAnswerForSeveralReaders) {
    Display display{};
    display.advanceCounter();
    display.latchCounter();
    EXPECT_TRUE(display.counterLatched());
    EXPECT_TRUE(display.counterLatched());
    display.latchCounter();
    EXPECT_FALSE(display.counterLatched());
}

}  // namespace
