#include "motion/MotionPath.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

// Faces this much wider together than tall stand in a row, which a pan
// follows better than a zoom.
constexpr double kRowShape = 2.5;

// One axis of an aimed or whole plan, in picture pixels: the point to
// centre on and the stretch to hold whole (empty when there is none).
struct AxisAim {
    double length;  // the picture's
    double centre;
    double keepLow, keepHigh;
    bool whole;  // a view longer than the picture holds all of it
    bool keeps() const { return keepHigh > keepLow; }
    // The range a view of 'size' may start in: inside the picture, or, for
    // a whole plan's view longer than the picture, around all of it.
    double Lowest(double size) const { return whole ? std::min(0.0, length - size) : 0.0; }
    double Highest(double size) const { return std::max(0.0, length - size); }
    // Where a view of 'size' starts: centred on the aim, moved as little as
    // holding the kept stretch needs, and inside the picture. A stretch
    // larger than the view is centred instead.
    double Place(double size) const {
        double start = centre - size / 2;
        if (keeps() && keepHigh - keepLow <= size)
            start = std::clamp(start, keepHigh - size, keepLow);
        else if (keeps())
            start = (keepLow + keepHigh - size) / 2;
        return std::clamp(start, Lowest(size), Highest(size));
    }
    // The largest share of 'size' a view may shrink to and still hold the
    // kept stretch.
    double Needed(double size) const { return keeps() ? (keepHigh - keepLow) / size : 0; }
};

AxisAim AimOn(const MotionPlan& plan, bool horizontal, double pictureWidth, double pictureHeight) {
    const double length = horizontal ? pictureWidth : pictureHeight;
    AxisAim axis{length, length / 2, 0, 0, plan.whole};
    if (plan.keep) {
        const SubjectBox& box = *plan.keep;
        axis.keepLow = length * (horizontal ? box.x : box.y);
        axis.keepHigh = length * (horizontal ? box.right() : box.bottom());
        axis.centre = (axis.keepLow + axis.keepHigh) / 2;
    }
    if (plan.aim) axis.centre = length * (horizontal ? plan.aim->x : plan.aim->y);
    return axis;
}

ViewRect Placed(const AxisAim& x, const AxisAim& y, double width, double height) {
    return ViewRect{x.Place(width), y.Place(height), width, height};
}

ViewRect Between(const ViewRect& from, const ViewRect& to, double share) {
    auto mix = [share](double a, double b) { return a + (b - a) * share; };
    return ViewRect{mix(from.x, to.x), mix(from.y, to.y), mix(from.width, to.width),
                    mix(from.height, to.height)};
}

// The views of an aimed or whole plan: a crop placed around the subject, a
// zoom between the widest view and a view centred on the aim (never so
// close that the kept box leaves it, nor, whole, closer than filling the
// frame), a pan shortened to what keeps the box in every view (and no
// closer than holding it needs). Every view
// lies between two views that hold the box, so it holds it too. 'widest'
// is the plan's widest view, 'cover' the largest inside the picture.
ViewRect AimedViewAt(const MotionPlan& plan, double pictureWidth, double pictureHeight,
                     const ViewRect& widest, const ViewRect& cover, double eased) {
    const AxisAim x = AimOn(plan, true, pictureWidth, pictureHeight);
    const AxisAim y = AimOn(plan, false, pictureWidth, pictureHeight);
    const double travel = TravelOf(plan.strength);
    const bool zoomIn = plan.kind == MotionKind::ZoomIn, zoomOut = plan.kind == MotionKind::ZoomOut;
    if (zoomIn || zoomOut) {
        const double filled = plan.whole ? cover.width / widest.width : 0;
        const double closest = std::clamp(
            std::max({x.Needed(widest.width), y.Needed(widest.height), filled}), 1 - travel, 1.0);
        // A whole picture starts (or ends) where a still one lies.
        const ViewRect wide = plan.whole ? widest : Placed(x, y, widest.width, widest.height);
        const ViewRect close = Placed(x, y, widest.width * closest, widest.height * closest);
        if (closest >= 1) return wide;
        // The size changes by the same factor every moment, as unaimed
        // zooms do; the position follows the size.
        const double scale = std::pow(closest, zoomIn ? eased : 1 - eased);
        return Between(wide, close, (1 - scale) / (1 - closest));
    }
    for (const PanEntry& pan : kPans) {
        if (pan.kind != plan.kind) continue;
        const AxisAim& along = pan.axis.horizontal ? x : y;
        const AxisAim& across = pan.axis.horizontal ? y : x;
        const double widestLength = pan.axis.horizontal ? widest.width : widest.height;
        double distance = travel * along.length;
        // As large as the travel leaves room for along the axis; a whole
        // picture narrower than the view travels beside itself, when that
        // room is enough.
        const bool besideRoom = plan.whole && widestLength - along.length >= distance;
        // Never so close that the kept box leaves the view, as a zoom: the
        // pan travels what room is left.
        const double needed = std::max(x.Needed(widest.width), y.Needed(widest.height));
        const double scale =
            besideRoom ? 1.0
                       : std::min(1.0, std::max((along.length - distance) / widestLength, needed));
        ViewRect view = Placed(x, y, widest.width * scale, widest.height * scale);
        const double size = widestLength * scale;
        // Across the pan a whole picture stays centred, as a still one lies.
        const double acrossSize = pan.axis.horizontal ? view.height : view.width;
        if (plan.whole && acrossSize >= across.length)
            (pan.axis.horizontal ? view.y : view.x) = (across.length - acrossSize) / 2;
        // Where the view may start and still hold the kept stretch.
        double low = along.Lowest(size), high = along.Highest(size);
        if (along.keeps() && along.keepHigh - along.keepLow <= size) {
            low = std::max(low, along.keepHigh - size);
            high = std::min(high, along.keepLow);
        } else if (along.keeps()) {
            // A stretch longer than the view: the view stays within it, so
            // it shows as much of the faces as a view of its size can.
            low = std::max(low, along.keepLow);
            high = std::min(high, along.keepHigh - size);
        }
        distance = std::clamp(high - low, 0.0, distance);
        const double middle =
            std::clamp(along.centre - size / 2, low + distance / 2, high - distance / 2);
        (pan.axis.horizontal ? view.x : view.y) =
            high < low ? along.Place(size) : middle + pan.axis.sign * distance * (eased - 0.5);
        return view;
    }
    return plan.whole ? widest : Placed(x, y, widest.width, widest.height);
}

