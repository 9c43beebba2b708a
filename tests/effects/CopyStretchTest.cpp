// Block copy and stretch transitions: whole-family properties and the
// geometry of the unroll, build-up, expand-in, push and squeeze members.
#include <gtest/gtest.h>

#include <vector>

#include "effects/CodedPictures.h"
#include "effects/CopyStretchEffects.h"

namespace effects {
namespace {

using namespace effects::test_support;

TEST(CopyStretch, RevealsOnlyGrowWithProgress) {
    const std::vector<NamedProc> reveals = {
        {"RevealFromLeft", RevealFromLeft},
        {"RevealFromRight", RevealFromRight},
        {"RevealOutFromMiddle", RevealOutFromMiddle},
        {"RevealInFromSides", RevealInFromSides},
        {"RevealFromTop", RevealFromTop},
        {"RevealFromBottom", RevealFromBottom},
        {"RevealFromMiddleHoriz", RevealFromMiddleHoriz},
        {"SlideInFromTopBottom", SlideInFromTopBottom},
        {"RevealFromTopLeft", RevealFromTopLeft},
        {"RevealFromBottomLeft", RevealFromBottomLeft},
        {"RevealFromBottomRight", RevealFromBottomRight},
        {"RevealFromTopRight", RevealFromTopRight},
        {"RevealOutFromCentre", RevealOutFromCentre},
        {"RevealInToCentre", RevealInToCentre},
        {"QuartersRevealInToMiddle", QuartersRevealInToMiddle},
    };
    const int width = 36, height = 28;
    const Bitmap source = Incoming(width, height);
    for (const NamedProc& member : reveals) {
        SCOPED_TRACE(member.name);
        Bitmap previous = Outgoing(width, height);
        for (int p = 0; p <= 100; p += 5) {
            Bitmap dest = Outgoing(width, height);
            Draw(member.proc, dest, source, p);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    // Every pixel is either in place from Source or untouched.
                    const Origin o = OriginOf(dest, x, y);
                    ASSERT_TRUE(o == FromSource(x, y) || o == FromDest(x, y)) << x << "," << y;
                    if (OriginOf(previous, x, y).incoming) {
                        ASSERT_TRUE(o.incoming) << "p=" << p << " hid " << x << "," << y;
                    }
                }
            previous = dest;
        }
    }
}

TEST(CopyStretch, RollWidthIsATenthLimitedByBothSides) {
    EXPECT_EQ(RollWidth(720, 10), 10);   // not wider than what has unrolled
    EXPECT_EQ(RollWidth(720, 300), 72);  // a tenth of the width
    EXPECT_EQ(RollWidth(720, 576), 72);  // 144 columns left: exactly two rolls
    EXPECT_EQ(RollWidth(720, 577), 71);  // half of the 143 columns left
    EXPECT_EQ(RollWidth(720, 700), 10);
    EXPECT_EQ(RollWidth(720, 720), 0);  // done: a plain copy
    EXPECT_EQ(RollWidth(720, 0), 0);
    EXPECT_EQ(RollWidth(9, 4), 0);
}

// A picture of uniform grey with the given marker, to read shading off.
Bitmap Grey(int width, int height, uint8_t value) {
    return Bitmap(width, height, raster::RGB(value, value, value));
}

std::vector<int> ColumnOffsets(const Bitmap& b, int y, int base) {
    std::vector<int> out;
    for (int x = 0; x < b.width(); ++x) out.push_back(raster::RedOf(b.pixel(x, y)) - base);
    return out;
}

std::vector<int> RowOffsetsFromBottom(const Bitmap& b, int x, int base) {
    std::vector<int> out;
    for (int y = b.height() - 1; y >= 0; --y) out.push_back(raster::RedOf(b.pixel(x, y)) - base);
    return out;
}

TEST(CopyStretch, ShadeColumnsProfile) {
    // Steep band (depth above half the width): steps of depth div half.
    Bitmap b = Grey(10, 3, 128);
    ShadeColumns(b, 0, 10, 64);
    EXPECT_EQ(ColumnOffsets(b, 2, 128),
              (std::vector<int>{-64, -52, -40, -28, -16, -4, -16, -28, -40, -52}));

    // Gentle band: one step every half div depth columns.
    b = Grey(8, 1, 128);
    ShadeColumns(b, 0, 8, 3);
    EXPECT_EQ(ColumnOffsets(b, 0, 128), (std::vector<int>{-3, -2, -1, 0, -1, -2, -3, -4}));

    // The rise would pass zero here; a shade never brightens.
    b = Grey(10, 1, 128);
    ShadeColumns(b, 0, 10, 3);
    EXPECT_EQ(ColumnOffsets(b, 0, 128), (std::vector<int>{-3, -2, -1, 0, 0, 0, -1, -2, -3, -4}));

    // Only the band is touched; dark pixels stop at black.
    b = Grey(6, 2, 20);
    ShadeColumns(b, 2, 2, 64);
    EXPECT_EQ(ColumnOffsets(b, 1, 20), (std::vector<int>{0, 0, -20, 0, 0, 0}));

    // Narrow bands and zero depth change nothing; bands over the edge are cut.
    b = Grey(4, 2, 128);
    ShadeColumns(b, 1, 1, 64);
    ShadeColumns(b, 0, 4, 0);
    EXPECT_TRUE(b.samePixels(Grey(4, 2, 128)));
    ShadeColumns(b, -3, 6, 64);
    ShadeColumns(b, 3, 50, 64);
    EXPECT_EQ(ColumnOffsets(b, 0, 128), (std::vector<int>{-1, -22, -43, -64}));
}

TEST(CopyStretch, ShadeRowsProfileRunsUpFromTheBottom) {
    Bitmap b = Grey(2, 10, 128);
    ShadeRows(b, 0, 10, 64);
    // Rows turn back at half itself, one row earlier than the columns do.
    EXPECT_EQ(RowOffsetsFromBottom(b, 1, 128),
              (std::vector<int>{-64, -52, -40, -28, -16, -28, -40, -52, -64, -76}));

    b = Grey(1, 8, 128);
    ShadeRows(b, 0, 8, 3);
    EXPECT_EQ(RowOffsetsFromBottom(b, 0, 128), (std::vector<int>{-3, -2, -1, 0, -1, -2, -3, -4}));

    b = Grey(1, 10, 128);
    ShadeRows(b, 0, 10, 3);
    EXPECT_EQ(RowOffsetsFromBottom(b, 0, 128),
              (std::vector<int>{-3, -2, -1, 0, 0, 0, -1, -2, -3, -4}));

    b = Grey(1, 6, 128);
    ShadeRows(b, 1, 1, 64);
    EXPECT_TRUE(b.samePixels(Grey(1, 6, 128)));
    // A band reaching past both edges shades the rows it covers, i = 11..16.
    ShadeRows(b, -4, 20, 64);
    EXPECT_EQ(RowOffsetsFromBottom(b, 0, 128), (std::vector<int>{-16, -22, -28, -34, -40, -46}));
}

// Source for the unroll tests: one channel carries the position, another a
// constant, so the shading offset and the mirrored column both read back.
Bitmap UnrollSource(int width, int height, bool horizontal) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.setPixel(x, y,
                       horizontal ? raster::RGB(static_cast<uint8_t>(x + 100), 128, kIncomingMark)
                                  : raster::RGB(128, static_cast<uint8_t>(y + 100), kIncomingMark));
    return b;
}

