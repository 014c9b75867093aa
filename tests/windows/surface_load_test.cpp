// Loading bitmap files into Surfaces: sizes, the two globals, what is refused,
// and that a Surface never keeps a surface it no longer uses.
#include <cstring>
#include <string>

#include "surface_fixture.h"

namespace {

using namespace surface_files;
using SurfaceLoadTest = SurfaceTest;

TEST_F(SurfaceLoadTest, LoadTakesTheSizeAndSetsTheGlobalsWhileLoadBitmapSurfaceLeavesThem) {
    Surface surface;
    ASSERT_TRUE(display().loadSurface(surface, PATTERN_24));
    EXPECT_EQ(surface.screen, &display().screen);
    ASSERT_NE(surface.surface, nullptr);
    EXPECT_STREQ(surface.fileName, PATTERN_24);
    EXPECT_EQ(surface.width, 32);
    EXPECT_EQ(surface.height, 16);
    EXPECT_EQ(lastBitmapWidth, 32);
    EXPECT_EQ(lastBitmapHeight, 16);

    BitmapSurface small = loadBitmapSurface(directDraw(), SMALL_24);
    ASSERT_NE(small.surface, nullptr);
    EXPECT_EQ(small.width, 8);
    EXPECT_EQ(small.height, 4);
    EXPECT_EQ(lastBitmapWidth, 32);
    EXPECT_EQ(lastBitmapHeight, 16);
    EXPECT_EQ(surfaceDifferences(small.surface, Image(8, 4, GREEN)), "");
    small.surface->Release();

    EXPECT_EQ(loadBitmapSurface(directDraw(), MISSING).surface, nullptr);
    EXPECT_EQ(createSurfaceFromBitmap(directDraw(), MISSING), nullptr);
    EXPECT_EQ(createSurfaceFromBitmap(directDraw(), NOT_BITMAP), nullptr);
    EXPECT_EQ(lastBitmapWidth, 32) << "a failed load changed the globals";
    EXPECT_EQ(lastBitmapHeight, 16);
}

TEST_F(SurfaceLoadTest, BothFileDepthsLoadTheirExactPixels) {
    struct Case {
        const char* what;
        const char* file;
        Image image;
    };
    for (const Case& c :
         {Case{"24-bit", PATTERN_24, patternImage()}, Case{"8-bit palette", PALETTE_8, paletteImage()}}) {
        SCOPED_TRACE(c.what);
        IDirectDrawSurface* surface = createSurfaceFromBitmap(directDraw(), c.file);
        ASSERT_NE(surface, nullptr);
        EXPECT_EQ(surfaceDifferences(surface, c.image), "");
        surface->Release();
    }
}

// Every refused load answers false and leaves no surface, also when the
// Surface held one before.
TEST_F(SurfaceLoadTest, RefusedLoadsAnswerFalseAndHoldNoSurface) {
    // A file that exists under a name of 50 characters: only the length refuses it.
    const std::string longName = std::string("surface-files\\") + std::string(50 - 14 - 4, 'n') + ".bmp";
    const std::string longestName = longName.substr(0, 14) + std::string(49 - 14 - 4, 'n') + ".bmp";
    ASSERT_EQ(longName.size(), 50u);
    ASSERT_EQ(longestName.size(), 49u);
    ASSERT_TRUE(writeBitmap24(longName, patternImage()));
    ASSERT_TRUE(writeBitmap24(longestName, patternImage()));

    struct Case {
        const char* what;
        const char* name;
    };
    for (const Case& c : {Case{"missing file", MISSING}, Case{"not a bitmap", NOT_BITMAP},
                          Case{"name of 50 characters", longName.c_str()}, Case{"no name", nullptr}}) {
        SCOPED_TRACE(c.what);
        Surface surface;
        ASSERT_TRUE(surface.load(PATTERN_24, &display().screen));
        surface.colorKeyed = true;  // the byte after fileName
        EXPECT_FALSE(surface.loadFile(c.name));
        EXPECT_EQ(surface.surface, nullptr);
        EXPECT_TRUE(surface.colorKeyed) << "the name ran past fileName";
        EXPECT_LE(std::strlen(surface.fileName), 49u);
    }
    {
        SCOPED_TRACE("no screen");
        Surface surface;
        EXPECT_FALSE(surface.loadFile(PATTERN_24));
        EXPECT_EQ(surface.surface, nullptr);
        EXPECT_STREQ(surface.fileName, PATTERN_24);
    }
    {
        SCOPED_TRACE("name of 49 characters");
        Surface surface;
        EXPECT_TRUE(surface.load(longestName.c_str(), &display().screen));
        EXPECT_STREQ(surface.fileName, longestName.c_str());
    }
    DeleteFileA(longName.c_str());
    DeleteFileA(longestName.c_str());
}

// The surface's own reference is the only one left when the test holds one
// more, so Release answering 0 shows the Surface gave its reference up.
TEST_F(SurfaceLoadTest, ASurfaceGivesUpTheSurfaceItReplacesReleasesOrIsDestroyedWith) {
    struct Case {
        const char* what;
        void (*drop)(Surface&);
    };
    const Case cases[] = {
        {"loaded over", [](Surface& s) { EXPECT_TRUE(s.loadFile(SMALL_24)); }},
        {"failed load over", [](Surface& s) { EXPECT_FALSE(s.loadFile(MISSING)); }},
        {"released",
         [](Surface& s) {
             s.release();
             EXPECT_EQ(s.surface, nullptr);
         }},
        {"moved onto", [](Surface& s) { s = Surface(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Surface surface;
        ASSERT_TRUE(surface.load(PATTERN_24, &display().screen));
        IDirectDrawSurface* old = surface.surface;
        old->AddRef();
        c.drop(surface);
        EXPECT_NE(surface.surface, old);
        EXPECT_EQ(old->Release(), 0u);
    }
    {
        SCOPED_TRACE("destroyed");
        IDirectDrawSurface* old = nullptr;
        {
            Surface surface;
            ASSERT_TRUE(surface.load(PATTERN_24, &display().screen));
            old = surface.surface;
            old->AddRef();
        }
        EXPECT_EQ(old->Release(), 0u);
    }
}

// A Surface that outlives its DirectDraw object (one defined before the
// Display, or in another translation unit, is destroyed after it) must leave
// the surface that went with the object alone. The test's own Screen gives
// up a reference of its own to the real object, so that nothing is freed and
// a call the Surface must not make shows in the surface's count.
TEST_F(SurfaceLoadTest, ASurfaceOfAReleasedDirectDrawObjectIsForgottenNotCalled) {
    Screen own{};
    own.directDraw = directDraw();
    own.directDraw->AddRef();
    IDirectDrawSurface* kept[2] = {};
    {
        Surface released;
        Surface destroyed;
        ASSERT_TRUE(released.load(PATTERN_24, &own));
        ASSERT_TRUE(destroyed.load(PATTERN_24, &own));
        kept[0] = released.surface;
        kept[1] = destroyed.surface;
        for (IDirectDrawSurface* surface : kept) surface->AddRef();
        own.release();
        released.release();
        EXPECT_EQ(released.surface, nullptr) << "forgotten";
        EXPECT_EQ(kept[0]->Release(), 1u) << "release called the surface";
    }
    EXPECT_EQ(kept[1]->Release(), 1u) << "destruction called the surface";
    for (IDirectDrawSurface* surface : kept) surface->Release();
}

}  // namespace
