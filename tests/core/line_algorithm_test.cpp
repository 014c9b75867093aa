// The integer line of Painter::line and the depth-mode table of
// Display::open, both free of the platform.
#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "framework/display/depth_mode.h"
#include "framework/paint/line_algorithm.h"

namespace {

using Points = std::vector<std::pair<int, int>>;

Points trace(int x1, int y1, int x2, int y2) {
    Points points;
    traceLine(x1, y1, x2, y2, [&](int x, int y) { points.emplace_back(x, y); });
    return points;
}

TEST(LineAlgorithm, DiagonalSetsEveryStep) {
    EXPECT_EQ(trace(0, 0, 3, 3), (Points{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(trace(0, 4, 4, 0), (Points{{0, 4}, {1, 3}, {2, 2}, {3, 1}, {4, 0}}));
    EXPECT_EQ(trace(3, 3, 0, 0), (Points{{3, 3}, {2, 2}, {1, 1}, {0, 0}}));
}

TEST(LineAlgorithm, ShallowSlopeSkipsEndPoint) {
    EXPECT_EQ(trace(0, 0, 4, 2), (Points{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}}));
    EXPECT_EQ(trace(4, 2, 0, 0), (Points{{4, 2}, {3, 2}, {2, 2}, {1, 1}, {0, 1}}));
}

TEST(LineAlgorithm, SteepSlopeStepsSidewaysAfterFirstPixel) {
    EXPECT_EQ(trace(0, 0, 2, 4), (Points{{0, 0}, {1, 1}, {1, 2}, {2, 3}, {2, 4}}));
    EXPECT_EQ(trace(2, 4, 0, 0), (Points{{2, 4}, {1, 3}, {1, 2}, {0, 1}, {0, 0}}));
}

TEST(LineAlgorithm, AxisLinesInEveryDirection) {
    EXPECT_EQ(trace(0, 0, 0, -3), (Points{{0, 0}, {0, -1}, {0, -2}, {0, -3}}));
    EXPECT_EQ(trace(0, 0, 0, 2), (Points{{0, 0}, {0, 1}, {0, 2}}));
    EXPECT_EQ(trace(2, 5, -1, 5), (Points{{2, 5}, {1, 5}, {0, 5}, {-1, 5}}));
    EXPECT_EQ(trace(-1, 5, 2, 5), (Points{{-1, 5}, {0, 5}, {1, 5}, {2, 5}}));
}

TEST(LineAlgorithm, SinglePointWhenEndsMeet) { EXPECT_EQ(trace(7, -9, 7, -9), (Points{{7, -9}})); }

TEST(LineAlgorithm, SetsOnePixelPerStepOfTheLongerAxis) {
    EXPECT_EQ(trace(10, 10, 110, 37).size(), 101u);
    EXPECT_EQ(trace(10, 10, 37, 110).size(), 101u);
    EXPECT_EQ(trace(0, 0, -50, -50).size(), 51u);
}

// Ends a full int range apart: the differences do not fit in int.
TEST(LineAlgorithm, FarApartEndsDoNotOverflow) {
    int count = 0;
    int lastX = 0;
    int lastY = 0;
    traceLine(INT_MAX, INT_MIN, INT_MAX - 2, INT_MIN + 1, [&](int x, int y) {
        ++count;
        lastX = x;
        lastY = y;
    });
    EXPECT_EQ(count, 3);
    EXPECT_EQ(lastX, INT_MAX - 2);
    EXPECT_EQ(lastY, INT_MIN);  // the x-major branch stops a row short

    Points vertical = trace(0, INT_MAX - 1, 0, INT_MAX);
    EXPECT_EQ(vertical, (Points{{0, INT_MAX - 1}, {0, INT_MAX}}));
}

TEST(DepthMode, ModesMapToBitsPerPixel) {
    EXPECT_EQ(depthModeBits(0, 32), 8);
    EXPECT_EQ(depthModeBits(1, 32), 16);
    EXPECT_EQ(depthModeBits(2, 32), 24);
    EXPECT_EQ(depthModeBits(3, 8), 32);
    EXPECT_EQ(depthModeBits(4, 32), 32);
    EXPECT_EQ(depthModeBits(4, 16), 16);
}

TEST(DepthMode, OtherModesNameNoDepth) {
    for (int mode : {-1, 5, 100, INT_MIN, INT_MAX}) {
        EXPECT_FALSE(isDepthMode(mode)) << mode;
        EXPECT_EQ(depthModeBits(mode, 32), 0) << mode;
    }
    for (int mode = 0; mode <= 4; ++mode) {
        EXPECT_TRUE(isDepthMode(mode)) << mode;
    }
}

}  // namespace
