#include "motion/MovingPicture.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "raster/Blit.h"

namespace motion {

void ReduceForMotion(raster::Bitmap& picture, raster::Bitmap& opacity, int naturalWidth,
                     int naturalHeight, int strength, const FrameShape& frame) {
    if (picture.isEmpty() || naturalWidth <= 0 || naturalHeight <= 0) return;
    const ViewRect cover =
        CoverView(naturalWidth, naturalHeight, frame.displayWidth, frame.displayHeight);
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
