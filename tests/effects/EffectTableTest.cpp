// Properties that hold for the effect table as a whole, checked member by
// member through the table itself, so a failure names the style and its name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Random.h"
#include "effects/Effects.h"
#include "effects/FamilyMembers.h"
#include "effects/SyntheticPictures.h"

namespace effects {
namespace {

using test_support::SyntheticPicture;

bool IsPivot(int style) {
    return style >= 120 && style <= 123;
}
bool IsSweep(int style) {
    return style == 144 || style == 145;
}

// The members that draw from the shared generator as it stands, and which
// strips they draw for: rows, columns or both.
enum class Draws { None, Shred, Speckle };
Draws DrawsOf(int style) {
    if ((style >= 65 && style <= 68) || (style >= 76 && style <= 79) ||
        (style >= 100 && style <= 109))
        return Draws::Shred;
    if (style >= 124 && style <= 127) return Draws::Speckle;
    return Draws::None;
}
bool ShredRows(int style) {
    return style <= 68 || style >= 100;
}
bool ShredColumns(int style) {
    return style >= 76;
}
bool SpeckleRows(int style) {
    return style == 124 || style == 125;
}

int CeilDiv(int a, int b) {
    return (a + b - 1) / b;
}

// How many numbers a member takes from the shared generator in one call.
long long ExpectedDraws(int style, int W, int H, int w, int h) {
    switch (DrawsOf(style)) {
        case Draws::None:
            return 0;
        case Draws::Shred: {
            // One number per strip, also when the jitter is 0.
            const int e = std::min(W, H) / 200 + 1;
            return (ShredRows(style) ? CeilDiv(H, e) : 0) +
                   (ShredColumns(style) ? CeilDiv(W, e) : 0);
        }
        case Draws::Speckle: {
            // One number per fringe slot, on rows half a square apart.
            const bool rows = SpeckleRows(style);
            const int side = rows ? W : H, extent = rows ? w : h, across = rows ? H : W;
            const int fringe = extent < side ? side / 10 : 0;
            const int square = std::max(fringe / 20, 2);
            return static_cast<long long>(CeilDiv(across, square / 2)) * (fringe / square);
        }
    }
    return 0;
}

uint32_t StateAfterDraws(uint32_t state, long long draws) {
    const uint32_t saved = base::RandSeed();
    base::SetRandSeed(state);
    for (long long i = 0; i < draws; ++i) base::Random(1);
    const uint32_t result = base::RandSeed();
    base::SetRandSeed(saved);
    return result;
}

void DrawStyle(int style, Bitmap& dest, const Bitmap& source, int p) {
    const ProgressSize size = ProgressSizeOf(dest.width(), dest.height(), p);
    Effects[style].Proc(dest, source, dest.width(), dest.height(), size.w, size.h, p);
}

bool SamePixel(const Bitmap& a, int ax, int ay, const Bitmap& b, int bx, int by) {
    const uint8_t* pa = a.row(ay) + 3 * ax;
    const uint8_t* pb = b.row(by) + 3 * bx;
    return pa[0] == pb[0] && pa[1] == pb[1] && pa[2] == pb[2];
}

// Which bytes of a frame equal the incoming picture's.
std::vector<bool> BytesFromSource(const Bitmap& frame, const Bitmap& source) {
    std::vector<bool> mask;
    mask.reserve(static_cast<size_t>(frame.width()) * frame.height() * 3);
    for (int y = 0; y < frame.height(); ++y)
        for (int i = 0; i < 3 * frame.width(); ++i)
            mask.push_back(frame.row(y)[i] == source.row(y)[i]);
    return mask;
}

std::string TestNameOf(const ::testing::TestParamInfo<int>& info) {
    const int style = info.param;
    std::string name = std::to_string(style);
    name.insert(0, 3 - std::min<size_t>(3, name.size()), '0');
    name = "s" + name + "_";
    for (const char c : std::string_view(Effects[style].Name))
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

class EveryMember : public ::testing::TestWithParam<int> {
protected:
    int style() const { return GetParam(); }
    std::string what() const {
        return std::to_string(style()) + " \"" + Effects[style()].Name + "\"";
    }
};

// Landscape and portrait, so both ways of deriving w and h are taken.
constexpr std::pair<int, int> kEvenSizes[] = {{120, 80}, {80, 120}};

TEST_P(EveryMember, FullProgressShowsTheIncomingPicture) {
    for (const auto& [W, H] : kEvenSizes) {
        SCOPED_TRACE(what() + " at " + std::to_string(W) + "x" + std::to_string(H));
        const Bitmap before = SyntheticPicture(W, H, 0), source = SyntheticPicture(W, H, 1);
        Bitmap dest = before;
        DrawStyle(style(), dest, source, 100);
        if (IsPivot(style())) {
            // Angle 0 still leaves the pivot's one-pixel offset: Source moves one
            // column left and one row down; the right column and top row keep Dest.
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    const bool shifted = x + 1 < W && y >= 1;
                    ASSERT_TRUE(shifted ? SamePixel(dest, x, y, source, x + 1, y - 1)
                                        : SamePixel(dest, x, y, before, x, y))
                        << x << "," << y;
                }
        } else if (IsSweep(style())) {
            // The fan stops one step short of a full turn: a thin wedge by the
            // start direction (straight up) keeps the outgoing picture.
            long long kept = 0;
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    if (SamePixel(dest, x, y, source, x, y)) continue;
                    ASSERT_TRUE(SamePixel(dest, x, y, before, x, y)) << x << "," << y;
                    ASSERT_LT(y, H / 2) << x << "," << y;
                    ASSERT_TRUE(style() == 144 ? x < W / 2 + 1 : x >= W / 2 - 1) << x << "," << y;
                    ++kept;
                }
            // About half of cy * cy * tan(3.6 degrees), with room for the edges.
            EXPECT_GT(kept, 0);
            EXPECT_LT(kept, (H / 2) * (H / 2) / 16 + H);
        } else {
            // Random squares too: every cell's number is below 100.
            EXPECT_TRUE(dest.samePixels(source));
        }
    }
}

TEST_P(EveryMember, HalfwayChangesTheFrameAndIsNotYetTheIncomingPicture) {
    for (const auto& [W, H] : kEvenSizes) {
        SCOPED_TRACE(what() + " at " + std::to_string(W) + "x" + std::to_string(H));
        const Bitmap before = SyntheticPicture(W, H, 0), source = SyntheticPicture(W, H, 1);
        Bitmap dest = before;
        DrawStyle(style(), dest, source, 50);
        EXPECT_FALSE(dest.samePixels(before));
        EXPECT_FALSE(dest.samePixels(source));
    }
}

// Sizes on which halves, tenths and fiftieths come out as 0 or leave
// remainders, and one just above a PAL frame.
constexpr std::pair<int, int> kAwkwardSizes[] = {{1, 1}, {2, 3}, {3, 2},
                                                 {1, 9}, {9, 1}, {721, 577}};

// Dest keeps its size and loses its clip region, Source is only read, and
// the shared generator is left alone except by the members that draw from it
// as it stands, which take exactly the numbers their strips need.
TEST_P(EveryMember, KeepsTheCallingContractAtEverySize) {
    for (const auto& [W, H] : kAwkwardSizes) {
        const Bitmap before = SyntheticPicture(W, H, 0), source = SyntheticPicture(W, H, 1);
        const Bitmap sourceCopy = source;
        for (const int p : {0, 1, 37, 50, 99, 100}) {
            if (W * H > 10000 && p != 37 && p != 100) continue;  // keep the big frame quick
            SCOPED_TRACE(what() + " at " + std::to_string(W) + "x" + std::to_string(H) +
                         ", p = " + std::to_string(p));
            Bitmap dest = before;
            const uint32_t state = 0x9E3779B9u + static_cast<uint32_t>(p);
            base::SetRandSeed(state);
            DrawStyle(style(), dest, source, p);
            EXPECT_EQ(dest.width(), W);
            EXPECT_EQ(dest.height(), H);
            EXPECT_EQ(dest.clip(), nullptr);
            EXPECT_TRUE(source.samePixels(sourceCopy));
            EXPECT_EQ(source.clip(), nullptr);
            const ProgressSize size = ProgressSizeOf(W, H, p);
            EXPECT_EQ(base::RandSeed(),
                      StateAfterDraws(state, ExpectedDraws(style(), W, H, size.w, size.h)));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, EveryMember, ::testing::Range(1, kEffectCount + 1), TestNameOf);

// The members seeded by the incoming picture repeat their pattern whatever
// the generator held, and what shows at one percentage shows at every higher
// one (byte by byte, so Channel Mix's channels count too).
class SeededMember : public EveryMember {};

TEST_P(SeededMember, SameFrameWhateverTheGeneratorHeldAndGrowingWithProgress) {
    const int W = 90, H = 64;
    const Bitmap before = SyntheticPicture(W, H, 0), source = SyntheticPicture(W, H, 1);
    std::vector<bool> previous;
    for (int p = 0; p <= 100; ++p) {
        SCOPED_TRACE(what() + " at p = " + std::to_string(p));
        Bitmap first = before, second = before;
        base::SetRandSeed(12345);
        DrawStyle(style(), first, source, p);
        EXPECT_EQ(base::RandSeed(), 12345u);
        base::SetRandSeed(0xFFFFFFFFu);
        DrawStyle(style(), second, source, p);
        EXPECT_EQ(base::RandSeed(), 0xFFFFFFFFu);
        ASSERT_TRUE(first.samePixels(second));

        const std::vector<bool> shown = BytesFromSource(first, source);
        if (p == 0) {
            EXPECT_EQ(std::count(shown.begin(), shown.end(), true), 0);
        }
        for (size_t i = 0; i < previous.size(); ++i)
            ASSERT_TRUE(!previous[i] || shown[i]) << "byte " << i << " went back";
        previous = shown;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, SeededMember, ::testing::Values(128, 169, 170, 171, 172),
                         TestNameOf);

// The shred and speckle edges are drawn anew on every call.
class UnseededMember : public EveryMember {};

TEST_P(UnseededMember, EdgesDifferWithTheGeneratorState) {
    const int W = 120, H = 80;
    const Bitmap before = SyntheticPicture(W, H, 0), source = SyntheticPicture(W, H, 1);
    Bitmap first = before, second = before;
    base::SetRandSeed(1);
    DrawStyle(style(), first, source, 50);
    base::SetRandSeed(2);
    DrawStyle(style(), second, source, 50);
    EXPECT_FALSE(first.samePixels(second)) << what();
}

std::vector<int> UnseededStyles() {
    std::vector<int> styles;
    for (int s = 1; s <= kEffectCount; ++s)
        if (DrawsOf(s) != Draws::None) styles.push_back(s);
    return styles;
}

INSTANTIATE_TEST_SUITE_P(Table, UnseededMember, ::testing::ValuesIn(UnseededStyles()), TestNameOf);

// The table's shape is checked when it compiles; these rows pin the names
// at both ends and in the middle.
TEST(EffectTable, EntriesCarryTheirNames) {
    EXPECT_STREQ(Effects[1].Name, "Expand from right");
    EXPECT_STREQ(Effects[128].Name, "Random squares appear");
    EXPECT_STREQ(Effects[172].Name, "Channel Mix");
}

// Region reveals show every pixel either from Dest or from Source in place,
// never moved or mixed.
class RegionReveal : public EveryMember {};

TEST_P(RegionReveal, FramesHoldOnlyThePicturesInPlace) {
    for (const auto& [W, H] : kAwkwardSizes) {
        const Bitmap before = SyntheticPicture(W, H, 0), source = SyntheticPicture(W, H, 1);
        for (const int p : {0, 1, 37, 50, 99, 100}) {
            SCOPED_TRACE(what() + " at " + std::to_string(W) + "x" + std::to_string(H) +
                         ", p = " + std::to_string(p));
            Bitmap dest = before;
            DrawStyle(style(), dest, source, p);
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x)
                    ASSERT_TRUE(SamePixel(dest, x, y, source, x, y) ||
                                SamePixel(dest, x, y, before, x, y))
                        << x << "," << y;
        }
    }
}

std::vector<int> RegionRevealStyles() {
    std::vector<int> styles;
    for (const EffectFamily family :
         {EffectFamily::Stripe, EffectFamily::Grid, EffectFamily::Shape})
        for (const TEffect& e : test_support::MembersOf(family)) styles.push_back(e.Style);
    return styles;
}

INSTANTIATE_TEST_SUITE_P(Table, RegionReveal, ::testing::ValuesIn(RegionRevealStyles()),
                         TestNameOf);

TEST(EffectTable, DrawEffectCallsTheEntryAndRefusesWhatItCannotDraw) {
    const int W = 64, H = 48;
    const Bitmap before = SyntheticPicture(W, H, 0), source = SyntheticPicture(W, H, 1);
    for (const int style : {1, 60, 118, 144, 172}) {
        Bitmap viaTable = before, direct = before;
        base::SetRandSeed(7);
        DrawEffect(style, viaTable, source, 40);
        base::SetRandSeed(7);
        DrawStyle(style, direct, source, 40);
        EXPECT_TRUE(viaTable.samePixels(direct)) << style;
    }
    for (const int style : {-1, 0, 173, 255}) {
        Bitmap dest = before;
        DrawEffect(style, dest, source, 50);
        EXPECT_TRUE(dest.samePixels(before)) << style;
    }
    Bitmap smaller = SyntheticPicture(W - 1, H, 0);
    const Bitmap smallerBefore = smaller;
    DrawEffect(5, smaller, source, 50);
    EXPECT_TRUE(smaller.samePixels(smallerBefore));
    Bitmap empty, emptySource;
    DrawEffect(5, empty, emptySource, 50);
    EXPECT_TRUE(empty.isEmpty());
}

// Progress outside 0..100 draws the nearer end instead of overflowing the
// members' size arithmetic, which at the extremes sized copies by -1.
TEST(EffectTable, DrawEffectHoldsTheProgressToItsRange) {
    const int W = 24, H = 18;
    const Bitmap before = SyntheticPicture(W, H, 0), source = SyntheticPicture(W, H, 1);
    for (int style = 1; style <= kEffectCount; ++style) {
        for (const auto& [outside, end] : {std::pair{-1, 0}, std::pair{INT_MIN, 0},
                                           std::pair{101, 100}, std::pair{INT_MAX, 100}}) {
            Bitmap clamped = before, atEnd = before;
            base::SetRandSeed(11);
            DrawEffect(style, clamped, source, outside);
            base::SetRandSeed(11);
            DrawEffect(style, atEnd, source, end);
            EXPECT_TRUE(clamped.samePixels(atEnd)) << "style " << style << " at " << outside;
        }
    }
}

}  // namespace
}  // namespace effects