struct Unrolled {
    int position;  // source column or row, shading removed
    int shade;     // shading offset
    bool incoming;
};

Unrolled ReadColumn(const Bitmap& b, int x) {
    const Color c = b.pixel(x, 0);
    const int shade = raster::GreenOf(c) - 128;
    return {raster::RedOf(c) - shade - 100, shade, raster::BlueOf(c) - shade == kIncomingMark};
}

Unrolled ReadRow(const Bitmap& b, int y) {
    const Color c = b.pixel(0, y);
    const int shade = raster::RedOf(c) - 128;
    return {raster::GreenOf(c) - shade - 100, shade, raster::BlueOf(c) - shade == kIncomingMark};
}

TEST(CopyStretch, UnrollFromLeftMirrorsTheNextStripUnderAShadedRoll) {
    const Bitmap source = UnrollSource(100, 10, true);
    Bitmap dest = Outgoing(100, 10);
    Draw(UnrollFromLeft, dest, source, 50);  // w = 50, r = 10
    const std::vector<int> profile = {-64, -52, -40, -28, -16, -4, -16, -28, -40, -52};
    for (int x = 0; x < 50; ++x) {
        const Unrolled u = ReadColumn(dest, x);
        EXPECT_TRUE(u.incoming && u.position == x && u.shade == 0) << x;
    }
    for (int i = 0; i < 10; ++i) {
        const Unrolled u = ReadColumn(dest, 50 + i);
        EXPECT_TRUE(u.incoming) << i;
        EXPECT_EQ(u.position, 69 - i);
        EXPECT_EQ(u.shade, profile[static_cast<size_t>(i)]);
    }
    for (int x = 60; x < 100; ++x) EXPECT_EQ(OriginOf(dest, x, 3), FromDest(x, 3));
}

