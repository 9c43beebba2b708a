#include "motion/MotionPath.h"

#include <algorithm>
#include <cmath>

#include "base/Random.h"

namespace motion {

namespace {

using model::MotionKind;

// The kinds a random motion chooses from, in the order of the draw.
constexpr MotionKind kRandomKinds[] = {MotionKind::ZoomIn,  MotionKind::ZoomOut,
                                       MotionKind::PanLeft, MotionKind::PanRight,
                                       MotionKind::PanUp,   MotionKind::PanDown};

// Share of the time on screen spent speeding up, and again slowing down.
constexpr double kRamp = 0.25;

struct PanAxis {
    bool horizontal;
    double sign;  // +1: the view travels toward larger coordinates
};

// Pans as a table: the view travels toward the named edge of the picture,
// so the picture itself slides the other way across the frame.
struct PanEntry {
    MotionKind kind;
    PanAxis axis;
};
constexpr PanEntry kPans[] = {
    {MotionKind::PanLeft, {true, -1}},
    {MotionKind::PanRight, {true, +1}},
    {MotionKind::PanUp, {false, -1}},
    {MotionKind::PanDown, {false, +1}},
};

ViewRect Scaled(const ViewRect& cover, double scale, double pictureWidth, double pictureHeight) {
    const double width = cover.width * scale, height = cover.height * scale;
    return ViewRect{(pictureWidth - width) / 2, (pictureHeight - height) / 2, width, height};
}

}  // namespace

MotionPlan ResolveMotion(const model::MotionSetting& setting) {
    MotionPlan plan{setting.kind, setting.strength};
    if (setting.kind == MotionKind::Random)
        plan.kind = kRandomKinds[base::Random(std::size(kRandomKinds))];
    return plan;
}

double TravelOf(int strength) {
    return 0.05 * std::clamp(strength, model::kMinMotionStrength, model::kMaxMotionStrength);
}

double EaseInOut(double t) {
    t = std::clamp(t, 0.0, 1.0);
    // Trapezoidal speed with peak 1 / (1 - kRamp) covers exactly the whole way.
    const double peak = 1 / (1 - kRamp);
    if (t < kRamp) return peak * t * t / (2 * kRamp);
    if (t > 1 - kRamp) return 1 - peak * (1 - t) * (1 - t) / (2 * kRamp);
    return peak * (t - kRamp / 2);
}

double MotionTime(int64_t index, int64_t count) {
    if (count <= 1) return 0;
    return std::clamp(static_cast<double>(index) / static_cast<double>(count - 1), 0.0, 1.0);
}

ViewRect CoverView(double pictureWidth, double pictureHeight, int displayWidth, int displayHeight) {
    const double aspect = static_cast<double>(displayWidth) / displayHeight;
    double width = pictureWidth, height = pictureWidth / aspect;
    if (height > pictureHeight) height = pictureHeight, width = pictureHeight * aspect;
    return ViewRect{(pictureWidth - width) / 2, (pictureHeight - height) / 2, width, height};
}

double ClosestViewScale(int strength) {
    return 1 - TravelOf(strength);
}

ViewRect ViewAt(const MotionPlan& plan, double pictureWidth, double pictureHeight, int displayWidth,
                int displayHeight, double t) {
    const ViewRect cover = CoverView(pictureWidth, pictureHeight, displayWidth, displayHeight);
    const double travel = TravelOf(plan.strength);
    const double eased = EaseInOut(t);
    // Zooms change the size by the same factor every moment, which the eye
    // reads as an even speed.
    if (plan.kind == MotionKind::ZoomIn)
        return Scaled(cover, std::pow(1 - travel, eased), pictureWidth, pictureHeight);
    if (plan.kind == MotionKind::ZoomOut)
        return Scaled(cover, std::pow(1 - travel, 1 - eased), pictureWidth, pictureHeight);
    for (const PanEntry& pan : kPans) {
        if (pan.kind != plan.kind) continue;
        const double length = pan.axis.horizontal ? pictureWidth : pictureHeight;
        const double coverLength = pan.axis.horizontal ? cover.width : cover.height;
        const double distance = travel * length;
        // As large as the travel leaves room for along the axis; a picture
        // wider than the frame pans over what the crop left over.
        const double scale = std::min(1.0, (length - distance) / coverLength);
        ViewRect view = Scaled(cover, scale, pictureWidth, pictureHeight);
        const double shift = pan.axis.sign * distance * (eased - 0.5);
        (pan.axis.horizontal ? view.x : view.y) += shift;
        return view;
    }
    return cover;
}

}  // namespace motion
