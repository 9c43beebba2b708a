// Frame rendering of the screen, checked on pictures made in code.
#include <gtest/gtest.h>

#include "base/Random.h"
#include "effects/Effects.h"
#include "screen/ScreenGeometry.h"
#include "screen/ScreenTestUtil.h"

namespace screen::test {
namespace {

TEST(RenderFrameTest, CutAndCustomDrawnFrames) {
    const Bitmap from(40, 30, raster::RGB(10, 20, 30));
    const Bitmap to = PositionPicture(40, 30, 99);
    Bitmap frame(40, 30);

    RecordingSink cut;
    EXPECT_EQ(Render(0, 0, from, to, frame, cut), 100);  // the first frame already cuts
    EXPECT_TRUE(frame.samePixels(to));

    RecordingSink reverseCut;
    EXPECT_EQ(Render(0, 100, from, to, frame, reverseCut, true), 0);
    EXPECT_TRUE(frame.samePixels(from));

    // With a handler the host draws; nothing of the picture is added before 100.
    RecordingSink custom;
    custom.hasCustomDraw = true;
    EXPECT_EQ(Render(0, 50, from, to, frame, custom), 50);
    EXPECT_EQ(custom.customDraws, 1);
    EXPECT_TRUE(frame.samePixels(from));
    EXPECT_EQ(Render(0, 100, from, to, frame, custom), 100);
    EXPECT_TRUE(frame.samePixels(to));
}

TEST(RenderFrameTest, StylesAboveTheTableLeaveTheSnapshot) {
    const Bitmap from(40, 30, raster::RGB(10, 20, 30));
    const Bitmap to = PositionPicture(40, 30, 99);
    for (int style : {173, 200, 255}) {
        Bitmap frame(40, 30);
        RecordingSink sink;
        EXPECT_EQ(Render(style, 50, from, to, frame, sink), 50);
        EXPECT_TRUE(frame.samePixels(from));
        EXPECT_EQ(sink.before, 1);
        EXPECT_EQ(sink.after, 0);
        EXPECT_TRUE(sink.invalidated.empty());
    }
}

// Every style is the video's, the ones below 128 too, which the screen once
// drew in versions of its own.
TEST(RenderFrameTest, EveryStyleDrawsThroughTheEffectTable) {
    const Bitmap from(64, 48, raster::RGB(10, 20, 30));
    const Bitmap to = PositionPicture(64, 48, 99);
    for (int style : {1, 14, 60, 85, 118, 127, 128, 150, 172}) {
        Bitmap frame(64, 48);
        RecordingSink sink;
        // Some styles draw from the generator as they find it.
        base::SetRandSeed(7);
        Render(style, 50, from, to, frame, sink);
        Bitmap expected = from;
        base::SetRandSeed(7);
        effects::DrawEffect(style, expected, to, 50);
        EXPECT_TRUE(frame.samePixels(expected)) << style;
        EXPECT_EQ(sink.after, 1);
        ASSERT_EQ(sink.invalidated.size(), 1u);
        EXPECT_EQ(sink.invalidated[0], (Rect{0, 0, 64, 48}));

        Render(style, 100, from, to, frame, sink);
        EXPECT_TRUE(frame.samePixels(to)) << style;
        Render(style, 0, from, to, frame, sink);
        EXPECT_TRUE(frame.samePixels(from)) << style;
    }
}

TEST(ScreenGeometryTest, FitRectKeepsProportionsAndCentres) {
    EXPECT_EQ(FitRect({0, 0, 100, 50}, {0, 0, 200, 200}), (Rect{0, 50, 200, 150}));
    EXPECT_EQ(FitRect({0, 0, 50, 100}, {10, 10, 210, 110}), (Rect{85, 10, 135, 110}));
    EXPECT_EQ(FitRect({0, 0, 0, 0}, {0, 0, 200, 100}), (Rect{100, 50, 100, 50}));
}

TEST(ScreenGeometryTest, TileDrawRepeatsFromTheRectangleCorner) {
    const Bitmap tile = PositionPicture(3, 2, 1);
    Bitmap aligned(8, 5);
    TileDraw(aligned, {0, 0, 8, 5}, tile);
    Bitmap shifted(8, 5);
    TileDraw(shifted, {1, 1, 8, 5}, tile);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(aligned.pixel(x, y), tile.pixel(x % 3, y % 2));
            if (x >= 1 && y >= 1) {
                EXPECT_EQ(shifted.pixel(x, y), tile.pixel((x - 1) % 3, (y - 1) % 2));
            }
        }
}

}  // namespace
}  // namespace screen::test
