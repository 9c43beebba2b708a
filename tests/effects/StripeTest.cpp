// Striped region reveals: bars, criss-cross, uneven shreds and speckled edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "base/Random.h"
#include "effects/FamilyMembers.h"
#include "effects/RevealFixture.h"
#include "effects/StripeEffects.h"

namespace effects {
namespace {

using test_support::MembersOf;
using testing::AreaWithin;
using testing::IncomingPicture;
using testing::RevealMask;
using testing::RevealOf;

// The generator state after 'draws' numbers from 'seed'.
uint32_t StateAfter(uint32_t seed, int draws) {
    base::ScopedRandSeed scope(seed);
    for (int i = 0; i < draws; ++i) base::Random(1);
    return base::RandSeed();
}

bool Covers(const OptRegion& region, const raster::Rect& r) {
    if (!region) return false;
    raster::Region rest = Region::rect(r);
    rest.subtract(*region);
    return rest.isEmpty();
}

bool Touches(const OptRegion& region, const raster::Rect& r) {
    if (!region) return false;
    raster::Region common = *region;
    common.intersect(r);
    return !common.isEmpty();
}

TEST(BarsRegion, BarsAreAFiftiethOfTheSmallerSideThick) {
    // Min(W, H) = 480: 10-pixel bars; at X = W mode 1 shows the even ones.
    const OptRegion thick = BarsRegion(720, 0, 720, 480, 1, 0);
    ASSERT_TRUE(thick);
    EXPECT_TRUE(Covers(thick, {0, 0, 720, 10}));
    EXPECT_FALSE(Touches(thick, {0, 10, 720, 20}));
    EXPECT_TRUE(Covers(thick, {0, 20, 720, 30}));
    EXPECT_TRUE(Covers(thick, {0, 460, 720, 470}));
    EXPECT_FALSE(Touches(thick, {0, 470, 720, 480}));
    // Min(W, H) = 49: 1-pixel bars, here columns.
    const OptRegion thin = BarsRegion(0, 60, 49, 60, 0, 1);
    for (int x = 0; x < 49; ++x)
        EXPECT_EQ(Covers(thin, {x, 0, x + 1, 60}), x % 2 == 0) << "column " << x;
    EXPECT_FALSE(Touches(thin, {1, 0, 2, 60}));
}

TEST(BarsRegion, PictureSizeFinishesEvenBarsAndTwiceItEverything) {
    for (auto [W, H] : {std::pair{720, 480}, std::pair{101, 77}, std::pair{49, 300}}) {
        const int e = std::min(W, H) / 50 + 1;
        for (int mode : {1, 2, 4, 5}) {
            const OptRegion rows = BarsRegion(W, 0, W, H, mode, 0);
            const OptRegion columns = BarsRegion(0, H, W, H, 0, mode);
            for (int at = 0; at < H; at += e)
                EXPECT_EQ(Covers(rows, {0, at, W, std::min(at + e, H)}), at / e % 2 == 0)
                    << W << "x" << H << " mode " << mode << " row " << at;
            for (int at = 0; at < W; at += e)
                EXPECT_EQ(Covers(columns, {at, 0, std::min(at + e, W), H}), at / e % 2 == 0)
                    << W << "x" << H << " mode " << mode << " column " << at;
            EXPECT_TRUE(Covers(BarsRegion(2 * W, 0, W, H, mode, 0), {0, 0, W, H}));
            EXPECT_TRUE(Covers(BarsRegion(0, 2 * H, W, H, 0, mode), {0, 0, W, H}));
        }
        // Mode 3 runs both halves at once and is done at the picture size.
        EXPECT_TRUE(Covers(BarsRegion(W, H, W, H, 3, 3), {0, 0, W, H}));
    }
}

TEST(BarsRegion, EachModeGrowsFromItsOwnEdge) {
    const int W = 400, H = 300, e = 7;
    const raster::Rect even{0, 0, W, e}, odd{0, e, W, 2 * e};
    auto span = [](int l, int r, const raster::Rect& bar) {
        return raster::Rect{l, bar.top, r, bar.bottom};
    };
    // Half way into the first phase.
    const OptRegion right = BarsRegion(W / 2, 0, W, H, 1, 0);
    EXPECT_TRUE(Covers(right, span(W / 2, W, even)));
    EXPECT_FALSE(Touches(right, span(0, W / 2, even)));
    const OptRegion left = BarsRegion(W / 2, 0, W, H, 2, 0);
    EXPECT_TRUE(Covers(left, span(0, W / 2, even)));
    EXPECT_FALSE(Touches(left, span(W / 2, W, even)));
    const OptRegion both = BarsRegion(W / 4, 0, W, H, 3, 0);
    EXPECT_TRUE(Covers(both, span(3 * W / 4, W, even)));
    EXPECT_FALSE(Touches(both, span(0, 3 * W / 4, even)));
    EXPECT_TRUE(Covers(both, span(0, W / 4, odd)));
    EXPECT_FALSE(Touches(both, span(W / 4, W, odd)));
    // Half way into the second phase: even bars done, odd ones half grown.
    const OptRegion bounce4 = BarsRegion(3 * W / 2, 0, W, H, 4, 0);
    EXPECT_TRUE(Covers(bounce4, even));
    EXPECT_TRUE(Covers(bounce4, span(W / 2, W, odd)));
    EXPECT_FALSE(Touches(bounce4, span(0, W / 2, odd)));
    const OptRegion bounce5 = BarsRegion(3 * W / 2, 0, W, H, 5, 0);
    EXPECT_TRUE(Covers(bounce5, even));
    EXPECT_TRUE(Covers(bounce5, span(0, W / 2, odd)));
    EXPECT_FALSE(Touches(bounce5, span(W / 2, W, odd)));
    // Columns: mode 1 from the bottom, 2 from the top.
    EXPECT_TRUE(Covers(BarsRegion(0, H / 2, W, H, 0, 1), {0, H / 2, e, H}));
    EXPECT_FALSE(Touches(BarsRegion(0, H / 2, W, H, 0, 1), {0, 0, e, H / 2}));
    EXPECT_TRUE(Covers(BarsRegion(0, H / 2, W, H, 0, 2), {0, 0, e, H / 2}));
    EXPECT_FALSE(Touches(BarsRegion(0, H / 2, W, H, 0, 2), {0, H / 2, e, H}));
}

TEST(BarsRegion, GrowsWithTheExtent) {
    const int W = 130, H = 90;
    for (int mode = 1; mode <= 5; ++mode) {
        const int limit = mode == 3 ? W : 2 * W;
        OptRegion previous = BarsRegion(0, 0, W, H, mode, mode);
        for (int x = 1; x <= limit; ++x) {
            const int y = x * H / W;
            const OptRegion next = BarsRegion(x, y, W, H, mode, mode);
            raster::Region lost = *previous;
            lost.subtract(*next);
            ASSERT_TRUE(lost.isEmpty()) << "mode " << mode << " extent " << x;
            previous = next;
        }
    }
}

// The table-wide test covers even sizes; odd ones leave remainders.
TEST(StripeMembers, OddSizesFinishOnTheIncomingPicture) {
    const Bitmap odd = IncomingPicture(101, 77);
    for (const TEffect& e : MembersOf(EffectFamily::Stripe, [](const TEffect& e) {
             return std::string_view(e.Name).starts_with("Bars") ||
                    std::string_view(e.Name).starts_with("Criss Cross");
         }))
        EXPECT_TRUE(RevealOf(e.Proc, odd, 100).all()) << e.Name;
    // Shreds from one edge reach across odd sizes too: strips carry the remainder.
    EXPECT_TRUE(RevealOf(UnevenShredFromRight, IncomingPicture(722, 481), 100).all());
    EXPECT_TRUE(RevealOf(UnevenShredFromTop, IncomingPicture(481, 722), 100).all());
}

TEST(StripeMembers, CrossingPatternShowsOnlyWhereBothPatternsOpened) {
    const Bitmap incoming = IncomingPicture(300, 200);
    for (int p : {10, 30, 60, 80}) {
        const RevealMask crossing = RevealOf(CrissCrossRevealFromBottomLeftTopRight, incoming, p);
        const RevealMask a = RevealOf(CrissCrossRevealFromBottomRight, incoming, p);
        const RevealMask b = RevealOf(CrissCrossRevealFromTopLeft, incoming, p);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x)
                ASSERT_EQ(crossing.at(x, y), a.at(x, y) && b.at(x, y))
                    << p << "% " << x << "," << y;
    }
}

TEST(ShredRegion, NoJitterOnceTheExtentReachesThePicture) {
    const int W = 720, H = 480, e = 3;  // Min(W, H) div 200 + 1
    const uint32_t seed = 0x1234567u;
    base::SetRandSeed(seed);
    EXPECT_TRUE(Covers(ShredRegion(W, 0, W, H, 1, 0), {0, 0, W, H}));
    // One draw per strip even without jitter.
    EXPECT_EQ(base::RandSeed(), StateAfter(seed, H / e));
    // Exactly the extent: a strip of the left mode ends where it says.
    const OptRegion left = ShredRegion(W + 20, 0, W, H, 2, 0);
    EXPECT_TRUE(Covers(left, {0, 0, W + 20, H}));
    EXPECT_FALSE(Touches(left, {W + 20, 0, W + 40, H}));
    for (int mode : {3, 4}) {
        EXPECT_TRUE(Covers(ShredRegion(W, H, W, H, mode, mode), {0, 0, W, H})) << mode;
    }
}

TEST(ShredRegion, EdgesJitterWithinATenthAndAdvanceOneDrawPerStrip) {
    const int W = 720, H = 480, e = 3, X = 300, Y = 200;
    const uint32_t seed = 99;
    base::SetRandSeed(seed);
    const OptRegion first = ShredRegion(X, Y, W, H, 2, 1);
    EXPECT_EQ(base::RandSeed(), StateAfter(seed, H / e + W / e));
    const OptRegion second = ShredRegion(X, Y, W, H, 2, 1);
    ASSERT_TRUE(first && second);
    EXPECT_FALSE(*first == *second);

    // Rows from the left and columns from the bottom, each within a tenth of
    // the picture of the extent and level across a strip.
    const OptRegion rows = ShredRegion(X, 0, W, H, 2, 0);
    std::vector<int> lengths;
    for (int y = 0; y < H; y += e) {
        int length = 0;
        while (length < W && rows->contains(length, y)) ++length;
        EXPECT_GE(length, X - W / 10) << y;
        EXPECT_LT(length, X + W / 10) << y;
        EXPECT_TRUE(Covers(rows, {0, y, length, y + e}));
        EXPECT_FALSE(Touches(rows, {length, y, W, y + 1}));
        lengths.push_back(length);
    }
    std::sort(lengths.begin(), lengths.end());
    EXPECT_GT(lengths.back() - lengths.front(), W / 20) << "the jitter spreads over its range";
    const OptRegion columns = ShredRegion(0, Y, W, H, 0, 1);
    for (int x = 0; x < W; x += e) {
        int length = 0;
        while (length < H && columns->contains(x, H - 1 - length)) ++length;
        EXPECT_GE(length, Y - H / 10) << x;
        EXPECT_LT(length, Y + H / 10) << x;
    }
    // Out from the middle: halves meet at the centre line.
    const OptRegion middle = ShredRegion(X, 0, W, H, 3, 0);
    for (int y = 0; y < H; y += e) {
        EXPECT_TRUE(middle->contains(W / 2 - 1, y) && middle->contains(W / 2, y)) << y;
        EXPECT_FALSE(middle->contains(0, y) || middle->contains(W - 1, y)) << y;
    }
}

// The fringe squares that one fringe row should show, replaying the draws:
// square i of 'count' is shown when Random(i) <= 1 inside the near zone and
// Random(i) = 0 beyond it; draws run from the farthest square inwards.
std::vector<bool> ExpectedSquares(uint32_t seed, int count, int nearZone) {
    base::ScopedRandSeed scope(seed);
    std::vector<bool> shown(static_cast<size_t>(count) + 1);
    for (int i = count; i >= 1; --i) {
        const uint32_t r = base::Random(static_cast<uint32_t>(i));
        shown[static_cast<size_t>(i)] = i <= nearZone ? r <= 1 : r == 0;
    }
    return shown;
}

TEST(SpeckleRegion, FringeIs72PixelsDeepIn3PixelSquaresFor720) {
    // F = 72, squares of 3, 24 per fringe row, near zone 18.
    const int W = 720, X = 360, s = 3, n = 24, t = 18;
    int nearShown = 0, farShown = 0;
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        const std::vector<bool> expected = ExpectedSquares(seed, n, t);
        base::SetRandSeed(seed);
        const OptRegion left = SpeckleRegion(X, 0, W, 1, 2, 0);  // one fringe row
        ASSERT_EQ(base::RandSeed(), StateAfter(seed, n));
        base::SetRandSeed(seed);
        const OptRegion right = SpeckleRegion(X, 0, W, 1, 1, 0);
        ASSERT_TRUE(left && right);
        EXPECT_TRUE(Covers(left, {0, 0, X, 1}));
        EXPECT_TRUE(Covers(right, {W - X, 0, W, 1}));
        EXPECT_FALSE(Touches(left, {X + n * s, 0, W, 1}));
        EXPECT_FALSE(Touches(right, {0, 0, W - X - n * s, 1}));
        for (int i = 1; i <= n; ++i) {
            const bool shown = expected[static_cast<size_t>(i)];
            const raster::Rect ahead{X + (i - 1) * s, 0, X + i * s, 1};
            const raster::Rect behind{W - X - i * s, 0, W - X - (i - 1) * s, 1};
            ASSERT_EQ(Covers(left, ahead), shown) << "seed " << seed << " square " << i;
            ASSERT_EQ(Touches(left, ahead), shown) << "seed " << seed << " square " << i;
            ASSERT_EQ(Covers(right, behind), shown) << "seed " << seed << " square " << i;
            if (i <= 2) {
                EXPECT_TRUE(shown) << "the two nearest squares always show";
            }
            if (shown) (i <= t ? nearShown : farShown) += 1;
        }
    }
    EXPECT_GT(nearShown, 0);
    EXPECT_GT(farShown, 0);
}

