// Console::render through the global display's painters, on a real back
// surface.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/clipboard.h"
#include "app/cursor_flicker.h"
#include "app/globals.h"
#include "app/drawing_cache.h"
#include "framework/text/font.h"
#include "pixel_probe.h"
#include "test_display.h"

Display display;
Console console;

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF TEXT = RGB(0, 200, 0);

class ConsoleRenderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!opened) opened = openTestDisplay(display);
    }
    void SetUp() override {
        ASSERT_TRUE(opened);
        display.textPainter.init(&display.screen);
        console.load();
        std::strcpy(console.text, "hello");
        console.backColor = RED;
        display.clear();
    }
    PixelCapture screenShot() {
        return PixelCapture(display.screen.backSurface, 0, 0, 640, 480);
    }
    PixelCapture renderedFrame() {
        display.clear();
        console.render();
        return screenShot();
    }
    static inline bool opened = false;
};

TEST_F(ConsoleRenderTest, ClosedInputPaintsWholeScreenInBackColour) {
    console.inputOpen = false;
    PixelCapture shot = renderedFrame();
    EXPECT_EQ(shot.at(639, 479), RED);
    EXPECT_EQ(shot.at(320, 400), RED);
    EXPECT_GT(shot.count(TEXT), 0);
    EXPECT_EQ(shot.count(RED) + shot.count(TEXT), 640 * 480);
}

TEST_F(ConsoleRenderTest, OpenInputColoursOnlyTheTextCells) {
    console.inputOpen = true;
    PixelCapture shot = renderedFrame();
    EXPECT_EQ(shot.at(639, 479), 0u);
    EXPECT_EQ(shot.at(320, 400), 0u);
    EXPECT_GT(shot.count(RED), 0);
    EXPECT_GT(shot.count(TEXT), 0);
    EXPECT_FALSE(shot.rowHas(40, RED));  // below the one line of text
}

TEST_F(ConsoleRenderTest, CursorFollowsTextInSomeFramesOnlyWhileInputOpen) {
    console.backColor = 0;
    console.inputOpen = false;
    PixelCapture plain = renderedFrame();
    const int textRight = plain.rightmost(TEXT);
    ASSERT_GT(textRight, 0);

    int withCursor = 0;
    for (int frame = 0; frame < 100; ++frame) {
        PixelCapture shot = renderedFrame();
        EXPECT_EQ(shot.rightmost(TEXT), textRight);
    }
    console.inputOpen = true;
    for (int frame = 0; frame < 100; ++frame) {
        decideCursor();  // the flicker's timer, once per frame here
        PixelCapture shot = renderedFrame();
        if (shot.rightmost(TEXT) > textRight) {
            ++withCursor;
        } else {
            EXPECT_TRUE(shot.sameAs(plain));
        }
    }
    // Four decisions in ten of the library's unseeded sequence.
    EXPECT_GT(withCursor, 20);
    EXPECT_LT(withCursor, 60);
}

TEST_F(ConsoleRenderTest, PercentSignsAreDrawnLiterally) {
    console.backColor = 0;
    console.inputOpen = false;
    std::strcpy(console.text, "%s%d%%");
    PixelCapture rendered = renderedFrame();
    display.clear();
    display.textPainter.drawTextInRect("%s%d%%", 0, 0, 640, 480);
    EXPECT_TRUE(rendered.sameAs(screenShot()));
}

TEST_F(ConsoleRenderTest, ConsoleFontReplacesPainterFontFromFirstFrame) {
    console.inputOpen = false;
    EXPECT_NE(display.textPainter.font, static_cast<HFONT>(console.font));
    console.render();
    EXPECT_EQ(display.textPainter.font, static_cast<HFONT>(console.font));
    EXPECT_EQ(display.textPainter.backColor, RED);
    EXPECT_EQ(display.textPainter.textColor, TEXT);

    HFONT bigger = createFont("Arial", 30);
    console.setFont(bigger);
    console.render();
    EXPECT_EQ(display.textPainter.font, bigger);
}

