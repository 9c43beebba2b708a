#include <gtest/gtest.h>

#include "imaging/FitArithmetic.h"
#include "imaging/ImagingTestUtil.h"

namespace imaging {
namespace {

TEST(FitArithmetic, BoxLosesThePixelThatTheDoubleFactorRoundsAway) {
    // Overshoots tie at 2.2; f = 3.2 rounds up as a double, 640 / f < 200.
    EXPECT_EQ(ShrinkIntoBox({640, 480}, 200, 150), (Size{199, 150}));
    // rw = 2.2 > rh = 1.4: width leads, 480 / 3.2 lands just below 150.
    EXPECT_EQ(ShrinkIntoBox({640, 480}, 200, 200), (Size{200, 149}));
    // f = 5 is exact.
    EXPECT_EQ(ShrinkIntoBox({1600, 1200}, 320, 240), (Size{320, 240}));
    EXPECT_EQ(ShrinkIntoBox({300, 300}, 300, 200), (Size{200, 200}));
}

TEST(FitArithmetic, BoxNeverEnlargesAndIgnoresNonPositiveBoxes) {
    EXPECT_EQ(ShrinkIntoBox({100, 80}, 200, 150), std::nullopt);
    EXPECT_EQ(ShrinkIntoBox({200, 150}, 200, 150), std::nullopt);
    EXPECT_EQ(ShrinkIntoBox({4000, 3000}, -1, -1), std::nullopt);
    EXPECT_EQ(ShrinkIntoBox({4000, 3000}, 200, 0), std::nullopt);
    EXPECT_EQ(ShrinkIntoBox({0, 0}, 200, 150), std::nullopt);
}

TEST(FitArithmetic, ScaleToFitOnA720x480Screen) {
    const Size screen{720, 480};
    EXPECT_EQ(ScaleToBox({1024, 768}, screen), (Size{639, 480}));
    EXPECT_EQ(ScaleToBox({800, 600}, screen), (Size{640, 480}));
    EXPECT_EQ(ScaleToBox({640, 480}, screen), (Size{640, 480}));
    // Small pictures are enlarged; a wide one leads with its width, and the
    // factor 100 / 720 stored as a double costs the height a pixel.
    EXPECT_EQ(ScaleToBox({100, 50}, screen), (Size{720, 359}));
    EXPECT_EQ(ScaleToBox({90, 60}, screen), (Size{720, 480}));
    // A one-pixel line keeps a pixel instead of vanishing.
    EXPECT_EQ(ScaleToBox({1, 10000}, screen), (Size{1, 480}));
    EXPECT_THROW(ScaleToBox({640, 480}, {0, 480}), std::invalid_argument);
}

TEST(FitArithmetic, VideoFrameFitCutsTowardZero) {
    EXPECT_EQ(FitInsideFrame({1600, 1200}, {720, 576}), (Size{720, 540}));
    EXPECT_EQ(FitInsideFrame({6000, 4000}, {720, 576}), (Size{720, 480}));
    EXPECT_EQ(FitInsideFrame({3000, 4000}, {720, 576}), (Size{432, 576}));
    EXPECT_EQ(FitInsideFrame({1000, 999}, {720, 576}), (Size{576, 576}));
}

}  // namespace
}  // namespace imaging
