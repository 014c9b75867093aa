// The joystick's dead zone: thresholds from the axis range in unsigned
// 32-bit arithmetic, and the five position tests.
#include <gtest/gtest.h>

#include <cstdint>

#include "framework/input/dead_zone.h"

namespace {

TEST(DeadZone, ThresholdsFromAxisRange) {
    struct Case {
        const char* name;
        std::uint32_t min, max, lower, upper;
    };
    const Case cases[] = {
        {"0..65535", 0, 65535, 26213, 39320},
        {"10..250: around span / 2, not the middle", 10, 250, 96, 144},
        {"0..100: even dead zone", 0, 100, 40, 60},
        {"no span", 500, 500, 0, 0},
        {"span 4: dead zone 0", 0, 4, 2, 2},
        // min above max: every step wraps at 32 bits.
        {"reversed range wraps", 100, 0, 2126008772u, 2168958424u},
        {"full 32-bit range", 0, 0xFFFFFFFFu, 2126008811u, 2168958483u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AxisThresholds axis = axisThresholds(c.min, c.max);
        EXPECT_EQ(axis.lower, c.lower);
        EXPECT_EQ(axis.upper, c.upper);
    }
}

TEST(DeadZone, ValueOnAThresholdIsNeitherDirectionNorCentred) {
    const AxisThresholds axis = axisThresholds(0, 65535);
    struct Case {
        std::uint32_t value;
        bool below, inside, above;
    };
    const Case cases[] = {
        {0, true, false, false},           {26212, true, false, false}, {26213, false, false, false},
        {26214, false, true, false},       {32767, false, true, false}, {39319, false, true, false},
        {39320, false, false, false},      {39321, false, false, true}, {65535, false, false, true},
        {0xFFFFFFFFu, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(belowDeadZone(c.value, axis), c.below);
        EXPECT_EQ(insideDeadZone(c.value, axis), c.inside);
        EXPECT_EQ(aboveDeadZone(c.value, axis), c.above);
    }
}

TEST(DeadZone, CentredNeedsBothAxesStrictlyInside) {
    const AxisThresholds x = axisThresholds(0, 65535);
    const AxisThresholds y = axisThresholds(10, 250);
    EXPECT_TRUE(stickCentered(32767, 120, x, y)) << "at rest";
    EXPECT_FALSE(stickCentered(26213, 120, x, y)) << "X on the lower threshold";
    EXPECT_FALSE(stickCentered(32767, 144, x, y)) << "Y on the upper threshold";
    EXPECT_FALSE(stickCentered(32767, 130, x, x)) << "Y far below X's dead zone";
    EXPECT_TRUE(stickCentered(26214, 97, x, y)) << "just inside both";
}

// For every position on a grid through and around the thresholds: opposite
// directions never hold together, centred excludes all four, and each
// perpendicular pair holds somewhere.
TEST(DeadZone, PerpendicularDirectionsMayCombineOppositeOnesNever) {
    const AxisThresholds x = axisThresholds(0, 65535);
    const AxisThresholds y = axisThresholds(10, 250);
    const std::uint32_t xs[] = {0, 26212, 26213, 26214, 32767, 39320, 39321, 65535};
    const std::uint32_t ys[] = {0, 95, 96, 97, 120, 144, 145, 250};
    int upLeft = 0, upRight = 0, downLeft = 0, downRight = 0;
    for (const std::uint32_t px : xs) {
        for (const std::uint32_t py : ys) {
            SCOPED_TRACE(testing::Message() << px << "," << py);
            const bool left = belowDeadZone(px, x), right = aboveDeadZone(px, x);
            const bool up = belowDeadZone(py, y), down = aboveDeadZone(py, y);
            EXPECT_FALSE(left && right);
            EXPECT_FALSE(up && down);
            if (stickCentered(px, py, x, y)) {
                EXPECT_FALSE(left || right || up || down);
            }
            upLeft += up && left;
            upRight += up && right;
            downLeft += down && left;
            downRight += down && right;
        }
    }
    EXPECT_GT(upLeft, 0);
    EXPECT_GT(upRight, 0);
    EXPECT_GT(downLeft, 0);
    EXPECT_GT(downRight, 0);
}

}  // namespace