// Frames come from a kept drawing; they must be the pixels that drawing on
// the back surface itself gives, in every state, also after the state
// changes back and forth.
TEST_F(ConsoleRenderTest, KeptFramesEqualDirectDrawing) {
    std::string full;
    for (int line = 0; line < 38; ++line) full += "line " + std::to_string(line) + " of console text, 100% & more\n";
    full += "cmd=)> typed";
    struct Case {
        const char* name;
        std::string text;
        bool inputOpen;
        COLORREF back;
    };
    const Case cases[] = {
        {"banner, line closed", "Welcome\ncmd=)> ", false, 0},
        {"banner, line open", "Welcome\ncmd=)> ", true, 0},
        {"full buffer, closed, red", full, false, RED},
        {"full buffer, open, red", full, true, RED},
        {"full buffer, open, black", full, true, 0},
        {"banner again, open", "Welcome\ncmd=)> ", true, 0},
    };
    for (int round = 0; round < 2; ++round) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            console.clear();
            console.write(c.text.c_str());
            console.inputOpen = c.inputOpen;
            console.backColor = c.back;
            for (int frame = 0; frame < 6; ++frame) {
                PixelCapture kept = renderedFrame();
                // The same frame drawn directly, without and with the cursor.
                bool matched = false;
                for (const char* cursor : {"", "_"}) {
                    display.clear();
                    if (!c.inputOpen) display.painter.rectangle(0, 0, 640, 480, c.back, c.back);
                    display.textPainter.drawTextInRect((c.text + cursor).c_str(), 0, 0, 640, 480);
                    matched = matched || kept.sameAs(screenShot());
                    if (!c.inputOpen) break;
                }
                EXPECT_TRUE(matched) << "frame " << frame;
            }
        }
    }
}

TEST_F(ConsoleRenderTest, UnterminatedBufferIsDrawnWithoutOverrun) {
    for (bool open : {false, true}) {
        SCOPED_TRACE(open);
        console.inputOpen = open;
        std::memset(console.text, 'x', sizeof console.text);
        PixelCapture shot = renderedFrame();
        EXPECT_GT(shot.count(TEXT), 0);
    }
}

// A kept drawing goes with its DirectDraw object, and a new object may take
// the address of a released one: the cache must not copy from, reuse or
// release the old surface. The test's Screen holds references of its own to
// the real objects, so nothing is freed and a call would show in counts.
TEST_F(ConsoleRenderTest, AKeptDrawingOfAReleasedDirectDrawObjectIsForgotten) {
    Screen own{};
    auto share = [&] {
        own.directDraw = display.screen.directDraw;
        own.backSurface = display.screen.backSurface;
        own.directDraw->AddRef();
        own.backSurface->AddRef();
    };
    share();
    DrawingCache cache{};
    ASSERT_TRUE(cache.begin(own, 64, 32));
    cache.finish();
    IDirectDrawSurface* old = cache.target.backSurface;
    old->AddRef();
    own.release();
    share();  // a new object at the released one's address
    EXPECT_FALSE(cache.show(own)) << "copied from the old surface";
    ASSERT_TRUE(cache.begin(own, 64, 32));
    EXPECT_NE(cache.target.backSurface, old) << "the old surface was used again";
    EXPECT_EQ(old->Release(), 1u) << "the cache released the old surface";
    old->Release();
    cache.target.backSurface->Release();
    own.release();
}

// Scrolled back: history rows, the marker over the text, no cursor; a
// selection in inverted colours.
TEST_F(ConsoleRenderTest, ScrolledBackViewHasTheMarkerAndNoCursor) {
    console.backColor = 0;
    console.clear();
    for (int line = 0; line < 100; ++line) console.write(("line " + std::to_string(line) + "\n").c_str());
    console.inputOpen = true;
    PixelCapture live = renderedFrame();
    EXPECT_NE(live.at(620, 1), TEXT);
    console.scrollView(10);
    PixelCapture back = renderedFrame();
    EXPECT_EQ(back.at(620, 1), TEXT) << "the marker, inverted";
    for (int frame = 0; frame < 40; ++frame) EXPECT_TRUE(renderedFrame().sameAs(back)) << "a cursor in frame " << frame;

    const std::uint64_t top = console.view.top(console.shown());
    console.selection.start({top + 2, 0});
    console.selection.extend({top + 2, 6});
    EXPECT_GT(renderedFrame().count(TEXT), back.count(TEXT) + 100);
    console.selection.clear();
    console.view.toLive();
}

TEST(Clipboard, CopiesAnsiTextAndPastesUnicodeAsAnsi) {
    ASSERT_TRUE(copyToClipboard(nullptr, "one\r\ntwo"));
    EXPECT_EQ(clipboardText(nullptr), "one\r\ntwo");

    const wchar_t wide[] = L"a\u00e9\u65e5b";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof wide);
    std::memcpy(GlobalLock(memory), wide, sizeof wide);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    const std::string text = clipboardText(nullptr);
    ASSERT_GE(text.size(), 3u);
    EXPECT_EQ(text.substr(text.size() - 2), "?b") << "what the code page lacks";
    if (GetACP() == 1252) {
        EXPECT_EQ(text, "a\xe9?b");
    }
}

}  // namespace
