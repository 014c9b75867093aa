#include "drawing_fixture.h"

namespace {
Display sharedDisplay{};
bool opened = false;
}  // namespace

Display& DrawingTest::display() {
    return sharedDisplay;
}

void DrawingTest::SetUpTestSuite() {
    if (!opened) {
        opened = openTestDisplay(sharedDisplay);
    }
}

void DrawingTest::TearDownTestSuite() {}

void DrawingTest::SetUp() {
    ASSERT_TRUE(opened) << "the display did not open";
    sharedDisplay.textPainter.init(&sharedDisplay.screen);
    sharedDisplay.clear();
}
