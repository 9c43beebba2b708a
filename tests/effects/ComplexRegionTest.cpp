// The rectangle-list region: growth of its storage, its bounds and its union.
#include <gtest/gtest.h>

#include "effects/ComplexRegion.h"

namespace effects {
namespace {

TEST(TComplexRegion, GrowsFiveHundredSlotsAtATimeAndUnitesEverything) {
    TComplexRegion list;
    EXPECT_FALSE(list.CreateRegion()) << "nothing added, no region";
    // 501 one-pixel squares on the diagonal of a 501 x 501 frame.
    for (int i = 0; i < 501; ++i) {
        list.AddRect(i, i, i + 1, i + 1);
        EXPECT_EQ(list.Capacity(), i < 500 ? 500 : 1000) << i;
    }
    EXPECT_EQ(list.Count(), 501);
    const OptRegion region = list.CreateRegion();
    ASSERT_TRUE(region);
    EXPECT_EQ(region->area(), 501);
    EXPECT_TRUE(region->contains(0, 0));
    EXPECT_TRUE(region->contains(500, 500));
    EXPECT_FALSE(region->contains(1, 0));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 0);
    EXPECT_EQ(list.Bounds(), TComplexRegion::kResetBounds);
    EXPECT_FALSE(list.CreateRegion());
}

TEST(TComplexRegion, EmptyRectanglesWidenBoundsButAddNoArea) {
    TComplexRegion list;
    list.AddRect(10, 20, 30, 40);
    list.AddRect(-5, 50, -5, 90);                             // empty: no width
    list.AddRect(100, 0, 60, 10);                             // inverted
    EXPECT_EQ(list.Bounds(), (raster::Rect{-5, 0, 60, 90}));  // sides widen one by one
    const OptRegion region = list.CreateRegion();
    ASSERT_TRUE(region);
    EXPECT_EQ(region->area(), 20 * 20);
    EXPECT_EQ(region->bounds(), (raster::Rect{10, 20, 30, 40}));
    // Overlapping rectangles count once.
    list.AddRect(20, 30, 50, 60);
    EXPECT_EQ(list.CreateRegion()->area(), 20 * 20 + 30 * 30 - 10 * 10);
    // Only empty rectangles still make a region, an empty one.
    TComplexRegion empty;
    empty.AddRect(5, 5, 5, 5);
    const OptRegion nothing = empty.CreateRegion();
    ASSERT_TRUE(nothing);
    EXPECT_TRUE(nothing->isEmpty());
}

}  // namespace
}  // namespace effects
