// Pixel transitions: fade arithmetic, the fixed-point pivots, Pixelate's
// block, and the seeded members' repeatability and growth.
#include <gtest/gtest.h>

#include <cstdlib>
#include <numbers>
#include <string_view>
#include <vector>

#include "base/Random.h"
#include "effects/CodedPictures.h"
#include "effects/FamilyMembers.h"
#include "effects/PixelEffects.h"

namespace effects {
namespace {

using namespace effects::test_support;
using raster::RGB;

std::vector<TEffect> Pivots() {
    return MembersOf(EffectFamily::Pixel, [](const TEffect& e) {
        return std::string_view(e.Name).starts_with("Pivot");
    });
}

TEST(Pixel, FadeTruncatesEachShareSeparately) {
    const Bitmap white(4, 2, RGB(255, 255, 255));
    Bitmap dest(4, 2, RGB(255, 255, 255));
    Draw(Fade, dest, white, 50);
    EXPECT_EQ(dest.pixel(3, 1), RGB(254, 254, 254));  // 127 + 127

    Bitmap mixed(1, 1, RGB(100, 0, 7));
    Draw(Fade, mixed, Bitmap(1, 1, RGB(200, 255, 9)), 30);
    // 70 + 60; 0 + 76; 4 + 2
    EXPECT_EQ(mixed.pixel(0, 0), RGB(130, 76, 6));

    const Bitmap source = Incoming(9, 7);
    dest = Outgoing(9, 7);
    Draw(Fade, dest, source, 0);
    EXPECT_TRUE(dest.samePixels(Outgoing(9, 7)));
}

TEST(Pixel, PivotsAtTheEndShiftSourceByOnePixel) {
    // Angle 0: Dest (x, u) takes Source (x+1, u+1) with u counted from the
    // bottom, so the rightmost column and the top row keep Dest.
    const int width = 24, height = 18;
    const Bitmap source = Incoming(width, height);
    for (const TEffect& pivot : Pivots()) {
        SCOPED_TRACE(pivot.Name);
        Bitmap dest = Outgoing(width, height);
        Draw(pivot.Proc, dest, source, 100);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Origin expected =
                    (x == width - 1 || y == 0) ? FromDest(x, y) : FromSource(x + 1, y - 1);
                ASSERT_EQ(OriginOf(dest, x, y), expected) << x << "," << y;
            }
    }
}

TEST(Pixel, PivotsAtTheStartLieOutsideTheFrame) {
    const Bitmap source = Incoming(24, 18);
    for (const TEffect& pivot : Pivots()) {
        Bitmap dest = Outgoing(24, 18);
        Draw(pivot.Proc, dest, source, 0);
        EXPECT_TRUE(dest.samePixels(Outgoing(24, 18))) << pivot.Name;
    }
}

TEST(Pixel, PivotsSwingInFromTheirCorner) {
    // Partway, the side edge next to the pivot point shows Source (the
    // picture swings in from there) and the opposite corner still shows Dest.
    const int width = 40, height = 30;
    const Bitmap source = Incoming(width, height);
    struct Corner {
        TEffectProc proc;
        int nearX, nearY, farX, farY;
    };
    const Corner corners[] = {
        {PivotFromTopLeft, 2, height - 9, width - 1, 0},
        {PivotFromBottomLeft, 2, 8, width - 1, height - 1},
        {PivotFromTopRight, width - 3, height - 9, 0, 0},
        {PivotFromBottomRight, width - 3, 8, 0, height - 1},
    };
    for (const Corner& c : corners) {
        Bitmap dest = Outgoing(width, height);
        Draw(c.proc, dest, source, 60);
        EXPECT_TRUE(OriginOf(dest, c.nearX, c.nearY).incoming) << c.nearX << "," << c.nearY;
        EXPECT_FALSE(OriginOf(dest, c.farX, c.farY).incoming) << c.farX << "," << c.farY;
    }
}

TEST(Pixel, RotateBitmapHalfTurnAboutTheCentreMirrorsBothWays) {
    const int width = 12, height = 8;
    const Bitmap source = Incoming(width, height);
    Bitmap dest = Outgoing(width, height);
    RotateBitmap(dest, source, width / 2, height / 2, std::numbers::pi);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(OriginOf(dest, x, y), FromSource(width - 1 - x, height - 1 - y))
                << x << "," << y;
}

TEST(Pixel, PixelateBlockOnAPalFrame) {
    // p = 50 on 720 x 576: w = 360, h = 288.
    const PixelateBlock block = PixelateBlockOf(720, 576, 360, 288, 50);
    EXPECT_EQ(block.xs, 353);  // MulDiv(360, 98, 100)
    EXPECT_EQ(block.ys, 282);
    EXPECT_EQ(block.sw, 14);
    EXPECT_EQ(block.sh, 12);
    // The ends: the block is the whole frame.
    const PixelateBlock start = PixelateBlockOf(720, 576, 0, 0, 0);
    const PixelateBlock end = PixelateBlockOf(720, 576, 720, 576, 100);
    EXPECT_TRUE(start.xs == 0 && start.ys == 0 && start.sw == 720 && start.sh == 576);
    EXPECT_TRUE(end.xs == 0 && end.ys == 0 && end.sw == 720 && end.sh == 576);
}

TEST(Pixelate, HalfwayMagnifiesTheBlendedCentralBlock) {
    const Bitmap source = Incoming(720, 576);
    Bitmap dest = Outgoing(720, 576);
    Draw(Pixelate, dest, source, 50);
    // The block (353, 282, 14, 12) blended half way (blue 50 -> 125), then
    // stretched onto (-706, -564, 2132, 1704): the corners show block columns
    // 357 and 362, rows 285 and 290.
    EXPECT_EQ(dest.pixel(0, 0), RGB(357 & 255, 285 & 255, 125));
    EXPECT_EQ(dest.pixel(719, 575), RGB(362 & 255, 290 & 255, 125));
}

TEST(Pixelate, ZoomsIntoDestFirstAndOutOfSourceLast) {
    const Bitmap source = Incoming(80, 60);
    Bitmap dest = Outgoing(80, 60);
    Draw(Pixelate, dest, source, 0);
    EXPECT_TRUE(dest.samePixels(Outgoing(80, 60)));

    // Outside the blend range only one picture is zoomed.
    for (int p : {20, 40, 60, 80}) {
        dest = Outgoing(80, 60);
        Draw(Pixelate, dest, source, p);
        for (int y = 0; y < 60; y += 7)
            for (int x = 0; x < 80; x += 9)
                ASSERT_EQ(raster::BlueOf(dest.pixel(x, y)), p < 50 ? kOutgoingMark : kIncomingMark)
                    << p;
    }
}

TEST(Pixel, BlendRectStaysInsideItsBlockAndTheBitmap) {
    Bitmap dest(6, 4, RGB(0, 0, 0));
    const Bitmap source(6, 4, RGB(255, 100, 0));
    BlendRect(dest, source, 4, -2, 10, 4, 50);  // k = 128
    EXPECT_EQ(dest.pixel(4, 1), RGB(127, 50, 0));
    EXPECT_EQ(dest.pixel(5, 0), RGB(127, 50, 0));
    EXPECT_EQ(dest.pixel(3, 1), RGB(0, 0, 0));
    EXPECT_EQ(dest.pixel(4, 2), RGB(0, 0, 0));
    EXPECT_EQ(Blend(200, 0, 128), 100);
    EXPECT_EQ(Blend(201, 0, 128), 100);  // rounds down, also going down
    EXPECT_EQ(Blend(7, 250, 0), 7);
    EXPECT_EQ(Blend(7, 250, 256), 250);
}

TEST(Seeded, PatternBelongsToTheSourceObject) {
    const Bitmap source = Incoming(40, 30);
    const Bitmap twin(source);  // same pixels, another handle
    int differing = 0;
    for (const TEffectProc proc : {Dissolve, RandomBarsHorizontal, RandomBarsVertical}) {
        Bitmap a = Outgoing(40, 30), b = Outgoing(40, 30);
        Draw(proc, a, source, 50);
        Draw(proc, b, twin, 50);
        if (!a.samePixels(b)) ++differing;
    }
    EXPECT_GE(differing, 2);
}

// Sum over all bytes of the distance between two pictures.
long Distance(const Bitmap& a, const Bitmap& b) {
    long sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int i = 0; i < 3 * a.width(); ++i) sum += std::abs(a.row(y)[i] - b.row(y)[i]);
    return sum;
}

