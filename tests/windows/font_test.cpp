// The font factories: what GDI was asked for, read back from the handles.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/display/display.h"
#include "framework/text/font.h"

namespace {

LOGFONTA describe(HFONT font) {
    LOGFONTA description{};
    GetObjectA(font, sizeof description, &description);
    return description;
}

TEST(Fonts, CreateFontAsksForModernFaceOfHeight) {
    Display display{};
    for (HFONT font : {createFont("Arial", 12), display.createFont("Arial", 12)}) {
        ASSERT_NE(font, nullptr);
        LOGFONTA d = describe(font);
        EXPECT_EQ(d.lfHeight, 12);
        EXPECT_EQ(d.lfWidth, 0);
        EXPECT_EQ(d.lfWeight, FW_DONTCARE);
        EXPECT_FALSE(d.lfUnderline);
        EXPECT_EQ(d.lfCharSet, ANSI_CHARSET);
        EXPECT_EQ(d.lfQuality, DEFAULT_QUALITY);
        EXPECT_EQ(d.lfPitchAndFamily, FF_MODERN | DEFAULT_PITCH);
        EXPECT_STREQ(d.lfFaceName, "Arial");
    }
}

TEST(Fonts, DefaultFontsAreArialThirteenNotAntialiased) {
    TextPainter painter{};
    Screen screen{};
    painter.init(&screen);
    LOGFONTA normal = describe(painter.font);
    LOGFONTA underlined = describe(painter.underlineFont);
    for (const LOGFONTA& d : {normal, underlined}) {
        EXPECT_EQ(d.lfHeight, 13);
        EXPECT_EQ(d.lfWeight, FW_NORMAL);
        EXPECT_EQ(d.lfQuality, NONANTIALIASED_QUALITY);
        EXPECT_EQ(d.lfPitchAndFamily, VARIABLE_PITCH | FF_DONTCARE);
        EXPECT_STREQ(d.lfFaceName, "Arial");
    }
    EXPECT_FALSE(normal.lfUnderline);
    EXPECT_TRUE(underlined.lfUnderline);

    HFONT before = painter.font;
    painter.createDefaultFont();
    EXPECT_NE(painter.font, before);
    EXPECT_EQ(describe(painter.font).lfHeight, 13);
}

}  // namespace