TEST(CopyStretch, UnrollFromRightMirrorsTheStripBeforeTheRoll) {
    const Bitmap source = UnrollSource(100, 10, true);
    Bitmap dest = Outgoing(100, 10);
    Draw(UnrollFromRight, dest, source, 50);  // x0 = 50, r = 10
    const std::vector<int> profile = {-64, -52, -40, -28, -16, -4, -16, -28, -40, -52};
    for (int x = 0; x < 40; ++x) EXPECT_EQ(OriginOf(dest, x, 3), FromDest(x, 3));
    for (int i = 0; i < 10; ++i) {
        const Unrolled u = ReadColumn(dest, 40 + i);
        EXPECT_TRUE(u.incoming) << i;
        EXPECT_EQ(u.position, 38 - i);  // columns 29..38, reversed
        EXPECT_EQ(u.shade, profile[static_cast<size_t>(i)]);
    }
    for (int x = 50; x < 100; ++x) {
        const Unrolled u = ReadColumn(dest, x);
        EXPECT_TRUE(u.incoming && u.position == x && u.shade == 0) << x;
    }
}

TEST(CopyStretch, VerticalUnrollsShadeRowsFromTheBandsBottom) {
    // Band rows top to bottom; the profile counts from the bottom row up.
    const std::vector<int> bandTopDown = {-76, -64, -52, -40, -28, -16, -28, -40, -52, -64};
    const Bitmap source = UnrollSource(10, 100, false);

    Bitmap dest = Outgoing(10, 100);
    Draw(UnrollFromTop, dest, source, 50);  // h = 50, r = 10
    for (int y = 0; y < 50; ++y) EXPECT_EQ(ReadRow(dest, y).position, y);
    for (int j = 0; j < 10; ++j) {
        const Unrolled u = ReadRow(dest, 50 + j);
        EXPECT_TRUE(u.incoming);
        EXPECT_EQ(u.position, 69 - j);
        EXPECT_EQ(u.shade, bandTopDown[static_cast<size_t>(j)]);
    }
    EXPECT_EQ(OriginOf(dest, 4, 60), FromDest(4, 60));

    dest = Outgoing(10, 100);
    Draw(UnrollFromBottom, dest, source, 50);  // y0 = 50
    EXPECT_EQ(OriginOf(dest, 4, 39), FromDest(4, 39));
    for (int j = 0; j < 10; ++j) {
        const Unrolled u = ReadRow(dest, 40 + j);
        EXPECT_TRUE(u.incoming);
        EXPECT_EQ(u.position, 38 - j);
        EXPECT_EQ(u.shade, bandTopDown[static_cast<size_t>(j)]);
    }
    for (int y = 50; y < 100; ++y) EXPECT_EQ(ReadRow(dest, y).position, y);
}

TEST(CopyStretch, UnrollEdgesOfTheRoll) {
    const Bitmap source = UnrollSource(100, 4, true);
    // Nothing unrolled yet: no roll, nothing drawn.
    Bitmap dest = Outgoing(100, 4);
    Draw(UnrollFromLeft, dest, source, 0);
    EXPECT_TRUE(dest.samePixels(Outgoing(100, 4)));

    // A one-column roll is drawn mirrored but not shaded.
    dest = Outgoing(100, 4);
    Draw(UnrollFromLeft, dest, source, 1);  // w = 1, r = 1
    const Unrolled roll = ReadColumn(dest, 1);
    EXPECT_TRUE(roll.incoming);
    EXPECT_EQ(roll.position, 2);
    EXPECT_EQ(roll.shade, 0);
    EXPECT_EQ(OriginOf(dest, 2, 0), FromDest(2, 0));
}

TEST(CopyStretch, ExpandInFromRightZoomsOutOfTheLeftHalf) {
    // p = 50, W = 100: Source columns 0..49 stretched to 150, first 100 shown.
    const Bitmap source = Incoming(100, 20);
    Bitmap dest = Outgoing(100, 20);
    Draw(ExpandInFromRight, dest, source, 50);
    for (int x = 0; x < 100; ++x) ASSERT_EQ(OriginOf(dest, x, 7), FromSource(x / 3, 7)) << x;
}