bool HoldsBox(const ViewRect& view, const SubjectBox& box, double pictureWidth,
              double pictureHeight) {
    // A thousandth of a pixel of slack for the arithmetic of the placing.
    constexpr double e = 1e-3;
    return view.x <= box.x * pictureWidth + e && view.y <= box.y * pictureHeight + e &&
           view.x + view.width >= box.right() * pictureWidth - e &&
           view.y + view.height >= box.bottom() * pictureHeight - e;
}

}  // namespace

std::optional<SubjectBox> FacesBox(const Subject& subject) {
    if (subject.faces.empty() || subject.faces.size() > kMaxSubjectFaces) return std::nullopt;
    // A detector's box runs from brow to chin; the margin takes in the hair
    // and the chin, more above than below.
    double left = 1, top = 1, right = 0, bottom = 0;
    for (const SubjectBox& face : subject.faces) {
        left = std::min(left, face.x - 0.2 * face.width);
        right = std::max(right, face.right() + 0.2 * face.width);
        top = std::min(top, face.y - 0.35 * face.height);
        bottom = std::max(bottom, face.bottom() + 0.15 * face.height);
    }
    left = std::clamp(left, 0.0, 1.0), right = std::clamp(right, 0.0, 1.0);
    top = std::clamp(top, 0.0, 1.0), bottom = std::clamp(bottom, 0.0, 1.0);
    if (right <= left || bottom <= top) return std::nullopt;
    return SubjectBox{left, top, right - left, bottom - top};
}

MotionPlan ResolveMotion(const model::MotionSetting& setting, const Subject& subject) {
    MotionPlan plan{setting.kind, setting.strength};
    if (setting.kind == MotionKind::Random)
        plan.kind = kRandomKinds[base::Random(std::size(kRandomKinds))];
    if (!plan.moves()) return plan;
    plan.keep = FacesBox(subject);
    plan.aim = subject.focus;
    if (setting.kind != MotionKind::Auto) return plan;
    plan.kind = MotionKind::ZoomIn;
    if (plan.keep) {
        const bool row =
            subject.faces.size() >= 2 && plan.keep->width >= kRowShape * plan.keep->height;
        if (row) plan.kind = MotionKind::PanRight;
    } else if (!plan.aim && subject.salient && subject.faces.size() <= kMaxSubjectFaces) {
        const SubjectBox& salient = *subject.salient;
        plan.aim = SubjectPoint{salient.x + salient.width / 2, salient.y + salient.height / 2};
    }
    return plan;
}

