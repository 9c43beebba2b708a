// Frame rendering of the screen's styles, checked on pictures made in code.
#include <gtest/gtest.h>

#include <set>

#include "base/Random.h"
#include "effects/Effects.h"
#include "screen/FrameValues.h"
#include "screen/PixelStyles.h"
#include "screen/RectangleStyles.h"
#include "screen/RegionStyles.h"
#include "screen/ScreenGeometry.h"
#include "screen/ScreenTestUtil.h"

namespace screen::test {
namespace {

using raster::Region;

Region Bands(std::initializer_list<Rect> rects) {
    Region r;
    for (const Rect& rect : rects) r.unite(Region::rect(rect));
    return r;
}

TEST(FrameValuesTest, LongerSideMovesInWholePercent) {
    const FrameValues landscape = ComputeFrameValues(720, 480, 25, 4);
    EXPECT_EQ(landscape.X, 180);
    EXPECT_EQ(landscape.Y, 120);
    EXPECT_EQ(landscape.K, 32);

    const FrameValues portrait = ComputeFrameValues(480, 720, 25, 4);
    EXPECT_EQ(portrait.Y, 180);
    EXPECT_EQ(portrait.X, 120);
    EXPECT_EQ(portrait.K, 32);

    // Halves round away from zero: 7.2 -> 7, and 1 % of 50 is 0.5 -> 1.
    EXPECT_EQ(ComputeFrameValues(720, 480, 1, 4).X, 7);
    EXPECT_EQ(ComputeFrameValues(50, 40, 1, 4).X, 1);
}

TEST(RectangleStyleTest, RevealFromLeftCopiesAndInvalidatesOnlyTheRevealedPart) {
    const Bitmap from(720, 480, raster::RGB(255, 255, 255));
    const Bitmap to = PositionPicture(720, 480, 7);
    Bitmap frame(720, 480);
    RecordingSink sink;
    EXPECT_EQ(Render(5, 50, from, to, frame, sink), 50);

    EXPECT_TRUE(SameArea(frame, to, {0, 0, 360, 480}));
    EXPECT_TRUE(SameArea(frame, from, {360, 0, 720, 480}));
    ASSERT_EQ(sink.invalidated.size(), 1u);
    EXPECT_EQ(sink.invalidated[0], (Rect{0, 0, 360, 480}));
    EXPECT_EQ(sink.before, 1);
    EXPECT_EQ(sink.after, 1);
    EXPECT_EQ(sink.updates, 1);
}

TEST(RectangleStyleTest, RollWidthFollowsTheRevealedPart) {
    auto rollOf = [](int X) {
        FrameValues v{720, 480, X, X * 480 / 720, 32};
        const auto plan = RectangleStylePlan(14, v);
        EXPECT_EQ(plan.size(), 2u);
        EXPECT_TRUE(plan[0].roll && plan[0].flipH && !plan[0].flipV);
        EXPECT_EQ(plan[1].D, (Rect{0, 0, X, 480}));
        return plan[0].D.width();
    };
    EXPECT_EQ(rollOf(100), 50);  // X < W div 5: half of X
    EXPECT_EQ(rollOf(400), 72);  // W div 10
    EXPECT_EQ(rollOf(650), 35);  // near the end: half of what is left

    // The vertical roll is the same plan with the axes exchanged.
    const auto down = RectangleStylePlan(31, FrameValues{480, 720, 320, 480, 32});
    EXPECT_TRUE(down[0].flipV && !down[0].flipH);
    EXPECT_EQ(down[0].D, (Rect{0, 480, 480, 552}));
}

TEST(RectangleStyleTest, RollStripMirrorsTheColumnsThatComeNext) {
    // Blue and green hold the column, so every frame pixel names its source.
    Bitmap to(720, 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 720; ++x) to.setPixel(x, y, raster::RGB(9, x >> 8, x & 0xFF));
    const Bitmap from(720, 480);
    Bitmap frame(720, 480);
    RecordingSink sink;
    Render(14, 50, from, to, frame, sink);  // X = 360, roll width 72

    auto sourceColumn = [&](int x) {
        const raster::Color c = frame.pixel(x, 240);
        return raster::GreenOf(c) * 256 + raster::BlueOf(c);
    };
    int previous = 10000;
    for (int x = 360; x <= 360 + 72 + 1; ++x) {
        const int column = sourceColumn(x);
        EXPECT_GE(column, 432);
        EXPECT_LT(column, 504);
        EXPECT_LE(column, previous) << "strip not mirrored at " << x;
        previous = column;
    }
    EXPECT_EQ(sourceColumn(359), 359);
    EXPECT_EQ(frame.pixel(360 + 74, 240), 0u);  // beyond the strip: the snapshot
    // The strip and the revealed part are both repainted.
    ASSERT_EQ(sink.invalidated.size(), 2u);
    EXPECT_EQ(sink.invalidated[0], (Rect{360, 0, 434, 480}));
    EXPECT_EQ(sink.invalidated[1], (Rect{0, 0, 360, 480}));
}

TEST(PixelStyleTest, CrossFadeWeightsBothPicturesAndTruncatesEachTerm) {
    const Bitmap white(4, 3, raster::RGB(255, 255, 255));
    const Bitmap black(4, 3);
    Bitmap frame(4, 3);
    RecordingSink sink;
    Render(118, 50, white, black, frame, sink);
    EXPECT_EQ(frame.pixel(0, 0), raster::RGB(127, 127, 127));
    Render(118, 50, white, white, frame, sink);
    EXPECT_EQ(frame.pixel(3, 2), raster::RGB(254, 254, 254));
    Render(118, 1, black, white, frame, sink);
    EXPECT_EQ(frame.pixel(1, 1), raster::RGB(2, 2, 2));
}

TEST(PixelStyleTest, PivotsSwingThePictureIntoPlace) {
    const Bitmap from(64, 48, raster::RGB(1, 2, 3));
    const Bitmap to = PositionPicture(64, 48, 200);
    auto shown = [](const Bitmap& frame) {
        long n = 0;
        for (int y = 0; y < frame.height(); ++y)
            for (int x = 0; x < frame.width(); ++x) n += raster::RedOf(frame.pixel(x, y)) == 200;
        return n;
    };
    for (int style = 119; style <= 122; ++style) {
        Bitmap frame = from;
        Pivot(frame, to, style, 0);
        EXPECT_TRUE(frame.samePixels(from)) << style;  // a quarter turn: all outside

        long previous = 0;
        for (int p : {25, 50, 75, 99}) {
            frame = from;
            Pivot(frame, to, style, p);
            EXPECT_GT(shown(frame), previous) << style << " at " << p;
            previous = shown(frame);
        }
        EXPECT_GT(previous, 64 * 48 * 9 / 10) << style;
    }
    // Each pivot keeps its own corner in place.
    const struct {
        int style, x, y;
    } corners[] = {{119, 0, 0}, {120, 0, 47}, {121, 63, 0}, {122, 63, 47}};
    for (const auto& c : corners) {
        Bitmap frame = from;
        Pivot(frame, to, c.style, 90);
        EXPECT_EQ(frame.pixel(c.x, c.y), to.pixel(c.x, c.y)) << c.style;
    }
}

TEST(RegionStyleTest, BarsFromTheRightSnapAndThenFillTheOddBands) {
    const FrameValues quarter = ComputeFrameValues(720, 480, 25, 4);  // 2X = 360
    Region expected;
    for (int y = 0; y <= 480; y += 10) expected.unite(Region::rect(360, y, 720, y + 5));
    EXPECT_EQ(*RegionStyleRegion(60, quarter, 25), expected);

    const FrameValues snapped = ComputeFrameValues(720, 480, 49, 4);  // 2X = 706, 706 + 32 > 720
    expected = Region();
    for (int y = 0; y <= 480; y += 10) expected.unite(Region::rect(0, y, 720, y + 5));
    EXPECT_EQ(*RegionStyleRegion(60, snapped, 49), expected);

    const FrameValues late = ComputeFrameValues(720, 480, 75, 4);  // 2X = 1080
    expected = Region();
    for (int y = 5; y < 485; y += 10) {
        expected.unite(Region::rect(0, y - 5, 720, y));
        expected.unite(Region::rect(360, y, 720, y + 5));
    }
    EXPECT_EQ(*RegionStyleRegion(60, late, 75), expected);

    // Through the whole frame: a pixel in an even band shows the picture,
    // the odd band next to it still the snapshot left of the middle.
    const Bitmap from(720, 480);
    const Bitmap to = PositionPicture(720, 480, 5);
    Bitmap frame(720, 480);
    RecordingSink sink;
    Render(60, 75, from, to, frame, sink);
    EXPECT_EQ(frame.pixel(100, 2), to.pixel(100, 2));
    EXPECT_EQ(frame.pixel(100, 7), 0u);
    EXPECT_EQ(frame.pixel(500, 7), to.pixel(500, 7));
    EXPECT_EQ(sink.invalidated.back(), (Rect{0, 0, 720, 480}));
}

TEST(RegionStyleTest, BarsFromBothSidesNeverSnap) {
    const FrameValues half = ComputeFrameValues(720, 480, 50, 4);
    Region expected;
    for (int y = 0; y <= 480; y += 10)
        expected.unite(Bands({{360, y, 720, y + 5}, {0, y + 5, 360, y + 10}}));
    EXPECT_EQ(*RegionStyleRegion(64, half, 50), expected);
    // Near the end the bands are still exactly X long (no snap).
    const FrameValues nearEnd = ComputeFrameValues(720, 480, 98, 100);
    EXPECT_FALSE(RegionStyleRegion(64, nearEnd, 98)->contains(0, 0));
}

TEST(RegionStyleTest, ShredEndsJitterBySeventhOfTheWidth) {
    const FrameValues v = ComputeFrameValues(720, 480, 50, 4);  // X = 360
    base::SetRandSeed(12345);
    const Region shred = *RegionStyleRegion(66, v, 50);  // from the left: right ends jitter

    base::SetRandSeed(12345);
    std::set<int> ends;
    for (int y = 0; y < 480; y += 5) {
        const int r1 = static_cast<int>(base::Random(102));
        const int r2 = static_cast<int>(base::Random(102));
        const int end = 360 + r1 - r2;
        EXPECT_TRUE(shred.contains(end - 1, y)) << y;
        EXPECT_FALSE(shred.contains(end, y)) << y;
        EXPECT_GT(end, 360 - 102);
        EXPECT_LT(end, 360 + 102);
        ends.insert(end);
    }
    EXPECT_GT(ends.size(), 20u);

    // Once the picture is fully revealed the edges are straight.
    const FrameValues full{720, 480, 720, 480, 32};
    EXPECT_EQ(*RegionStyleRegion(65, full, 100), Region::rect(0, 0, 720, 480));
}

TEST(RegionStyleTest, SquaresGrowWithProgress) {
    auto checkGrid = [](int p, int s) {
        base::SetRandSeed(777);
        const auto region = ScreenSquaresRegion(720, 480, p);
        ASSERT_TRUE(region.has_value()) << p;
        bool oddMultiple = false;
        for (const Rect& r : region->rects()) {
            for (int edge : {r.left, r.top, r.right, r.bottom}) {
                EXPECT_EQ(((edge % s) + s) % s, 0) << "p " << p << " edge " << edge;
                oddMultiple |= ((edge / s) % 2) != 0;
            }
        }
        EXPECT_TRUE(oddMultiple) << "blocks are not of size " << s;
    };
    checkGrid(50, 14);  // H div 50 + p div 10 = 9 + 5
    checkGrid(1, 9);

    // Density follows p: more of the frame at 90 than at 10.
    base::SetRandSeed(1);
    const long long sparse =
        ScreenSquaresRegion(720, 480, 10)->intersect(Rect{0, 0, 720, 480}).area();
    base::SetRandSeed(1);
    const long long dense =
        ScreenSquaresRegion(720, 480, 90)->intersect(Rect{0, 0, 720, 480}).area();
    EXPECT_LT(sparse, dense);
}

TEST(RegionStyleTest, SpeckleFringeVanishesOnceTheBandArrives) {
    base::SetRandSeed(99);
    const FrameValues half = ComputeFrameValues(720, 480, 50, 4);
    const Region speckled = *RegionStyleRegion(124, half, 50);  // from the left
    EXPECT_TRUE(speckled.contains(359, 100));
    EXPECT_FALSE(speckled.contains(360 + 72, 100));  // beyond the fringe depth W / 10
    const Region band = Region::rect(0, 0, 360, 480);
    Region fringe = speckled;
    fringe.subtract(band);
    EXPECT_FALSE(fringe.isEmpty());

    const FrameValues full{720, 480, 720, 480, 32};
    EXPECT_EQ(RegionStyleRegion(123, full, 100)->intersect(Rect{0, 0, 720, 480}),
              Region::rect(0, 0, 720, 480));
}

TEST(RegionStyleTest, EllipseInToCentreOpensFromTheCorners) {
    long long previous = -1;
    for (int p = 1; p < 100; p += 7) {
        const FrameValues v = ComputeFrameValues(720, 480, p, 4);
        Region r = *RegionStyleRegion(85, v, p);
        r.intersect(Rect{0, 0, 720, 480});
        EXPECT_GE(r.area(), previous) << p;
        EXPECT_FALSE(r.contains(360, 240)) << p;
        if (!r.isEmpty()) {
            EXPECT_TRUE(r.contains(0, 0)) << p;
        }
        previous = r.area();
    }
    EXPECT_GT(previous, 720 * 480 * 9 / 10);
}

// Properties over every built-in style: the run starts on the snapshot and
// ends on the incoming picture exactly, and in between every pixel comes
// from one of the two pictures (no stray memory, no drawing outside).
TEST(RenderFrameTest, EveryBuiltInStyleStartsOnTheSnapshotAndEndsOnThePicture) {
    struct Size {
        int w, h;
        std::vector<int> progress;
    };
    const Size sizes[] = {{720, 480, {0, 50, 100}},
                          {37, 23, {0, 1, 33, 67, 99, 100}},
                          {23, 37, {0, 1, 50, 99, 100}},
                          {1, 1, {0, 50, 100}},
                          {2, 3, {0, 50, 100}}};
    for (const Size& size : sizes) {
        const Bitmap from = PositionPicture(size.w, size.h, 11);
        const Bitmap to = PositionPicture(size.w, size.h, 222);
        for (int style = 1; style <= 127; ++style) {
            for (int p : size.progress) {
                Bitmap frame(size.w, size.h, raster::RGB(1, 1, 1));
                RecordingSink sink;
                EXPECT_EQ(Render(style, p, from, to, frame, sink), p);
                const std::string where = "style " + std::to_string(style) + " p " +
                                          std::to_string(p) + " size " + std::to_string(size.w) +
                                          "x" + std::to_string(size.h);
                if (p == 0) {
                    EXPECT_TRUE(frame.samePixels(from)) << where;
                }
                if (p == 100) {
                    EXPECT_TRUE(frame.samePixels(to)) << where;
                }
                EXPECT_EQ(sink.after, 1) << where;
                if (style == 118) continue;  // blends
                bool fromEither = true;
                for (int y = 0; y < size.h && fromEither; ++y)
                    for (int x = 0; x < size.w && fromEither; ++x) {
                        const uint8_t tag = raster::RedOf(frame.pixel(x, y));
                        fromEither = tag == 11 || tag == 222;
                    }
                EXPECT_TRUE(fromEither) << where;
            }
        }
    }
}

TEST(RenderFrameTest, CutAndCustomDrawnFrames) {
    const Bitmap from(40, 30, raster::RGB(10, 20, 30));
    const Bitmap to = PositionPicture(40, 30, 99);
    Bitmap frame(40, 30);

    RecordingSink cut;
    EXPECT_EQ(Render(0, 0, from, to, frame, cut), 100);  // the first frame already cuts
    EXPECT_TRUE(frame.samePixels(to));

    RecordingSink reverseCut;
    EXPECT_EQ(Render(0, 100, from, to, frame, reverseCut, 4, true), 0);
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
        EXPECT_EQ(sink.updates, 0);
    }
}

TEST(RenderFrameTest, TableStylesDrawThroughTheEffectTableWithoutForcedRepaint) {
    const Bitmap from(64, 48, raster::RGB(10, 20, 30));
    const Bitmap to = PositionPicture(64, 48, 99);
    for (int style : {128, 150, 172}) {
        Bitmap frame(64, 48);
        RecordingSink sink;
        Render(style, 50, from, to, frame, sink);
        Bitmap expected = from;
        effects::DrawEffect(style, expected, to, 50);
        EXPECT_TRUE(frame.samePixels(expected)) << style;
        EXPECT_EQ(sink.updates, 0);
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
