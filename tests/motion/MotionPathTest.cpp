// The pan and zoom path: the motion names, the ease, where the view stands,
// and that deciding a motion leaves the random generator alone unless the
// motion is random.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/Random.h"
#include "motion/MotionPath.h"

namespace motion {
namespace {

using model::MotionKind;
using model::MotionSetting;

TEST(MotionSettingTest, NamesReadAndWriteBack) {
    struct Case {
        const char* text;
        std::optional<MotionSetting> motion;
        const char* written;
    };
    const Case cases[] = {
        {"none", MotionSetting{MotionKind::None, 3}, "none"},
        {"zoom-in", MotionSetting{MotionKind::ZoomIn, 3}, "zoom-in:3"},
        {"pan-down:5", MotionSetting{MotionKind::PanDown, 5}, "pan-down:5"},
        {"random:1", MotionSetting{MotionKind::Random, 1}, "random:1"},
        {"auto", MotionSetting{MotionKind::Auto, 3}, "auto:3"},
        {"zoom-in:0", std::nullopt, ""},
        {"zoom-in:6", std::nullopt, ""},
        {"zoom-in:", std::nullopt, ""},
        {"zoom-in:2x", std::nullopt, ""},
        {"spin", std::nullopt, ""},
        {"", std::nullopt, ""},
    };
    for (const Case& c : cases) {
        const auto parsed = model::ParseMotion(c.text);
        EXPECT_EQ(parsed, c.motion) << c.text;
        if (parsed) {
            EXPECT_EQ(model::MotionText(*parsed), c.written) << c.text;
        }
    }
}

TEST(MotionPathTest, EaseStartsAndEndsAtRestAndMovesEvenlyBetween) {
    EXPECT_DOUBLE_EQ(EaseInOut(0), 0);
    EXPECT_DOUBLE_EQ(EaseInOut(1), 1);
    EXPECT_NEAR(EaseInOut(0.5), 0.5, 1e-12);
    double last = 0;
    for (int i = 1; i <= 1000; ++i) {
        const double now = EaseInOut(i / 1000.0);
        EXPECT_GE(now, last) << i;
        last = now;
    }
    // Slow at both ends, an even speed in the middle, no jump where they meet.
    const double h = 1e-6;
    auto speed = [&](double t) { return (EaseInOut(t + h) - EaseInOut(t - h)) / (2 * h); };
    EXPECT_LT(speed(0.01), 0.1);
    EXPECT_LT(speed(0.99), 0.1);
    EXPECT_NEAR(speed(0.3), speed(0.7), 1e-6);
    EXPECT_NEAR(speed(0.25 - 1e-4), speed(0.25 + 1e-4), 1e-2);
    EXPECT_DOUBLE_EQ(MotionTime(0, 50), 0);
    EXPECT_DOUBLE_EQ(MotionTime(49, 50), 1);
    EXPECT_DOUBLE_EQ(MotionTime(0, 1), 0);
}

// Every kind at every strength, over pictures wider, taller and of the
// frame's own proportions: the view keeps the frame's proportions and never
// leaves the picture.
TEST(MotionPathTest, TheViewStaysInsideThePictureInTheFramesProportions) {
    struct Frame {
        int displayWidth, displayHeight;
    };
    struct Picture {
        double width, height;
    };
    for (const Frame frame : {Frame{4, 3}, Frame{16, 9}})
        for (const Picture picture : {Picture{4000, 3000}, Picture{3000, 2000}, Picture{1200, 1600},
                                      Picture{200, 150}, Picture{5000, 1000}})
            for (int kind = 1; kind <= 6; ++kind)
                for (int strength = 1; strength <= 5; ++strength)
                    for (int step = 0; step <= 20; ++step) {
                        const MotionPlan plan{static_cast<MotionKind>(kind), strength};
                        const ViewRect v =
                            ViewAt(plan, picture.width, picture.height, frame.displayWidth,
                                   frame.displayHeight, step / 20.0);
                        const std::string where = "kind " + std::to_string(kind) + " strength " +
                                                  std::to_string(strength) + " step " +
                                                  std::to_string(step);
                        EXPECT_GE(v.x, -1e-9) << where;
                        EXPECT_GE(v.y, -1e-9) << where;
                        EXPECT_LE(v.x + v.width, picture.width + 1e-9) << where;
                        EXPECT_LE(v.y + v.height, picture.height + 1e-9) << where;
                        EXPECT_NEAR(v.width * frame.displayHeight, v.height * frame.displayWidth,
                                    1e-6 * v.width)
                            << where;
                        EXPECT_GE(v.height,
                                  ClosestViewScale(strength) *
                                          CoverView(picture.width, picture.height,
                                                    frame.displayWidth, frame.displayHeight)
                                              .height -
                                      1e-9)
                            << where;
                    }
}

// Which way each kind goes, and how far at strength 1 and 5.
TEST(MotionPathTest, EachKindTravelsItsWayByItsStrength) {
    struct Case {
        MotionKind kind;
        double dx, dy;  // direction of the view's centre
        int grows;      // +1 the view grows (zoom out), -1 shrinks, 0 keeps its size
    };
    const Case cases[] = {
        {MotionKind::ZoomIn, 0, 0, -1},  {MotionKind::ZoomOut, 0, 0, +1},
        {MotionKind::PanLeft, -1, 0, 0}, {MotionKind::PanRight, +1, 0, 0},
        {MotionKind::PanUp, 0, -1, 0},   {MotionKind::PanDown, 0, +1, 0},
    };
    for (const Case& c : cases) {
        for (const int strength : {1, 5}) {
            const MotionPlan plan{c.kind, strength};
            const ViewRect a = ViewAt(plan, 4000, 3000, 4, 3, 0);
            const ViewRect b = ViewAt(plan, 4000, 3000, 4, 3, 1);
            const double moveX = (b.x + b.width / 2) - (a.x + a.width / 2);
            const double moveY = (b.y + b.height / 2) - (a.y + a.height / 2);
            const double travel = 0.05 * strength;
            const std::string where =
                std::to_string(static_cast<int>(c.kind)) + ":" + std::to_string(strength);
            EXPECT_NEAR(moveX, c.dx * travel * 4000, 1e-6) << where;
            EXPECT_NEAR(moveY, c.dy * travel * 3000, 1e-6) << where;
            // Zooms end at 1 - travel of the size they started from (or the
            // other way round); pans keep their size.
            const double expected = c.grows < 0 ? 1 - travel : c.grows > 0 ? 1 / (1 - travel) : 1;
            EXPECT_NEAR(b.width / a.width, expected, 1e-9) << where;
        }
    }
    // A picture wider than the frame pans over what the crop leaves without
    // zooming in when that is room enough.
    const ViewRect wide = ViewAt(MotionPlan{MotionKind::PanLeft, 1}, 3000, 2000, 4, 3, 0);
    EXPECT_NEAR(wide.height, 2000, 1e-9);
}

TEST(MotionPathTest, OnlyRandomMotionDrawsFromTheGenerator) {
    base::SetRandSeed(12345);
    for (int kind = 0; kind <= 6; ++kind) {
        const MotionPlan plan = ResolveMotion(MotionSetting{static_cast<MotionKind>(kind), 4});
        EXPECT_EQ(plan.kind, static_cast<MotionKind>(kind));
        EXPECT_EQ(plan.strength, 4);
    }
    EXPECT_EQ(base::RandSeed(), 12345u);
    // A random motion draws once and is one of the six that move.
    bool seen[8] = {};
    for (int i = 0; i < 200; ++i) {
        const uint32_t before = base::RandSeed();
        const MotionPlan plan = ResolveMotion(MotionSetting{MotionKind::Random, 2});
        EXPECT_EQ(base::RandSeed(), before * 134775813u + 1u);
        ASSERT_TRUE(plan.moves());
        ASSERT_NE(plan.kind, MotionKind::Random);
        seen[static_cast<int>(plan.kind)] = true;
    }
    for (int kind = 1; kind <= 6; ++kind) EXPECT_TRUE(seen[kind]) << kind;
}

}  // namespace
}  // namespace motion
