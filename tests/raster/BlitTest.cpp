// Block copies, scaling, clipping and fills.
#include <gtest/gtest.h>

#include "raster/Blit.h"
#include "raster/Fill.h"

namespace raster {
namespace {

// A one-row bitmap whose red channel holds the given values.
Bitmap Row(std::initializer_list<int> reds) {
    Bitmap b(static_cast<int>(reds.size()), 1);
    int x = 0;
    for (int v : reds) b.setPixel(x++, 0, RGB(static_cast<uint8_t>(v), 0, 0));
    return b;
}

std::vector<int> RedsOf(const Bitmap& b, int y = 0) {
    std::vector<int> out;
    for (int x = 0; x < b.width(); ++x) out.push_back(RedOf(b.pixel(x, y)));
    return out;
}

TEST(Bitmap, HandlesAreUniqueAndStable) {
    Bitmap a(4, 4), b(4, 4);
    EXPECT_NE(a.handle(), b.handle());
    const uint32_t before = a.handle();
    a = b;
    EXPECT_EQ(a.handle(), before);
    Bitmap c(a);
    EXPECT_NE(c.handle(), a.handle());
}

TEST(Bitmap, RowsArePaddedAndSizesChecked) {
    Bitmap b(5, 2);
    EXPECT_EQ(b.stride(), 16u);
    EXPECT_THROW(Bitmap(-1, 4), std::invalid_argument);
    EXPECT_THROW(Bitmap(20000, 20000), std::invalid_argument);
    b.resize(7, 3, RGB(9, 9, 9));
    EXPECT_EQ(b.pixel(6, 2), RGB(9, 9, 9));
    EXPECT_EQ(b.pixel(4, 1), 0u);
}

TEST(BitBlt, ClipsToBothBitmaps) {
    Bitmap dst = Row({0, 0, 0, 0});
    BitBlt(dst, -1, 0, 4, 1, Row({1, 2, 3}), 0, 0);
    EXPECT_EQ(RedsOf(dst), (std::vector<int>{2, 3, 0, 0}));
    BitBlt(dst, 2, 0, 5, 1, Row({7, 8}), 0, 0);
    EXPECT_EQ(RedsOf(dst), (std::vector<int>{2, 3, 7, 8}));
    BitBlt(dst, 0, 0, 0, 1, Row({9}), 0, 0);  // zero width draws nothing
    EXPECT_EQ(RedsOf(dst), (std::vector<int>{2, 3, 7, 8}));
}

TEST(BitBlt, SelfCopyReadsTheWholeBlockFirst) {
    Bitmap b = Row({1, 2, 3, 4});
    BitBlt(b, 1, 0, 3, 1, b, 0, 0);  // push right by one column
    EXPECT_EQ(RedsOf(b), (std::vector<int>{1, 1, 2, 3}));
    b = Row({1, 2, 3, 4});
    BitBlt(b, 0, 0, 3, 1, b, 1, 0);
    EXPECT_EQ(RedsOf(b), (std::vector<int>{2, 3, 4, 4}));
    // Vertical overlap with a clip region that splits the block.
    Bitmap tall(1, 4);
    for (int y = 0; y < 4; ++y) tall.setPixel(0, y, RGB(static_cast<uint8_t>(y + 1), 0, 0));
    Region clip = Region::rect(0, 1, 1, 2);
    clip.unite(Region::rect(0, 3, 1, 4));
    tall.selectClip(&clip);
    BitBlt(tall, 0, 1, 1, 3, tall, 0, 0);
    EXPECT_EQ(RedOf(tall.pixel(0, 1)), 1);
    EXPECT_EQ(RedOf(tall.pixel(0, 2)), 3);
    EXPECT_EQ(RedOf(tall.pixel(0, 3)), 3);
}

TEST(StretchBlt, EnlargingRepeatsAndNegativeExtentMirrors) {
    Bitmap dst(6, 1);
    StretchBlt(dst, 0, 0, 6, 1, Row({1, 2}), 0, 0, 2, 1);
    EXPECT_EQ(RedsOf(dst), (std::vector<int>{1, 1, 1, 2, 2, 2}));
    // Columns x+cx+1..x, first source column at x.
    StretchBlt(dst, 2, 0, -3, 1, Row({4, 5, 6}), 0, 0, 3, 1);
    EXPECT_EQ(RedsOf(dst), (std::vector<int>{6, 5, 4, 2, 2, 2}));
    // The unroll's mirrored strip: source columns 3..4 land reversed on 1..2.
    Bitmap strip(6, 1);
    StretchBlt(strip, 2, 0, -2, 1, Row({10, 11, 12, 13, 14, 15}), 3, 0, 2, 1);
    EXPECT_EQ(RedsOf(strip), (std::vector<int>{0, 14, 13, 0, 0, 0}));
}

TEST(StretchBlt, SourceOutsideTheBitmapIsSkipped) {
    Bitmap dst = Row({9, 9, 9, 9});
    StretchBlt(dst, 0, 0, 4, 1, Row({1, 2}), -1, 0, 4, 1);
    EXPECT_EQ(RedsOf(dst), (std::vector<int>{9, 1, 2, 9}));
}

TEST(StretchBlt, HalftoneAveragesAreas) {
    Bitmap half(2, 1);
    StretchBlt(half, 0, 0, 2, 1, Row({0, 100, 200, 255}), 0, 0, 4, 1, StretchMode::Halftone);
    EXPECT_EQ(RedsOf(half), (std::vector<int>{50, 228}));
    // Onto itself: the whole source is read before anything is drawn.
    Bitmap self = Row({0, 100, 200, 255});
    StretchBlt(self, 0, 0, 2, 1, self, 0, 0, 4, 1, StretchMode::Halftone);
    EXPECT_EQ(RedsOf(self), (std::vector<int>{50, 228, 200, 255}));
    StretchBlt(self, 3, 0, -4, 1, self, 0, 0, 4, 1, StretchMode::Halftone);
    EXPECT_EQ(RedsOf(self), (std::vector<int>{255, 200, 228, 50}));
    EXPECT_EQ(RedsOf(ResampleArea(Row({0, 90, 180}), 2, 1)), (std::vector<int>{30, 150}));
    // A flat picture stays exactly flat whatever the factor.
    Bitmap flat(37, 23, RGB(201, 17, 99));
    const Bitmap reduced = ResampleArea(flat, 11, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 11; ++x) ASSERT_EQ(reduced.pixel(x, y), RGB(201, 17, 99));
}

TEST(Clipping, DrawingStaysInsideTheClipRegion) {
    Bitmap dst(4, 1);
    const Region clip = Region::rect(1, 0, 3, 1);
    dst.selectClip(&clip);
    BitBlt(dst, 0, 0, 4, 1, Row({1, 2, 3, 4}), 0, 0);
    EXPECT_EQ(RedsOf(dst), (std::vector<int>{0, 2, 3, 0}));
    dst.intersectClip(Region::rect(2, 0, 4, 1));
    FillRect(dst, Rect{0, 0, 4, 1}, RGB(8, 0, 0));
    EXPECT_EQ(RedsOf(dst), (std::vector<int>{0, 2, 8, 0}));
    dst.selectClip(nullptr);
    dst.excludeClipRect(Rect{1, 0, 3, 1});
    FillRect(dst, Rect{0, 0, 4, 1}, RGB(5, 0, 0));
    EXPECT_EQ(RedsOf(dst), (std::vector<int>{5, 2, 8, 5}));
}

TEST(Fill, PatternTilesFromTheTopLeftCorner) {
    Bitmap pattern(2, 2);
    pattern.setPixel(0, 0, RGB(1, 0, 0));
    pattern.setPixel(1, 0, RGB(2, 0, 0));
    pattern.setPixel(0, 1, RGB(3, 0, 0));
    pattern.setPixel(1, 1, RGB(4, 0, 0));
    Bitmap dst(5, 3);
    FillPattern(dst, Rect{1, 1, 5, 3}, pattern);
    EXPECT_EQ(RedsOf(dst, 0), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(RedsOf(dst, 1), (std::vector<int>{0, 4, 3, 4, 3}));
    EXPECT_EQ(RedsOf(dst, 2), (std::vector<int>{0, 2, 1, 2, 1}));
}

}  // namespace
}  // namespace raster
