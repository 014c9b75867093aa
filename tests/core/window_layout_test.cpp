// The Display's window: its box on the screen, the cursor's mapping onto the
// back buffer, and the command-line options that ask for it.
#include <gtest/gtest.h>

#include <vector>

#include "framework/display/display_options.h"
#include "framework/display/window_layout.h"

namespace {

TEST(WindowLayout, ClientAreaIsTheBufferTimesTheScaleCentredOnTheWorkArea) {
    const WindowFrame frame{3, 26, 3, 3};
    const WindowBox workArea{0, 0, 1920, 1040};
    for (int scale = 1; scale <= 4; ++scale) {
        SCOPED_TRACE(scale);
        const WindowBox box = windowBox(640, 480, scale, frame, workArea);
        EXPECT_EQ(box.width - frame.left - frame.right, 640 * scale);
        EXPECT_EQ(box.height - frame.top - frame.bottom, 480 * scale);
        if (box.height <= workArea.height) {
            EXPECT_EQ(box.left, (1920 - box.width) / 2);
            EXPECT_EQ(box.top, (1040 - box.height) / 2);
        }
    }
    // Too large for the work area (scale 4 here; scale 1 on a 640x480 screen
    // with a caption): the top-left corner stays on it, caption in reach.
    EXPECT_EQ(windowBox(640, 480, 4, frame, workArea).top, 0);
    const WindowBox small = windowBox(640, 480, 1, frame, {100, 50, 640, 480});
    EXPECT_EQ(small.left, 100);
    EXPECT_EQ(small.top, 50);
}

TEST(WindowLayout, CursorMapsBlocksOntoBufferPixelsAndStaysInsideIt) {
    struct Case {
        int x, y, scale, bufferX, bufferY;
    };
    const std::vector<Case> cases = {
        {0, 0, 1, 0, 0},
        {639, 479, 1, 639, 479},
        {1, 1, 2, 0, 0},
        {2, 3, 2, 1, 1},
        {1279, 959, 2, 639, 479},
        {11, 7, 4, 2, 1},
        {1280, 960, 2, 639, 479},  // past the right and bottom edges
        {-1, -1, 2, 0, 0},         // just left of and above the client area
        {-100000, 5000, 3, 0, 479},
        {5, 5, 0, 5, 5},  // a scale below 1 counts as 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " at " << c.scale);
        const BufferPoint point = bufferPoint(c.x, c.y, c.scale, 640, 480);
        EXPECT_EQ(point.x, c.bufferX);
        EXPECT_EQ(point.y, c.bufferY);
    }
}

TEST(WindowLayout, OnlyWholeBlocksOnTheScreenAreCopied) {
    BlockCopy copy{};
    ASSERT_TRUE(visibleBlocks(160, 129, 2, 640, 480, 1600, 1200, copy));  // all of it
    EXPECT_EQ(copy.source.width, 640);
    EXPECT_EQ(copy.target.left, 160);
    EXPECT_EQ(copy.target.height, 960);
    // A window taller than a 640x480 screen: the rows below its edge go.
    ASSERT_TRUE(visibleBlocks(3, 22, 1, 640, 480, 640, 480, copy));
    EXPECT_EQ(copy.source.width, 637);
    EXPECT_EQ(copy.source.height, 458);
    // Partly left of and above the screen at scale 3: the first whole block on it.
    ASSERT_TRUE(visibleBlocks(-4, -3, 3, 640, 480, 800, 600, copy));
    EXPECT_EQ(copy.source.left, 2);
    EXPECT_EQ(copy.source.top, 1);
    EXPECT_EQ(copy.target.left, 2);
    EXPECT_EQ(copy.target.top, 0);
    EXPECT_EQ(copy.target.width, copy.source.width * 3);
    EXPECT_FALSE(visibleBlocks(800, 0, 1, 640, 480, 800, 600, copy));
    EXPECT_FALSE(visibleBlocks(-2000, 0, 2, 640, 480, 800, 600, copy));
}

TEST(DesktopLayout, LargestWholeScaleCentredOnItsMonitorAndTheCursorMapped) {
    struct Case {
        WindowBox monitor;
        int scale, left, top;
    };
    const std::vector<Case> cases = {
        {{0, 0, 1920, 1080}, 2, 320, 60},     {{0, 0, 2560, 1440}, 3, 320, 0},
        {{0, 0, 3840, 2160}, 4, 640, 120},    {{0, 0, 1279, 960}, 1, 319, 240},
        {{1920, 0, 1920, 1080}, 2, 2240, 60}, {{-1280, -200, 1280, 1024}, 2, -1280, -168},
        {{0, 0, 600, 400}, 1, 0, 0},          {{100, 0, 800, 400}, 1, 180, 0},  // smaller: corner kept
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.monitor.left << "," << c.monitor.width << "x" << c.monitor.height);
        const DesktopPicture picture = desktopPicture(c.monitor, 640, 480);
        EXPECT_TRUE(picture.scale == c.scale && picture.left == c.left && picture.top == c.top);
    }
    EXPECT_EQ(desktopScale(1920, 1080, 0, 480), 1);  // no buffer: no division
    // The picture's blocks, and the black border giving the nearest edge pixel.
    const int points[][4] = {{322, 62, 1, 1},    {1599, 1019, 639, 479}, {0, 0, 0, 0},
                             {319, 500, 0, 220}, {1600, 59, 639, 0},     {2242, 62, 1, 1}};
    for (const auto& p : points) {
        const WindowBox monitor = p[0] >= 1920 ? WindowBox{1920, 0, 1920, 1080} : WindowBox{0, 0, 1920, 1080};
        const BufferPoint point = desktopPoint(p[0], p[1], monitor, 640, 480);
        EXPECT_TRUE(point.x == p[2] && point.y == p[3]) << p[0] << "," << p[1];
    }
}