TEST(Seeded, RandomNumbersAreDrawnFromTheBottomUpAndLeftToRight) {
    const Bitmap source = Incoming(20, 10);
    base::SetRandSeed(source.handle());
    const int first = static_cast<int>(base::Random(100));
    const int second = static_cast<int>(base::Random(100));
    base::SetRandSeed(7);

    // The first number decides the bottom row, the bottom-left pixel, the
    // leftmost column; the second one the pixel right of it.
    Bitmap dest = Outgoing(20, 10);
    Draw(RandomBarsHorizontal, dest, source, first + 1);
    EXPECT_TRUE(OriginOf(dest, 5, 9).incoming);
    dest = Outgoing(20, 10);
    Draw(RandomBarsHorizontal, dest, source, first);
    EXPECT_FALSE(OriginOf(dest, 5, 9).incoming);

    dest = Outgoing(20, 10);
    Draw(RandomBarsVertical, dest, source, first + 1);
    EXPECT_TRUE(OriginOf(dest, 0, 3).incoming);
    dest = Outgoing(20, 10);
    Draw(RandomBarsVertical, dest, source, first);
    EXPECT_FALSE(OriginOf(dest, 0, 3).incoming);

    dest = Outgoing(20, 10);
    Draw(Dissolve, dest, source, first + 1);
    EXPECT_TRUE(OriginOf(dest, 0, 9).incoming);
    EXPECT_EQ(OriginOf(dest, 1, 9).incoming, second < first + 1);
    dest = Outgoing(20, 10);
    Draw(Dissolve, dest, source, second + 1);
    EXPECT_TRUE(OriginOf(dest, 1, 9).incoming);
    EXPECT_EQ(base::RandSeed(), 7u);
}

