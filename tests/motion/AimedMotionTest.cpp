// Motion that aims: synthetic subjects stand in for what the detectors
// find, and every view of every kind must hold the faces whole, a zoom must
// end centred on them, Auto must pan along a row and move towards the
// striking part of a picture without faces.
#include <gtest/gtest.h>

#include <string>

#include "base/Random.h"
#include "motion/MotionPath.h"

namespace motion {
namespace {

using model::MotionKind;
using model::MotionSetting;

struct Shape {
    double width, height;
};

constexpr MotionKind kMovingKinds[] = {
    MotionKind::ZoomIn, MotionKind::ZoomOut, MotionKind::PanLeft, MotionKind::PanRight,
    MotionKind::PanUp,  MotionKind::PanDown, MotionKind::Auto};

std::vector<ViewRect> Views(const MotionPlan& plan, Shape picture, Shape frame) {
    std::vector<ViewRect> views;
    for (int step = 0; step <= 40; ++step)
        views.push_back(ViewAt(plan, picture.width, picture.height, static_cast<int>(frame.width),
                               static_cast<int>(frame.height), step / 40.0));
    return views;
}

bool Holds(const ViewRect& view, const SubjectBox& box, Shape picture) {
    const double e = 1e-6 * picture.width;
    return view.x <= box.x * picture.width + e && view.y <= box.y * picture.height + e &&
           view.x + view.width >= box.right() * picture.width - e &&
           view.y + view.height >= box.bottom() * picture.height - e;
}

// Faces anywhere, pictures of both shapes in frames of both shapes, every
// kind at every strength: the views stay inside the picture in the frame's
// proportions and hold the faces (with their margin) whole.
TEST(AimedMotionTest, EveryViewHoldsEveryFaceWhole) {
    const std::vector<SubjectBox> faces[] = {
        {{0.02, 0.05, 0.08, 0.1}},                           // top left corner
        {{0.85, 0.7, 0.1, 0.12}},                            // bottom right
        {{0.45, 0.2, 0.06, 0.08}, {0.6, 0.25, 0.06, 0.08}},  // a pair
        {{0.1, 0.6, 0.05, 0.05}, {0.3, 0.62, 0.05, 0.05}},   // low, off to the left
    };
    for (const Shape picture : {Shape{4000, 3000}, Shape{2000, 3000}, Shape{3000, 3000}})
        for (const Shape frame : {Shape{16, 9}, Shape{9, 16}, Shape{4, 3}})
            for (const auto& set : faces)
                for (const MotionKind kind : kMovingKinds)
                    for (int strength = 1; strength <= 5; ++strength) {
                        const MotionPlan plan =
                            ResolveMotion(MotionSetting{kind, strength}, Subject{set, {}, {}});
                        const SubjectBox kept = *FacesBox(Subject{set, {}, {}});
                        ASSERT_EQ(plan.keep, kept);
                        const ViewRect cover =
                            CoverView(picture.width, picture.height, static_cast<int>(frame.width),
                                      static_cast<int>(frame.height));
                        // Only a box the narrowest view has room for can be held.
                        if (kept.width * picture.width > 0.75 * cover.width ||
                            kept.height * picture.height > 0.75 * cover.height)
                            continue;
                        const std::string where =
                            std::to_string(picture.width) + "x" + std::to_string(picture.height) +
                            " in " + std::to_string(frame.width) + ":" +
                            std::to_string(frame.height) + " kind " +
                            std::to_string(static_cast<int>(kind)) + ":" +
                            std::to_string(strength) + " face at " + std::to_string(set[0].x);
                        for (const ViewRect& v : Views(plan, picture, frame)) {
                            EXPECT_TRUE(Holds(v, kept, picture)) << where;
                            EXPECT_GE(v.x, -1e-9) << where;
                            EXPECT_GE(v.y, -1e-9) << where;
                            EXPECT_LE(v.x + v.width, picture.width + 1e-6) << where;
                            EXPECT_LE(v.y + v.height, picture.height + 1e-6) << where;
                            EXPECT_NEAR(v.width * frame.height, v.height * frame.width,
                                        1e-6 * v.width)
                                << where;
                        }
                    }
}

// Faces whose box with its margin is larger than the widest view (a
// portrait's face in a 16:9 band, a wide group in 9:16): no view can hold
// the box, so each must show as much of it as the widest view can, which a
// pan travelling its full distance past the face, or closing in to travel,
// does not.
TEST(AimedMotionTest, ABoxLargerThanTheWidestViewFillsEveryView) {
    struct Case {
        Shape picture, frame;
        SubjectBox face;
    };
    const Case cases[] = {
        {{512, 600}, {16, 9}, {0.31, 0.23, 0.42, 0.36}},  // a head and shoulders portrait
        {{3000, 2000}, {9, 16}, {0.2, 0.4, 0.3, 0.1}},    // a pair across a landscape
    };
    for (const Case& c : cases)
        for (const MotionKind kind : kMovingKinds) {
            const Subject subject{{c.face}, {}, {}};
            const MotionPlan plan = ResolveMotion(MotionSetting{kind, 5}, subject);
            const SubjectBox kept = *plan.keep;
            const double w = kept.width * c.picture.width, h = kept.height * c.picture.height;
            const ViewRect widest =
                CoverView(c.picture.width, c.picture.height, static_cast<int>(c.frame.width),
                          static_cast<int>(c.frame.height));
            for (const ViewRect& v : Views(plan, c.picture, c.frame)) {
                const double inX = std::min(v.x + v.width, kept.right() * c.picture.width) -
                                   std::max(v.x, kept.x * c.picture.width);
                const double inY = std::min(v.y + v.height, kept.bottom() * c.picture.height) -
                                   std::max(v.y, kept.y * c.picture.height);
                EXPECT_NEAR(inX, std::min(w, widest.width), 1e-6 * w)
                    << c.picture.width << " kind " << static_cast<int>(kind);
                EXPECT_NEAR(inY, std::min(h, widest.height), 1e-6 * h)
                    << c.picture.width << " kind " << static_cast<int>(kind);
            }
        }
}

// A frame filled by a landscape too wide for all its faces at once (a
// group reframed for 9:16): every view holds the largest face whole, with
// those that fit beside it, not the gap between the people; and all of them
// where only their margins do not fit.
TEST(AimedMotionTest, AFrameTooNarrowForTheGroupHoldsTheFacesThatFit) {
    const Shape picture{3000, 2000};
    struct Case {
        std::vector<SubjectBox> faces;
        std::vector<size_t> held;  // indices of the faces every view holds
    };
    const Case cases[] = {
        {{{0.1, 0.4, 0.08, 0.1}, {0.75, 0.35, 0.1, 0.12}}, {1}},
        {{{0.05, 0.4, 0.05, 0.07}, {0.45, 0.4, 0.06, 0.08}, {0.55, 0.41, 0.06, 0.08}}, {1, 2}},
        // Room for the pair, not for their margins.
        {{{0.3, 0.4, 0.06, 0.08}, {0.6, 0.4, 0.06, 0.08}}, {0, 1}},
    };
    for (const Case& c : cases)
        for (const MotionKind kind : kMovingKinds) {
            const Subject subject{c.faces, {}, {}};
            const MotionPlan plan = PlanMotion(MotionSetting{kind, 5}, model::MotionFit::Fill,
                                               subject, picture.width, picture.height, 9, 16);
            for (const ViewRect& v : Views(plan, picture, {9, 16}))
                for (const size_t i : c.held)
                    EXPECT_TRUE(Holds(v, c.faces[i], picture))
                        << c.faces.size() << " faces, face " << i << ", kind "
                        << static_cast<int>(kind);
        }
}

// A zoom in ends centred on the faces (or the user's point) where the
// picture has room around them, and as close as the strength asks; a zoom
// out starts there.
TEST(AimedMotionTest, ZoomsEndCentredOnTheSubject) {
    const Shape picture{4000, 3000};
    struct Case {
        Subject subject;
        double x, y;  // the expected centre of the closest view, in shares
    };
    const Case cases[] = {
        {Subject{{{0.42, 0.3, 0.06, 0.08}}, {}, {}}, 0.45, 0.3 + 0.08 * 0.4},
        {Subject{{}, {}, SubjectPoint{0.6, 0.45}}, 0.6, 0.45},
    };
    for (const Case& c : cases) {
        for (const MotionKind kind : {MotionKind::ZoomIn, MotionKind::ZoomOut}) {
            const MotionPlan plan = ResolveMotion(MotionSetting{kind, 5}, c.subject);
            const auto views = Views(plan, picture, {16, 9});
            const ViewRect& close = kind == MotionKind::ZoomIn ? views.back() : views.front();
            const ViewRect& wide = kind == MotionKind::ZoomIn ? views.front() : views.back();
            EXPECT_NEAR((close.x + close.width / 2) / picture.width, c.x, 1e-9);
            EXPECT_NEAR((close.y + close.height / 2) / picture.height, c.y, 1e-9);
            EXPECT_NEAR(close.width / wide.width, 0.75, 1e-9);
        }
    }
    // Faces too large for the closest view stop the zoom where they fit.
    const Subject large{{{0.25, 0.3, 0.5, 0.4}}, {}, {}};
    const auto views =
        Views(ResolveMotion(MotionSetting{MotionKind::ZoomIn, 5}, large), picture, {16, 9});
    const SubjectBox kept = *FacesBox(large);
    EXPECT_GT(views.back().width / views.front().width, 0.75);
    EXPECT_TRUE(Holds(views.back(), kept, picture));
    EXPECT_NEAR(std::max(kept.width * picture.width / views.back().width,
                         kept.height * picture.height / views.back().height),
                1, 1e-9);
}

// Auto: a pan along a row of faces, a zoom towards a group, a move towards
// the striking region of a picture without faces; the explicit kinds pay
// the striking region no heed, so their frames stay as they were. A crowd
// is no subject. Auto draws nothing from the generator.
TEST(AimedMotionTest, AutoChoosesItsMoveFromTheSubject) {
    const Shape picture{4000, 3000};
    base::SetRandSeed(777);
    const Subject row{
        {{0.1, 0.4, 0.06, 0.08}, {0.4, 0.42, 0.06, 0.08}, {0.7, 0.41, 0.06, 0.08}}, {}, {}};
    const MotionPlan pan = ResolveMotion(MotionSetting{MotionKind::Auto, 3}, row);
    EXPECT_EQ(pan.kind, MotionKind::PanRight);
    const auto panViews = Views(pan, picture, {16, 9});
    EXPECT_GT(panViews.back().x, panViews.front().x);
    for (const ViewRect& v : panViews) EXPECT_TRUE(Holds(v, *pan.keep, picture));

    const Subject group{{{0.5, 0.2, 0.08, 0.1}, {0.6, 0.22, 0.08, 0.1}}, {}, {}};
    EXPECT_EQ(ResolveMotion(MotionSetting{MotionKind::Auto, 3}, group).kind, MotionKind::ZoomIn);

    const Subject scenery{{}, SubjectBox{0.7, 0.1, 0.2, 0.2}, {}};
    const MotionPlan towards = ResolveMotion(MotionSetting{MotionKind::Auto, 2}, scenery);
    EXPECT_EQ(towards.kind, MotionKind::ZoomIn);
    const ViewRect end = Views(towards, picture, {4, 3}).back();
    EXPECT_GT(end.x + end.width / 2, picture.width / 2);
    EXPECT_LT(end.y + end.height / 2, picture.height / 2);
    for (const MotionKind kind : {MotionKind::ZoomIn, MotionKind::PanUp}) {
        const MotionPlan plain = ResolveMotion(MotionSetting{kind, 4});
        const MotionPlan withScenery = ResolveMotion(MotionSetting{kind, 4}, scenery);
        EXPECT_FALSE(withScenery.aims());
        for (int step = 0; step <= 10; ++step) {
            const ViewRect a = ViewAt(plain, 4000, 3000, 16, 9, step / 10.0);
            const ViewRect b = ViewAt(withScenery, 4000, 3000, 16, 9, step / 10.0);
            EXPECT_EQ(std::tie(a.x, a.y, a.width, a.height), std::tie(b.x, b.y, b.width, b.height));
        }
    }

    Subject crowd;
    for (int i = 0; i < 200; ++i)
        crowd.faces.push_back(SubjectBox{(i % 20) * 0.05, (i / 20) * 0.1, 0.03, 0.04});
    crowd.salient = SubjectBox{0, 0, 0.1, 0.1};
    const MotionPlan centre = ResolveMotion(MotionSetting{MotionKind::Auto, 3}, crowd);
    EXPECT_EQ(centre.kind, MotionKind::ZoomIn);
    EXPECT_FALSE(centre.aims());
    EXPECT_EQ(base::RandSeed(), 777u);
}

}  // namespace
}  // namespace motion
