// The arithmetic that fits a picture into a box.
//
// Sizes are exact to the pixel, including the pixel that floating-point
// rounding loses: the relative overshoots and the quotients are computed in
// 80-bit extended precision (long double on x86-64), but the scale factor is
// stored as a 64-bit double before it divides, and the computed side is cut
// toward zero. So 640 x 480 into 200 x 150 gives 199 x 150 (the factor 3.2
// rounds up as a double).
#pragma once

#include <optional>

#include "imaging/DecodedImage.h"

namespace imaging {

// Scales a picture into the box keeping its aspect ratio, enlarging or
// shrinking: the side that overshoots more (relatively) becomes the box's
// side; on a tie the height does. Requires a non-empty picture and box; the
// computed side is at least 1 so that a very thin picture does not vanish.
Size ScaleToBox(Size picture, Size box);

// The box step of LoadPictureScaled: nullopt when the picture needs no
// change (the box is not positive in both directions, or the picture
// already fits), else the reduced size.
std::optional<Size> ShrinkIntoBox(Size picture, int maxWidth, int maxHeight);

// The largest size with the picture's aspect ratio that fits the frame, with
// integer arithmetic cut toward zero, as the video build places a picture on
// its frame. Requires a non-empty picture and frame.
Size FitInsideFrame(Size picture, Size frame);

}  // namespace imaging
