// Grid, blind and shred reveals.
#include <gtest/gtest.h>

#include "base/Random.h"
#include "effects/GridEffects.h"
#include "effects/RevealFixture.h"

namespace effects {
namespace {

using testing::IncomingPicture;
using testing::RevealMask;
using testing::RevealOf;
using Runs = std::vector<std::pair<int, int>>;

// Runs [first + k * pitch, first + k * pitch + length) for k = 0..count-1.
Runs Periodic(int first, int length, int pitch, int count) {
    Runs runs;
    for (int k = 0; k < count; ++k) runs.push_back({first + k * pitch, first + k * pitch + length});
    return runs;
}

TEST(GridMembers, GridSizesOn720By480) {
    const Bitmap incoming = IncomingPicture(720, 480);
    // Vertical blinds: n = 19, slats on a 38-pixel pitch, 2 * MulDiv(19, 50, 100) = 20 wide.
    EXPECT_EQ(RevealOf(BlindVertically, incoming, 50).rowRuns(0), Periodic(9, 20, 38, 19));
    // Horizontal blinds: n = 13, the last slat cut by the frame.
    Runs rows = Periodic(6, 14, 26, 19);
    rows.back().second = 480;
    EXPECT_EQ(RevealOf(BlindHorizontally, incoming, 50).columnRuns(0), rows);
    // Rectangular, circular and diamond shreds: n = 49, cells 98 wide; at
    // p = 25 the squares are 24 wide, circles of radius 18, diamonds of 25.
    const RevealMask squares = RevealOf(RectangularShred, incoming, 25);
    EXPECT_EQ(squares.rowRuns(49), Periodic(37, 24, 98, 7));
    EXPECT_EQ(squares.columnRuns(49), Periodic(37, 24, 98, 5));
    const RevealMask circles = RevealOf(CircularShred, incoming, 25);
    // The eighth column's centre lies beyond the frame; its circle still reaches in.
    Runs circleRow = Periodic(31, 36, 98, 7);
    circleRow.push_back({717, 720});
    EXPECT_EQ(circles.rowRuns(49), circleRow);
    EXPECT_EQ(circles.columnRuns(49 + 98), Periodic(31, 36, 98, 5));
    Runs diamondRow = Periodic(24, 49, 98, 7);
    diamondRow.push_back({710, 720});
    EXPECT_EQ(RevealOf(DiamondShred, incoming, 25).rowRuns(49), diamondRow);
    // Triangular shred: nx = 73, ny = 49. At p = 50 the triangles span
    // 146 x 98, apex down, so row 49 crosses each at half its width.
    const RevealMask triangles = RevealOf(TriangularShred, incoming, 50);
    EXPECT_EQ(triangles.rowRuns(49), Periodic(37, 72, 146, 5));
    EXPECT_EQ(triangles.rowRuns(49 + 98), Periodic(37, 72, 146, 5));
    EXPECT_EQ(triangles.rowRuns(0), (Runs{{0, 720}}));
    // Random squares: k = 10, so every 20 x 20 cell is all shown or all hidden.
    const RevealMask cells = RevealOf(RandomSquaresAppear, incoming, 50);
    int shown = 0;
    for (int cy = 0; cy < 480; cy += 20)
        for (int cx = 0; cx < 720; cx += 20) {
            const bool on = cells.at(cx, cy);
            shown += on;
            for (int y = cy; y < cy + 20; ++y)
                for (int x = cx; x < cx + 20; ++x)
                    ASSERT_EQ(cells.at(x, y), on) << "cell " << cx << "," << cy;
        }
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, 36 * 24);
}

TEST(GridMembers, UnevenBlindsRepeatOnTheProgressScaledSize) {
    // p = 50 on 720 x 480: w = 360, h = 240, slats a half of that wide.
    const Bitmap incoming = IncomingPicture(720, 480);
    EXPECT_EQ(RevealOf(UnevenBlindFromLeft, incoming, 50).rowRuns(0), (Runs{{0, 180}, {360, 540}}));
    EXPECT_EQ(RevealOf(UnevenBlindFromRight, incoming, 50).rowRuns(0),
              (Runs{{180, 360}, {540, 720}}));
    EXPECT_EQ(RevealOf(UnevenBlindFromTop, incoming, 50).columnRuns(0),
              (Runs{{0, 120}, {240, 360}}));
    EXPECT_EQ(RevealOf(UnevenBlindFromBottom, incoming, 50).columnRuns(0),
              (Runs{{120, 240}, {360, 480}}));
}

TEST(GridMembers, RectanglesCombineBandsWithSlats) {
    const Bitmap incoming = IncomingPicture(720, 480);
    // Rows: n = 480 div 20 = 24, bands 24 high every 72 rows from -24;
    // slats w = 360 apart, 180 wide.
    const Runs bands = Periodic(36, 24, 72, 6);
    const RevealMask left = RevealOf(RectanglesAppearFromLeftAndDisappearToRight, incoming, 50);
    EXPECT_EQ(left.columnRuns(200), bands);
    EXPECT_EQ(left.rowRuns(0), (Runs{{0, 180}, {360, 540}}));
    const RevealMask right = RevealOf(RectanglesAppearFromRightAndDisappearToLeft, incoming, 50);
    EXPECT_EQ(right.columnRuns(100), bands);
    EXPECT_EQ(right.rowRuns(0), (Runs{{180, 360}, {540, 720}}));
    // Columns: n = 720 div 20 = 36, bands 36 wide every 108 columns from -36;
    // slats h = 240 apart, 120 high.
    const Runs columnBands = Periodic(54, 36, 108, 6);
    const RevealMask up = RevealOf(RectanglesAppearFromUpAndDisappearToBottom, incoming, 50);
    EXPECT_EQ(up.rowRuns(200), columnBands);
    EXPECT_EQ(up.columnRuns(0), (Runs{{0, 120}, {240, 360}}));
    const RevealMask down = RevealOf(RectanglesAppearFromBottomAndDisappearToUp, incoming, 50);
    EXPECT_EQ(down.rowRuns(300), columnBands);
    EXPECT_EQ(down.columnRuns(0), (Runs{{120, 240}, {360, 480}}));
}

TEST(GridMembers, NoRegionDrawsNothing) {
    // Bands need a picture at least 20 pixels across them.
    EXPECT_TRUE(
        RevealOf(RectanglesAppearFromLeftAndDisappearToRight, IncomingPicture(300, 19), 50).none());
    EXPECT_TRUE(
        RevealOf(RectanglesAppearFromRightAndDisappearToLeft, IncomingPicture(300, 19), 50).none());
    EXPECT_TRUE(
        RevealOf(RectanglesAppearFromUpAndDisappearToBottom, IncomingPicture(19, 300), 50).none());
    EXPECT_TRUE(
        RevealOf(RectanglesAppearFromBottomAndDisappearToUp, IncomingPicture(19, 300), 50).none());
    // A zero progress-scaled size with progress would loop forever if it were
    // taken as a pitch; it draws nothing instead.
    const Bitmap incoming = IncomingPicture(40, 30);
    for (TEffectProc proc : {UnevenBlindFromLeft, UnevenBlindFromRight, UnevenBlindFromTop,
                             UnevenBlindFromBottom, RectanglesAppearFromLeftAndDisappearToRight,
                             RectanglesAppearFromUpAndDisappearToBottom}) {
        Bitmap frame(40, 30);
        proc(frame, incoming, 40, 30, 0, 0, 50);
        EXPECT_TRUE(RevealMask(frame, incoming).none());
        proc(frame, incoming, 40, 30, -3, -2, 50);
        EXPECT_TRUE(RevealMask(frame, incoming).none());
    }
}

TEST(GridMembers, GrowingShapesOnlyEverAdd) {
    const Bitmap incoming = IncomingPicture(300, 200);
    for (TEffectProc proc : {BlindVertically, BlindHorizontally, RectangularShred, CircularShred,
                             DiamondShred, RandomSquaresAppear}) {
        RevealMask previous = RevealOf(proc, incoming, 0);
        for (int p = 1; p <= 100; ++p) {
            RevealMask next = RevealOf(proc, incoming, p);
            ASSERT_TRUE(previous.within(next)) << p;
            previous = std::move(next);
        }
    }
}

// Another picture object with the same pixels has another handle, and
// another pattern.
TEST(RandomSquaresAppear, PatternBelongsToTheSourceObject) {
    const Bitmap incoming = IncomingPicture(200, 150);
    const Bitmap twin(incoming);
    EXPECT_FALSE(RevealOf(RandomSquaresAppear, twin, 40) ==
                 RevealOf(RandomSquaresAppear, incoming, 40));
}

}  // namespace
}  // namespace effects
