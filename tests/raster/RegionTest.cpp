// Shapes against hand-drawn masks, and region algebra.
#include <gtest/gtest.h>

#include "raster/RasterTestUtil.h"
#include "raster/Region.h"

namespace raster {
namespace {

using Mask = std::vector<std::string>;

TEST(RegionShapes, RectangleCoversLeftTopInclusiveRightBottomExclusive) {
    EXPECT_EQ(MaskOf(Region::rect(1, 1, 3, 2), 4, 3), (Mask{"....", ".##.", "...."}));
    // Corners in the wrong order are swapped.
    EXPECT_EQ(Region::rect(3, 2, 1, 1), Region::rect(1, 1, 3, 2));
    EXPECT_TRUE(Region::rect(2, 2, 2, 5).isEmpty());
}

TEST(RegionShapes, EllipseTakesPixelsWhoseCentreIsInside) {
    EXPECT_EQ(MaskOf(Region::ellipse(0, 0, 4, 4), 4, 4), (Mask{".##.", "####", "####", ".##."}));
    EXPECT_EQ(MaskOf(Region::ellipse(0, 0, 5, 3), 5, 3), (Mask{".###.", "#####", ".###."}));
    EXPECT_EQ(MaskOf(Region::ellipse(1, 1, 2, 2), 3, 3), (Mask{"...", ".#.", "..."}));
    EXPECT_TRUE(Region::ellipse(0, 0, 0, 5).isEmpty());
}

TEST(RegionShapes, EllipseIsSymmetric) {
    const Region e = Region::ellipse(3, 2, 40, 29);
    for (int y = 2; y < 29; ++y)
        for (int x = 3; x < 40; ++x) {
            EXPECT_EQ(e.contains(x, y), e.contains(3 + 40 - 1 - x, y)) << x << "," << y;
            EXPECT_EQ(e.contains(x, y), e.contains(x, 2 + 29 - 1 - y)) << x << "," << y;
        }
}

TEST(RegionShapes, RoundRectCornersAreLimitedToTheRectangle) {
    EXPECT_EQ(MaskOf(Region::roundRect(0, 0, 6, 4, 4, 4), 6, 4),
              (Mask{".####.", "######", "######", ".####."}));
    // An ellipse larger than the rectangle makes the rectangle an ellipse.
    EXPECT_EQ(Region::roundRect(0, 0, 10, 8, 50, 50), Region::ellipse(0, 0, 10, 8));
    EXPECT_EQ(Region::roundRect(0, 0, 10, 8, 0, 0), Region::rect(0, 0, 10, 8));
}

TEST(RegionShapes, PolygonEdgesLeftInclusiveRightExclusive) {
    const Point triangle[] = {{0, 0}, {4, 0}, {0, 4}};
    EXPECT_EQ(MaskOf(Region::polygon(triangle, 3), 4, 4), (Mask{"###.", "##..", "#...", "...."}));
    // Two triangles sharing a diagonal cover the square once, without overlap.
    const Point other[] = {{4, 0}, {4, 4}, {0, 4}};
    Region a = Region::polygon(triangle, 3), b = Region::polygon(other, 3);
    Region overlap = a;
    overlap.intersect(b);
    EXPECT_TRUE(overlap.isEmpty());
    EXPECT_EQ(a.unite(b), Region::rect(0, 0, 4, 4));
}

TEST(RegionShapes, PolygonUsesTheWindingRule) {
    // A pentagram: its centre is wound twice and stays filled.
    const Point star[] = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    const Region region = Region::polygon(star, 5);
    EXPECT_TRUE(region.contains(50, 50));
    EXPECT_TRUE(region.contains(50, 10));
    EXPECT_FALSE(region.contains(5, 80));
    // Fewer than three points give nothing.
    EXPECT_TRUE(Region::polygon(star, 2).isEmpty());
}

TEST(RegionAlgebra, UnionIntersectionAndExclusiveOr) {
    Region a = Region::rect(0, 0, 4, 4);
    const Region b = Region::rect(2, 2, 6, 6);
    Region u = a, i = a, x = a;
    u.unite(b);
    i.intersect(b);
    x.xorWith(b);
    EXPECT_EQ(u.area(), 28);
    EXPECT_EQ(i, Region::rect(2, 2, 4, 4));
    EXPECT_EQ(x.area(), 24);
    EXPECT_FALSE(x.contains(3, 3));
    EXPECT_TRUE(x.contains(1, 1));
    EXPECT_TRUE(x.contains(5, 5));
    EXPECT_EQ(u.bounds(), (Rect{0, 0, 6, 6}));
}

TEST(RegionAlgebra, RectListSkipsEmptyAndInvertedRectangles) {
    const Rect rects[] = {{0, 0, 2, 2}, {5, 5, 5, 9}, {9, 9, 7, 7}, {1, 1, 3, 3}};
    const Region region = Region::fromRects(rects, 4);
    EXPECT_EQ(region.area(), 7);
    EXPECT_EQ(region.bounds(), (Rect{0, 0, 3, 3}));
    EXPECT_TRUE(Region::fromRects(rects + 1, 2).isEmpty());
}

}  // namespace
}  // namespace raster
