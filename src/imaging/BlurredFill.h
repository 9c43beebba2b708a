// The blurred fill behind a picture that does not fill its frame: the same
// picture enlarged to cover the whole frame, blurred strongly and darkened a
// little, so the sharp picture in front stands out and the frame shows no
// plain bars.
//
// It is computed from a small copy (about 150 pixels across) in the frame's
// display proportions: the copy is sampled from the picture at a bounded
// number of points per pixel, blurred there with three box passes (a near-
// Gaussian blur reaching about 4% of the frame's width) and enlarged to the
// frame with bilinear interpolation. A DVD or 1080p frame costs a few
// milliseconds whatever the picture's size.
#pragma once

#include "raster/Bitmap.h"

namespace imaging {

struct FillFrame {
    int width = 0;  // the frame's pixels
    int height = 0;
    int displayWidth = 0;  // the shape it is shown in (equal to the size for square pixels)
    int displayHeight = 0;
};

// How much of its brightness the fill keeps, in 256ths.
constexpr int kBlurredFillBrightness = 200;

// The fill for 'picture' on a frame. With an 'opacity' (grey, the picture's
// size; the picture then flattened onto black) the picture is laid over
// 'under' first. An empty picture gives a frame of 'under'.
raster::Bitmap BlurredFill(const raster::Bitmap& picture, const raster::Bitmap& opacity,
                           raster::Color under, const FillFrame& frame);

}  // namespace imaging
