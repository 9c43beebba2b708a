// Motion over the whole picture: a picture of other proportions than the
// frame's moves lying whole on what is around it. Synthetic subjects stand
// in for the detectors; every shape pair and every kind must keep the
// subject in view, never leave the fill beside a cut edge, never zoom past
// filling the frame, and end a zoom on the subject. Auto must choose whole
// or fill by what filling would cut.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "motion/MotionPath.h"
#include "motion/MovingPicture.h"

namespace motion {
namespace {

using model::MotionFit;
using model::MotionKind;
using model::MotionSetting;

struct ShapePair {
    const char* name;
    double width, height;  // the picture
    int displayWidth, displayHeight;
};
constexpr ShapePair kPairs[] = {
    {"portrait in 16:9", 3000, 4000, 16, 9},
    {"landscape in 9:16", 4000, 3000, 9, 16},
    {"landscape in 1:1", 4000, 3000, 1, 1},
};

constexpr MotionKind kKinds[] = {MotionKind::ZoomIn,   MotionKind::ZoomOut, MotionKind::PanLeft,
                                 MotionKind::PanRight, MotionKind::PanUp,   MotionKind::PanDown,
                                 MotionKind::Auto};

// One face a little above and left of the middle.
const Subject kFace{{{0.44, 0.4, 0.06, 0.08}}, {}, {}};

constexpr double kSlack = 1e-6;

// Along one axis the view either lies inside the picture or holds all of it:
// the fill never shows beside an edge the view cuts.
bool NoCutBesideFill(double start, double size, double length) {
    const bool inside = start >= -kSlack && start + size <= length + kSlack;
    const bool around = start <= kSlack && start + size >= length - kSlack;
    return inside || around;
}

TEST(WholeMotionTest, EveryViewKeepsTheSubjectAndNeverCutsBesideTheFill) {
    for (const ShapePair& pair : kPairs)
        for (const MotionKind kind : kKinds) {
            MotionPlan plan = ResolveMotion(MotionSetting{kind, 5}, kFace);
            plan.whole = true;
            const SubjectBox keep = *plan.keep;
            const ViewRect cover =
                CoverView(pair.width, pair.height, pair.displayWidth, pair.displayHeight);
            const std::string where =
                std::string(pair.name) + ", " + model::MotionKindInfo(kind).name;
            for (int step = 0; step <= 40; ++step) {
                const ViewRect v = ViewAt(plan, pair.width, pair.height, pair.displayWidth,
                                          pair.displayHeight, step / 40.0);
                EXPECT_NEAR(v.width * pair.displayHeight, v.height * pair.displayWidth,
                            kSlack * v.width)
                    << where;
                EXPECT_LE(v.x, keep.x * pair.width + kSlack) << where << " step " << step;
                EXPECT_LE(v.y, keep.y * pair.height + kSlack) << where << " step " << step;
                EXPECT_GE(v.x + v.width, keep.right() * pair.width - kSlack) << where;
                EXPECT_GE(v.y + v.height, keep.bottom() * pair.height - kSlack) << where;
                EXPECT_TRUE(NoCutBesideFill(v.x, v.width, pair.width)) << where << " step " << step;
                EXPECT_TRUE(NoCutBesideFill(v.y, v.height, pair.height))
                    << where << " step " << step;
                // Never closer than the view where the picture fills the frame.
                EXPECT_GE(v.width, cover.width - kSlack) << where << " step " << step;
            }
        }
}

TEST(WholeMotionTest, ZoomsRunFromTheStillPictureToTheSubject) {
    for (const ShapePair& pair : kPairs) {
        MotionPlan plan = ResolveMotion(MotionSetting{MotionKind::ZoomIn, 5}, kFace);
        plan.whole = true;
        const auto view = [&](double t) {
            return ViewAt(plan, pair.width, pair.height, pair.displayWidth, pair.displayHeight, t);
        };
        const ViewRect first = view(0), last = view(1);
        // The first view lies as a still picture does: whole, centred.
        const ViewRect still =
            ContainView(pair.width, pair.height, pair.displayWidth, pair.displayHeight);
        EXPECT_NEAR(first.x, still.x, kSlack) << pair.name;
        EXPECT_NEAR(first.y, still.y, kSlack) << pair.name;
        EXPECT_NEAR(first.width, still.width, kSlack) << pair.name;
        EXPECT_NEAR(std::min(still.width - pair.width, still.height - pair.height), 0, kSlack)
            << pair.name << ": the still view must touch the picture on one axis";
        EXPECT_TRUE(still.width >= pair.width - kSlack && still.height >= pair.height - kSlack);
        // The last is as close as the strength asks, centred on the faces as
        // near as the picture allows: inside it, or around all of it.
        EXPECT_NEAR(last.width / first.width, 0.75, 1e-9) << pair.name;
        const SubjectBox& keep = *plan.keep;
        const auto nearest = [](double centre, double size, double length) {
            const double low = std::min(0.0, length - size), high = std::max(0.0, length - size);
            return std::clamp(centre - size / 2, low, high) + size / 2;
        };
        const double cx = (keep.x + keep.width / 2) * pair.width;
        const double cy = (keep.y + keep.height / 2) * pair.height;
        EXPECT_NEAR(last.x + last.width / 2, nearest(cx, last.width, pair.width), 1e-6)
            << pair.name;
        EXPECT_NEAR(last.y + last.height / 2, nearest(cy, last.height, pair.height), 1e-6)
            << pair.name;
        // Centred on the faces exactly where there is room: across the pair
        // with the most room around them.
        if (pair.displayWidth == 16) {
            EXPECT_NEAR(last.x + last.width / 2, cx, 1e-6);
        }
    }
}

TEST(WholeMotionTest, APanBesideTheWholePictureTravelsItsStrengthAndShowsItAll) {
    // A portrait in 16:9 has room beside it: the view keeps its widest size
    // and moves a quarter of the picture's width at strength 5.
    MotionPlan plan = ResolveMotion(MotionSetting{MotionKind::PanLeft, 5});
    plan.whole = true;
    const ViewRect first = ViewAt(plan, 3000, 4000, 16, 9, 0);
    const ViewRect last = ViewAt(plan, 3000, 4000, 16, 9, 1);
    EXPECT_NEAR(first.x - last.x, 0.25 * 3000, 1e-6);
    for (const ViewRect& v : {first, last}) {
        EXPECT_NEAR(v.height, 4000, 1e-6);
        EXPECT_LE(v.x, 0);
        EXPECT_GE(v.x + v.width, 3000);
    }
}

TEST(WholeMotionTest, AutoShowsWholeWhereFillingWouldCutAFaceOrMostOfThePicture) {
    struct Case {
        const char* name;
        double width, height;
        int displayWidth, displayHeight;
        MotionFit fit;
        MotionKind kind;
        Subject subject;
        bool whole;
    };
    const Subject centred{{{0.47, 0.4, 0.06, 0.08}}, {}, {}};
    const Subject atTheEdge{{{0.01, 0.4, 0.06, 0.08}}, {}, {}};
    const Subject topAndBottom{{{0.3, 0.05, 0.06, 0.08}, {0.6, 0.85, 0.06, 0.08}}, {}, {}};
    const Subject leftAndRight{{{0.05, 0.4, 0.06, 0.08}, {0.88, 0.42, 0.06, 0.08}}, {}, {}};
    const Case cases[] = {
        {"landscape in 9:16 keeps 42%",
         4000,
         3000,
         9,
         16,
         MotionFit::Auto,
         MotionKind::ZoomIn,
         {},
         true},
        {"landscape in 1:1, a face in the middle", 4000, 3000, 1, 1, MotionFit::Auto,
         MotionKind::ZoomIn, centred, false},
        {"landscape in 1:1, a pan kept short of cutting a face at the edge", 4000, 3000, 1, 1,
         MotionFit::Auto, MotionKind::PanRight, atTheEdge, false},
        {"landscape in 1:1, a zoom out that cannot hold two faces", 4000, 3000, 1, 1,
         MotionFit::Auto, MotionKind::ZoomOut, leftAndRight, true},
        {"square in 16:9 keeps 56%, faces above and below", 3000, 3000, 16, 9, MotionFit::Auto,
         MotionKind::PanRight, topAndBottom, true},
        {"square in 16:9 without faces",
         3000,
         3000,
         16,
         9,
         MotionFit::Auto,
         MotionKind::PanRight,
         {},
         false},
        {"fill cuts whatever it cuts", 4000, 3000, 9, 16, MotionFit::Fill, MotionKind::ZoomIn,
         topAndBottom, false},
        {"whole is whole", 4000, 3000, 4, 3, MotionFit::Whole, MotionKind::ZoomIn, {}, true},
        {"a still picture is no plan",
         4000,
         3000,
         9,
         16,
         MotionFit::Whole,
         MotionKind::None,
         {},
         false},
    };
    for (const Case& c : cases) {
        const MotionPlan plan = ResolveMotion(MotionSetting{c.kind, 4}, c.subject);
        EXPECT_EQ(
            ShowsWhole(c.fit, plan, c.subject, c.width, c.height, c.displayWidth, c.displayHeight),
            c.whole)
            << c.name;
    }
}

// A whole picture drawn into a frame: the part it covers, with edges that
// take the share of the pixel they cover, so a picture a fraction of a
// pixel further along changes its edge pixels by that fraction.
TEST(WholeMotionTest, APlacedPictureCoversItsShareOfTheEdgePixels) {
    raster::Bitmap picture(300, 400, raster::RGB(200, 200, 200));
    MotionPlan plan = ResolveMotion(MotionSetting{MotionKind::PanLeft, 1});
    plan.whole = true;
    const MovingPicture moving(plan, picture, {}, 300, 400);
    const FrameShape frame{160, 90, 16, 9};
    raster::Bitmap colour, cover;
    double previousEdge = -1;
    for (int step = 0; step <= 8; ++step) {
        const raster::Rect placed = moving.DrawPlaced(frame, step / 8.0, colour, cover);
        ASSERT_EQ(placed.height(), 90);
        ASSERT_EQ(colour.width(), placed.width());
        ASSERT_EQ(cover.width(), placed.width());
        // 300 x 400 is 67.5 frame pixels wide at full height.
        const int middle = cover.width() / 2;
        EXPECT_EQ(cover.row(45)[3 * middle], 255);
        EXPECT_EQ(colour.row(45)[3 * middle], 200);
        double covered = 0;
        for (int x = 0; x < cover.width(); ++x) covered += cover.row(45)[3 * x] / 255.0;
        EXPECT_NEAR(covered, 67.5, 0.02) << "step " << step;
        // Premultiplied: the colour at an edge is its cover's share.
        const int edge = cover.row(45)[0];
        EXPECT_NEAR(colour.row(45)[0], edge * 200 / 255.0, 1);
        const double leftEdge = placed.left + 1 - edge / 255.0;
        if (previousEdge >= 0) {
            EXPECT_GT(leftEdge, previousEdge) << "step " << step;
        }
        previousEdge = leftEdge;
    }
}

}  // namespace
}  // namespace motion