// The channel (0 blue, 1 green, 2 red) whose byte equals Source's everywhere.
std::vector<int> CompleteChannels(const Bitmap& frame, const Bitmap& source) {
    std::vector<int> channels;
    for (int ch = 0; ch < 3; ++ch) {
        bool complete = true;
        for (int y = 0; y < frame.height() && complete; ++y)
            for (int x = 0; x < frame.width() && complete; ++x)
                complete = frame.row(y)[3 * x + ch] == source.row(y)[3 * x + ch];
        if (complete) channels.push_back(ch);
    }
    return channels;
}

TEST(ChannelMix, ChannelsArriveOneAfterAnother) {
    const Bitmap source(8, 6, RGB(255, 255, 255));
    base::SetRandSeed(source.handle());
    const int c1 = static_cast<int>(base::Random(3));

    Bitmap dest(8, 6);
    Draw(ChannelMix, dest, source, 20);
    // k = MulDiv(256, 20, 33) = 155: 255 * 155 / 256 rounded down.
    EXPECT_EQ(dest.row(0)[c1], 154);
    EXPECT_EQ(dest.row(0)[(c1 + 1) % 3] + dest.row(0)[(c1 + 2) % 3], 0);

    dest = Bitmap(8, 6);
    Draw(ChannelMix, dest, source, 33);
    EXPECT_EQ(CompleteChannels(dest, source), std::vector<int>{c1});
    EXPECT_EQ(Distance(dest, source), 2L * 255 * 8 * 6);

    dest = Bitmap(8, 6);
    Draw(ChannelMix, dest, source, 50);
    // The second channel is blended with k = MulDiv(256, 17, 33) = 132.
    EXPECT_EQ(Distance(dest, source), (255L + (255 - 131)) * 8 * 6);

    dest = Bitmap(8, 6);
    Draw(ChannelMix, dest, source, 66);
    const std::vector<int> two = CompleteChannels(dest, source);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_TRUE(two[0] == c1 || two[1] == c1);
    EXPECT_EQ(Distance(dest, source), 255L * 8 * 6);
}

}  // namespace
}  // namespace effects