TEST(CopyStretch, BuildUpAtTheStartSmearsAnEdgeTenth) {
    const Bitmap source = Incoming(100, 20);
    Bitmap dest = Outgoing(100, 20);
    Draw(BuildUpFromRight, dest, source, 0);
    for (int x = 0; x < 100; ++x) ASSERT_EQ(OriginOf(dest, x, 5), FromSource(x / 10, 5)) << x;

    dest = Outgoing(100, 20);
    Draw(BuildUpFromLeft, dest, source, 0);
    for (int x = 0; x < 100; ++x) ASSERT_EQ(OriginOf(dest, x, 5), FromSource(90 + x / 10, 5)) << x;

    // Midway the revealed part is in place and the smear follows it.
    dest = Outgoing(100, 20);
    Draw(BuildUpFromRight, dest, source, 40);
    EXPECT_EQ(OriginOf(dest, 39, 5), FromSource(39, 5));
    EXPECT_EQ(OriginOf(dest, 40, 5), FromSource(40, 5));
    EXPECT_EQ(OriginOf(dest, 99, 5), FromSource(49, 5));
}

// Pushes move the outgoing picture by the revealed part (p = 30: w = 30,
// h = 18); squeezes show all of it at half size (p = 50: w = 50, h = 30).
// Each row says where column (or row) i of a 100 x 60 frame comes from.
TEST(CopyStretch, PushesAndSqueezesMoveThePicturesExactly) {
    const struct {
        const char* name;
        TEffectProc proc;
        int progress;
        bool columns;
        Origin (*from)(int i);
    } cases[] = {
        {"PushRight", PushRight, 30, true,
         [](int x) { return x < 30 ? FromSource(70 + x, 9) : FromDest(x - 30, 9); }},
        {"PushLeft", PushLeft, 30, true,
         [](int x) { return x < 70 ? FromDest(x + 30, 9) : FromSource(x - 70, 9); }},
        {"PushDown", PushDown, 30, false,
         [](int y) { return y < 18 ? FromSource(5, 42 + y) : FromDest(5, y - 18); }},
        {"PushUp", PushUp, 30, false,
         [](int y) { return y < 42 ? FromDest(5, y + 18) : FromSource(5, y - 42); }},
        {"PushAndSqueezeRight", PushAndSqueezeRight, 50, true,
         [](int x) { return x < 50 ? FromSource(50 + x, 9) : FromDest(2 * (x - 50), 9); }},
        {"PushAndSqueezeLeft", PushAndSqueezeLeft, 50, true,
         [](int x) { return x < 50 ? FromDest(2 * x, 9) : FromSource(x - 50, 9); }},
        {"PushAndSqueezeDown", PushAndSqueezeDown, 50, false,
         [](int y) { return y < 30 ? FromSource(5, 30 + y) : FromDest(5, 2 * (y - 30)); }},
        {"PushAndSqueezeUp", PushAndSqueezeUp, 50, false,
         [](int y) { return y < 30 ? FromDest(5, 2 * y) : FromSource(5, y - 30); }},
    };
    const Bitmap source = Incoming(100, 60);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap dest = Outgoing(100, 60);
        Draw(c.proc, dest, source, c.progress);
        for (int i = 0; i < (c.columns ? 100 : 60); ++i)
            ASSERT_EQ(c.columns ? OriginOf(dest, i, 9) : OriginOf(dest, 5, i), c.from(i)) << i;
    }
}

TEST(CopyStretch, RevealInToCentreLeavesTheCentreAndDropsItsClip) {
    const Bitmap source = Incoming(40, 20);
    Bitmap dest = Outgoing(40, 20);
    Draw(RevealInToCentre, dest, source, 50);  // w = 20, h = 10: centre 10..29 x 5..14 kept
    EXPECT_EQ(OriginOf(dest, 9, 5), FromSource(9, 5));
    EXPECT_EQ(OriginOf(dest, 10, 5), FromDest(10, 5));
    EXPECT_EQ(OriginOf(dest, 29, 14), FromDest(29, 14));
    EXPECT_EQ(OriginOf(dest, 30, 14), FromSource(30, 14));
    EXPECT_EQ(OriginOf(dest, 20, 15), FromSource(20, 15));
    EXPECT_EQ(dest.clip(), nullptr);
}

}  // namespace
}  // namespace effects
