// Shape reveals: coverage at the ends of a transition, the sweep's fan, the
// turning direction and the worked shapes, checked on generated pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "effects/FamilyMembers.h"
#include "effects/ShapeEffects.h"

namespace effects {
namespace {

using raster::Color;
using raster::Point;
using test_support::MembersOf;

bool IsSweep(int style) {
    return style == 144 || style == 145;
}
bool Turns(int style) {
    return style >= 150 && style <= 152;
}

// Incoming picture: full blue with a red/green gradient, so no pixel of it
// matches the outgoing picture, a checkerboard without blue.
Bitmap Incoming(int W, int H) {
    Bitmap b(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            b.setPixel(x, y, raster::RGB(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 255));
    return b;
}

Bitmap Outgoing(int W, int H) {
    Bitmap b(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            b.setPixel(x, y,
                       ((x / 3 + y / 3) % 2) ? raster::RGB(200, 90, 0) : raster::RGB(10, 60, 0));
    return b;
}

// An incoming picture whose handle has the wanted parity. Handles come from
// a counter, so one of two fresh bitmaps has it; assignment keeps the
// target's handle, so the picture is painted into the bitmap that has it
// rather than the bitmap being replaced.
void MakeIncomingWithHandleParity(std::optional<Bitmap>& picture, int W, int H, bool odd) {
    do picture.emplace();
    while (((picture->handle() & 1u) != 0) != odd);
    *picture = Incoming(W, H);
}

Bitmap Draw(TEffectProc proc, const Bitmap& source, int p) {
    const int W = source.width(), H = source.height();
    const ProgressSize size = ProgressSizeOf(W, H, p);
    Bitmap dest = Outgoing(W, H);
    proc(dest, source, W, H, size.w, size.h, p);
    return dest;
}

bool Revealed(const Bitmap& frame, int x, int y) {
    return raster::BlueOf(frame.pixel(x, y)) == 255;
}

long long RevealedCount(const Bitmap& frame) {
    long long n = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) n += Revealed(frame, x, y);
    return n;
}

// Every member starts from the untouched frame and ends on the incoming
// picture (the sweep excepted), down to the smallest even sizes.
TEST(ShapeEffects, EvenSizesGoFromNothingToTheWholePicture) {
    const std::vector<std::pair<int, int>> sizes = {{2, 2},   {4, 2},   {2, 4},     {18, 12},
                                                    {12, 18}, {64, 48}, {720, 480}, {480, 720}};
    for (const auto& [W, H] : sizes) {
        const Bitmap source = Incoming(W, H), before = Outgoing(W, H);
        for (const TEffect& m : MembersOf(EffectFamily::Shape)) {
            SCOPED_TRACE("style " + std::to_string(m.Style) + " at " + std::to_string(W) + "x" +
                         std::to_string(H));
            EXPECT_TRUE(Draw(m.Proc, source, 0).samePixels(before));
            const Bitmap end = Draw(m.Proc, source, 100);
            if (!IsSweep(m.Style)) {
                EXPECT_TRUE(end.samePixels(source));
            }
        }
    }
}

// Shapes that only grow never hide again what they showed.
TEST(ShapeEffects, GrowingShapesNeverShrink) {
    const int W = 96, H = 64;
    const Bitmap source = Incoming(W, H);
    for (const TEffect& m : MembersOf(EffectFamily::Shape)) {
        if (Turns(m.Style)) continue;
        SCOPED_TRACE("style " + std::to_string(m.Style));
        Bitmap previous = Draw(m.Proc, source, 0);
        for (int p = 1; p <= 100; ++p) {
            const Bitmap frame = Draw(m.Proc, source, p);
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x)
                    if (Revealed(previous, x, y)) {
                        ASSERT_TRUE(Revealed(frame, x, y)) << p;
                    }
            previous = frame;
        }
    }
}

TEST(ShapeEffects, SweepFanReachesTheCorners) {
    EXPECT_EQ(SweepRadius(720, 480), 433);
    EXPECT_EQ(SweepRadius(720, 576), 462);

    constexpr long double pi = std::numbers::pi_v<long double>;
    const std::vector<Point> fan =
        SectorPoints(360, 240, 433, -pi / 2, 100 * pi / 50 - pi / 2, 100);
    ASSERT_EQ(fan.size(), 101u);
    EXPECT_EQ(fan[0], (Point{360, 240}));
    EXPECT_EQ(fan[1], (Point{360, 240 - 433}));   // straight up
    EXPECT_EQ(fan[26], (Point{360 + 433, 240}));  // a quarter turn clockwise
    EXPECT_EQ(fan[100], (Point{333, -192}));      // 356.4 degrees, one step short
    EXPECT_TRUE(SectorRegion(360, 240, 433, -pi / 2, -pi / 2, 0).isEmpty());
    EXPECT_TRUE(SectorRegion(360, 240, 433, -pi / 2, pi / 50 - pi / 2, 1).isEmpty());
}

// At p = 100 only a thin wedge just before straight up stays uncovered; the
// anticlockwise sweep leaves the mirrored wedge. At p = 0 and 1 nothing shows.
TEST(ShapeEffects, SweepLeavesOnlyItsThinWedge) {
    const int W = 720, H = 480, cx = W / 2, cy = H / 2;
    const Bitmap source = Incoming(W, H), before = Outgoing(W, H);
    for (const bool clockwise : {true, false}) {
        const TEffectProc proc = clockwise ? SweepClockwise : SweepAnticlockwise;
        EXPECT_TRUE(Draw(proc, source, 0).samePixels(before));
        EXPECT_TRUE(Draw(proc, source, 1).samePixels(before));
        const Bitmap frame = Draw(proc, source, 100);
        long long hidden = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                if (Revealed(frame, x, y)) continue;
                ++hidden;
                // Angle away from straight up, towards the side the wedge lies on.
                const double side = clockwise ? cx - (x + 0.5) : (x + 0.5) - cx;
                const double degrees = std::atan2(side, cy - (y + 0.5)) * 180 / std::numbers::pi;
                ASSERT_GE(degrees, -0.5) << x << "," << y;
                ASSERT_LE(degrees, 4.0) << x << "," << y;
            }
        EXPECT_GT(hidden, 1000);
        EXPECT_FALSE(Revealed(frame, clockwise ? 352 : 367, 0));
        for (const Point corner :
             {Point{0, 0}, Point{W - 1, 0}, Point{0, H - 1}, Point{W - 1, H - 1}})
            EXPECT_TRUE(Revealed(frame, corner.x, corner.y));
    }
}

TEST(ShapeEffects, TurningShapesFollowTheHandle) {
    constexpr long double pi = std::numbers::pi_v<long double>;
    EXPECT_NEAR(TurningAngle(50, 2), pi, 1e-15);
    EXPECT_NEAR(TurningAngle(50, 3), -pi, 1e-15);
    std::vector<Point> corners = {{300, 200}, {420, 200}, {420, 280}, {300, 280}};
    RotatePoints(corners, 360, 240, TurningAngle(50, 2));
    EXPECT_EQ(corners, (std::vector<Point>{{420, 280}, {300, 280}, {300, 200}, {420, 200}}));

    // At p = 10 the rectangle has turned 36 degrees: clockwise it has left
    // the point above right of the centre, anticlockwise it covers it.
    const int W = 720, H = 480, cx = W / 2, cy = H / 2;
    std::optional<Bitmap> evenPicture, oddPicture;
    MakeIncomingWithHandleParity(evenPicture, W, H, false);
    MakeIncomingWithHandleParity(oddPicture, W, H, true);
    const Bitmap& even = *evenPicture;
    const Bitmap& odd = *oddPicture;
    ASSERT_EQ(even.handle() & 1u, 0u);
    ASSERT_EQ(odd.handle() & 1u, 1u);
    const Bitmap clockwise = Draw(RotationalRectangleInCenter, even, 10);
    const Bitmap anticlockwise = Draw(RotationalRectangleInCenter, odd, 10);
    EXPECT_FALSE(Revealed(clockwise, cx + 12, cy - 36));
    EXPECT_TRUE(Revealed(clockwise, cx + 12, cy + 36));
    EXPECT_TRUE(Revealed(anticlockwise, cx + 12, cy - 36));
    EXPECT_FALSE(Revealed(anticlockwise, cx + 12, cy + 36));
    EXPECT_EQ(RevealedCount(clockwise), RevealedCount(anticlockwise));

    // The spiral turns about (w, h) = (180, 120) at p = 25: a quarter turn
    // carries the centred 180x120 rectangle below-left or above-right of it.
    const Bitmap down = Draw(SpiralRectangle, even, 25);
    const Bitmap up = Draw(SpiralRectangle, odd, 25);
    EXPECT_TRUE(Revealed(down, 60, 300));
    EXPECT_FALSE(Revealed(down, 300, 10));
    EXPECT_TRUE(Revealed(up, 300, 10));
    EXPECT_FALSE(Revealed(up, 60, 300));
    EXPECT_EQ(RevealedCount(down), 120 * 180);
}

TEST(ShapeEffects, WorkedShapes) {
    const int W = 720, H = 480;
    const Bitmap source = Incoming(W, H);

    // The curved front at p = 50 reaches the right side on the middle row
    // and only grazes the left side on the top and bottom rows.
    const Bitmap curved = Draw(CurvedRevealFromLeft, source, 50);
    for (int x = 0; x < W; ++x) ASSERT_TRUE(Revealed(curved, x, H / 2));
    for (const int y : {0, H - 1}) {
        EXPECT_TRUE(Revealed(curved, 0, y));
        EXPECT_FALSE(Revealed(curved, W / 8, y));
    }

    // The diagonal box at p = 50 is a ring: the centre and the corners stay.
    const Bitmap box = Draw(DiagonalBoxOut, source, 50);
    EXPECT_FALSE(Revealed(box, W / 2, H / 2));
    EXPECT_FALSE(Revealed(box, 0, 0));
    EXPECT_TRUE(Revealed(box, W / 2, 30));
    EXPECT_TRUE(Revealed(box, 100, H / 2));

    // The zigzag band at p = 50: n = 48, pitch 72, c = MulDiv(48, 50, 100) + 120 = 144, so
    // the upper edge runs between rows 144 and 48, the lower one 2c below it.
    const Bitmap zigzag = Draw(ZigzagHorizontal, source, 50);
    EXPECT_TRUE(Revealed(zigzag, 0, 143));
    EXPECT_FALSE(Revealed(zigzag, 0, 142));
    EXPECT_TRUE(Revealed(zigzag, 72, 49));
    EXPECT_FALSE(Revealed(zigzag, 72, 47));
    EXPECT_TRUE(Revealed(zigzag, 0, 430));
    EXPECT_FALSE(Revealed(zigzag, 0, 431));
    EXPECT_TRUE(Revealed(zigzag, 72, 336));
    EXPECT_FALSE(Revealed(zigzag, 72, 337));
}

}  // namespace
}  // namespace effects