DisplayOptions read(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "program.exe");
    return readDisplayOptions(static_cast<int>(arguments.size()), arguments.data());
}

TEST(DisplayOptions, WindowAndScaleInAnyOrder) {
    EXPECT_EQ(read({}).windowScale, 0);
    EXPECT_EQ(read({"--window"}).windowScale, 1);
    EXPECT_EQ(read({"--window", "--scale", "2"}).windowScale, 2);
    EXPECT_EQ(read({"--scale", "2", "--window"}).windowScale, 2);
    EXPECT_EQ(read({"--scale", "4"}).windowScale, 4);  // --scale alone implies --window
    EXPECT_EQ(read({"--scale", "1"}).windowScale, 1);
    EXPECT_TRUE(read({"--window", "--scale", "3"}).problem.empty());
    EXPECT_TRUE(read({"--desktop"}).desktop && read({"--desktop"}).windowScale == 0);
}

TEST(DisplayOptions, BadCommandLinesNameTheirProblemAndAskForNoWindow) {
    const std::vector<std::vector<const char*>> bad = {
        {"--scale", "0"},  {"--scale", "5"},
        {"--scale", "-1"}, {"--scale", "2x"},
        {"--scale", ""},   {"--scale", "999999999999"},
        {"--scale"},       {"--window", "--scale"},
        {"--fullscreen"},  {"--window", "extra"},
        {"-window"},       {"--scale=2"},
    };
    for (const auto& arguments : bad) {
        const DisplayOptions options = read(arguments);
        EXPECT_FALSE(options.problem.empty()) << arguments.back();
        EXPECT_EQ(options.windowScale, 0) << arguments.back();
    }
    for (const auto& arguments : std::vector<std::vector<const char*>>{
             {"--desktop", "--window"}, {"--scale", "2", "--desktop"}, {"--desktop", "--scale", "2"}}) {
        const DisplayOptions options = read(arguments);
        EXPECT_EQ(options.problem, "--desktop cannot be used with --window or --scale");
        EXPECT_TRUE(options.windowScale == 0 && !options.desktop);
    }
    EXPECT_EQ(read({"--fullscreen"}).problem, "unknown option --fullscreen");
    EXPECT_NE(read({"--scale", "5"}).problem.find("1 to 4"), std::string::npos);
}

}  // namespace
