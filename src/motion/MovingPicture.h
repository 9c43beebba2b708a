// A picture prepared to move: reduced once so that every view of its motion
// samples about one picture pixel per frame pixel, then drawn at any moment
// of the motion into a frame. Shared by the video build and the preview;
// frames are described by their size and display proportions, so square
// and non-square pixels, small previews and large frames work alike.
#pragma once

#include "motion/MotionPath.h"
#include "raster/Bitmap.h"
#include "raster/Resample.h"

namespace motion {

// A frame: its size in pixels and the proportions it is shown at.
struct FrameShape {
    int width = 0;
    int height = 0;
    int displayWidth = 4;
    int displayHeight = 3;
};

// Reduces 'picture' (and 'opacity', when it has one) with an area-averaging
// stretch to the size at which the views of a motion of this strength come
// out at between about 0.87 and 1.15 picture pixels per frame pixel (one
// halfway), where blending the nearest four pixels neither blurs nor
// flickers. A picture already that small is left as it is. 'naturalWidth'
// x 'naturalHeight' is its size in its file. A picture shown 'whole' has
// wider views, and needs fewer pixels.
void ReduceForMotion(raster::Bitmap& picture, raster::Bitmap& opacity, int naturalWidth,
                     int naturalHeight, int strength, const FrameShape& frame, bool whole = false);

class MovingPicture {
public:
    MovingPicture() = default;
    // The picture (maybe a reduced decode of a naturalWidth x naturalHeight
    // file) and its opacity (empty for an opaque picture).
    MovingPicture(const MotionPlan& plan, const raster::Bitmap& picture,
                  const raster::Bitmap& opacity, int naturalWidth, int naturalHeight);

    bool moving() const { return plan_.moves() && !colour_.isEmpty(); }
    // Whether its views reach past the picture, which then covers only part
    // of the frame (DrawPlaced).
    bool whole() const { return plan_.whole; }
    bool hasOpacity() const { return !opacity_.isEmpty(); }

    // Draws the view at time t (0..1 of the time on screen) over the whole
    // of 'colour', and of 'cover' for a picture with opacity.
    void Draw(const FrameShape& frame, double t, raster::Bitmap& colour,
              raster::Bitmap* cover = nullptr) const;

    // For a whole picture: draws the part of the frame the picture covers
    // at time t into 'colour', premultiplied by 'cover', its coverage (grey:
    // the picture's opacity, and the share of each edge pixel it covers, so
    // its edges glide between pixels as the rest of it does). Both take the
    // size of the returned rectangle of the frame, which is empty when the
    // picture is out of view; the rest of the frame is what lies around it.
    raster::Rect DrawPlaced(const FrameShape& frame, double t, raster::Bitmap& colour,
                            raster::Bitmap& cover) const;

private:
    MotionPlan plan_;
    int naturalWidth_ = 0;
    int naturalHeight_ = 0;
    raster::ViewSource colour_;
    raster::ViewSource opacity_;
};

}  // namespace motion