std::optional<CropAim> CropAimOf(const Subject& subject) {
    const std::optional<SubjectBox> faces = FacesBox(subject);
    std::optional<SubjectPoint> centre = subject.focus;
    const auto middle = [](const SubjectBox& box) {
        return SubjectPoint{box.x + box.width / 2, box.y + box.height / 2};
    };
    if (!centre && faces) centre = middle(*faces);
    if (!centre && subject.salient && subject.faces.size() <= kMaxSubjectFaces)
        centre = middle(*subject.salient);
    if (!centre) return std::nullopt;
    return CropAim{*centre, faces};
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

ViewRect ContainView(double pictureWidth, double pictureHeight, int displayWidth,
                     int displayHeight) {
    const double aspect = static_cast<double>(displayWidth) / displayHeight;
    double width = pictureWidth, height = pictureWidth / aspect;
    if (height < pictureHeight) height = pictureHeight, width = pictureHeight * aspect;
    return ViewRect{(pictureWidth - width) / 2, (pictureHeight - height) / 2, width, height};
}

ViewRect WidestView(const MotionPlan& plan, double pictureWidth, double pictureHeight,
                    int displayWidth, int displayHeight) {
    return plan.whole ? ContainView(pictureWidth, pictureHeight, displayWidth, displayHeight)
                      : CoverView(pictureWidth, pictureHeight, displayWidth, displayHeight);
}

bool ShowsWhole(model::MotionFit fit, const MotionPlan& plan, const Subject& subject,
                double pictureWidth, double pictureHeight, int displayWidth, int displayHeight) {
    if (!plan.moves() || fit == model::MotionFit::Fill) return false;
    if (fit == model::MotionFit::Whole) return true;
    const ViewRect cover = CoverView(pictureWidth, pictureHeight, displayWidth, displayHeight);
    if (cover.width * cover.height < 0.5 * pictureWidth * pictureHeight) return true;
    MotionPlan filling = plan;
    filling.whole = false;
    // Every view of a plan lies between its first and its last, so a face
    // both hold is held throughout.
    for (const double t : {0.0, 1.0}) {
        const ViewRect view =
            ViewAt(filling, pictureWidth, pictureHeight, displayWidth, displayHeight, t);
        for (const SubjectBox& face : subject.faces)
            if (!HoldsBox(view, face, pictureWidth, pictureHeight)) return true;
    }
    return false;
}

MotionPlan PlanMotion(const model::MotionSetting& setting, model::MotionFit fit,
                      const Subject& subject, double pictureWidth, double pictureHeight,
                      int displayWidth, int displayHeight) {
    MotionPlan plan = ResolveMotion(setting, subject);
    plan.whole =
        ShowsWhole(fit, plan, subject, pictureWidth, pictureHeight, displayWidth, displayHeight);
    if (plan.whole || !plan.keep) return plan;
    const ViewRect cover = CoverView(pictureWidth, pictureHeight, displayWidth, displayHeight);
    const auto fits = [&](const SubjectBox& box) {
        return box.width * pictureWidth <= cover.width &&
               box.height * pictureHeight <= cover.height;
    };
    if (fits(*plan.keep)) return plan;
    // The largest face first, then each other, largest first, whose face
    // (without its margin) still fits beside those taken.
    std::vector<SubjectBox> faces = subject.faces;
    std::stable_sort(faces.begin(), faces.end(), [](const SubjectBox& a, const SubjectBox& b) {
        return a.width * a.height > b.width * b.height;
    });
    Subject taken;
    SubjectBox bare = faces.front();
    for (const SubjectBox& face : faces) {
        const double left = std::min(bare.x, face.x), top = std::min(bare.y, face.y);
        const SubjectBox both{left, top, std::max(bare.right(), face.right()) - left,
                              std::max(bare.bottom(), face.bottom()) - top};
        if (!taken.faces.empty() && !fits(both)) continue;
        taken.faces.push_back(face);
        bare = both;
    }
    // Their margins as far as the frame has room, around the faces.
    SubjectBox keep = *FacesBox(taken);
    const auto narrow = [](double& start, double& length, double low, double high, double room) {
        if (length <= room || high - low > room) return;
        start = std::clamp(start + (length - room) / 2, high - room, low);
        length = room;
    };
    narrow(keep.x, keep.width, bare.x, bare.right(), cover.width / pictureWidth);
    narrow(keep.y, keep.height, bare.y, bare.bottom(), cover.height / pictureHeight);
    plan.keep = keep;
    return plan;
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
    if (plan.whole)
        return AimedViewAt(plan, pictureWidth, pictureHeight,
                           ContainView(pictureWidth, pictureHeight, displayWidth, displayHeight),
                           cover, eased);
    if (plan.aims()) return AimedViewAt(plan, pictureWidth, pictureHeight, cover, cover, eased);
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
