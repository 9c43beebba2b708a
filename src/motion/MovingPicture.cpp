#include "motion/MovingPicture.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "raster/Blit.h"

namespace motion {

void ReduceForMotion(raster::Bitmap& picture, raster::Bitmap& opacity, int naturalWidth,
                     int naturalHeight, int strength, const FrameShape& frame, bool whole) {
    if (picture.isEmpty() || naturalWidth <= 0 || naturalHeight <= 0) return;
    const ViewRect cover =
        whole ? ContainView(naturalWidth, naturalHeight, frame.displayWidth, frame.displayHeight)
              : CoverView(naturalWidth, naturalHeight, frame.displayWidth, frame.displayHeight);
    const double halfway = std::sqrt(ClosestViewScale(strength));
    const double scale =
        std::max(frame.width / (cover.width * halfway), frame.height / (cover.height * halfway));
    const int width = static_cast<int>(std::ceil(naturalWidth * scale));
    const int height = static_cast<int>(std::ceil(naturalHeight * scale));
    if (width >= picture.width() || height >= picture.height()) return;
    for (raster::Bitmap* bitmap : {&picture, &opacity}) {
        if (bitmap->isEmpty()) continue;
        // Straight into a new bitmap: a stretch onto a blank one would
        // clear it first and copy the result over.
        *bitmap = raster::ResampleArea(*bitmap, width, height);
    }
}

MovingPicture::MovingPicture(const MotionPlan& plan, const raster::Bitmap& picture,
                             const raster::Bitmap& opacity, int naturalWidth, int naturalHeight)
    : plan_(plan), naturalWidth_(naturalWidth), naturalHeight_(naturalHeight) {
    if (!plan.moves() || naturalWidth <= 0 || naturalHeight <= 0) return;
    colour_ = raster::ViewSource(picture);
    if (!opacity.isEmpty()) opacity_ = raster::ViewSource(opacity);
}

namespace {

// One axis of a placed picture: the frame pixels from 'first' up to 'last'
// (exclusive) that it touches, and the picture's edges between them.
struct PlacedAxis {
    int first = 0, last = 0;
    double low = 0, high = 0;
    // The share of frame pixel 'index' the picture covers.
    double Covered(int index) const {
        return std::clamp(std::min<double>(index + 1, high) - std::max<double>(index, low), 0.0,
                          1.0);
    }
};

PlacedAxis PlaceAxis(double viewStart, double viewLength, double pictureLength, int frameLength) {
    const double perPixel = frameLength / viewLength;
    PlacedAxis axis;
    axis.low = std::clamp(-viewStart * perPixel, 0.0, double(frameLength));
    axis.high = std::clamp((pictureLength - viewStart) * perPixel, 0.0, double(frameLength));
    axis.first = static_cast<int>(std::floor(axis.low));
    axis.last = static_cast<int>(std::ceil(axis.high));
    return axis;
}

// Scales the edge rows and columns of the colour and its cover by the share
// of each pixel the picture covers.
void CoverEdges(const PlacedAxis& x, const PlacedAxis& y, raster::Bitmap& colour,
                raster::Bitmap& cover) {
    const int width = x.last - x.first, height = y.last - y.first;
    for (int row = 0; row < height; ++row) {
        const double rowShare = y.Covered(y.first + row);
        const bool edgeRow = rowShare < 1;
        uint8_t* c = colour.row(row);
        uint8_t* a = cover.row(row);
        for (int column = 0; column < width; ++column) {
            if (!edgeRow && column != 0 && column != width - 1) continue;
            const double share = rowShare * x.Covered(x.first + column);
            if (share >= 1) continue;
            for (int i = 3 * column; i < 3 * column + 3; ++i) {
                c[i] = static_cast<uint8_t>(std::lround(c[i] * share));
                a[i] = static_cast<uint8_t>(std::lround(a[i] * share));
            }
        }
    }
}

}  // namespace

raster::Rect MovingPicture::DrawPlaced(const FrameShape& frame, double t, raster::Bitmap& colour,
                                       raster::Bitmap& cover) const {
    const ViewRect view =
        ViewAt(plan_, naturalWidth_, naturalHeight_, frame.displayWidth, frame.displayHeight, t);
    const PlacedAxis x = PlaceAxis(view.x, view.width, naturalWidth_, frame.width);
    const PlacedAxis y = PlaceAxis(view.y, view.height, naturalHeight_, frame.height);
    const raster::Rect placed{x.first, y.first, x.last, y.last};
    if (placed.isEmpty()) return {};
    // The view of the touched pixels, in the pixels the picture holds.
    const double sx = static_cast<double>(colour_.width()) / naturalWidth_;
    const double sy = static_cast<double>(colour_.height()) / naturalHeight_;
    const double unitX = view.width / frame.width, unitY = view.height / frame.height;
    const raster::SourceRect rect{(view.x + x.first * unitX) * sx, (view.y + y.first * unitY) * sy,
                                  placed.width() * unitX * sx, placed.height() * unitY * sy};
    colour.reset(placed.width(), placed.height());
    colour_.Draw(colour, rect);
    cover.reset(placed.width(), placed.height(), raster::RGB(255, 255, 255));
    if (hasOpacity()) opacity_.Draw(cover, rect);
    CoverEdges(x, y, colour, cover);
    return placed;
}

void MovingPicture::Draw(const FrameShape& frame, double t, raster::Bitmap& colour,
                         raster::Bitmap* cover) const {
    const ViewRect view =
        ViewAt(plan_, naturalWidth_, naturalHeight_, frame.displayWidth, frame.displayHeight, t);
    // The view is measured on the picture's natural size; a reduced decode
    // holds fewer pixels.
    const double sx = static_cast<double>(colour_.width()) / naturalWidth_;
    const double sy = static_cast<double>(colour_.height()) / naturalHeight_;
    const raster::SourceRect rect{view.x * sx, view.y * sy, view.width * sx, view.height * sy};
    colour_.Draw(colour, rect);
    if (cover && hasOpacity()) opacity_.Draw(*cover, rect);
}

}  // namespace motion