TEST(SpeckleRegion, ColumnsAndRowsAdvanceTheGeneratorPerFringeSlot) {
    // Columns: H = 720 gives the same fringe; W columns half a square apart.
    const uint32_t seed = 7;
    base::SetRandSeed(seed);
    const OptRegion columns = SpeckleRegion(0, 360, 10, 720, 0, 1);
    EXPECT_EQ(base::RandSeed(), StateAfter(seed, 10 * 24));  // columns 0..9, one apart
    EXPECT_TRUE(Covers(columns, {0, 360, 10, 720}));
    EXPECT_TRUE(Covers(columns, {0, 360 - 6, 10, 360}));  // squares 1 and 2
    EXPECT_FALSE(Touches(columns, {0, 0, 10, 360 - 72}));
    // Rows of the left mode with a ragged edge differ from call to call.
    const OptRegion a = SpeckleRegion(200, 0, 720, 100, 2, 0);
    const OptRegion b = SpeckleRegion(200, 0, 720, 100, 2, 0);
    EXPECT_FALSE(*a == *b);
}

TEST(SpeckleRegion, NoFringeOnceTheExtentReachesThePicture) {
    const uint32_t seed = 42;
    base::SetRandSeed(seed);
    const OptRegion rows = SpeckleRegion(720, 0, 720, 480, 1, 0);
    const OptRegion columns = SpeckleRegion(0, 481, 720, 481, 0, 2);
    EXPECT_EQ(base::RandSeed(), seed) << "no fringe, no draws";
    EXPECT_TRUE(Covers(rows, {0, 0, 720, 480}));
    EXPECT_EQ(AreaWithin(*columns, 720, 481), 720LL * 481);
    // Squares are 2 pixels: the last row starts one above the bottom.
    EXPECT_EQ(rows->bounds(), (raster::Rect{0, 0, 720, 481}));
}

}  // namespace
}  // namespace effects
