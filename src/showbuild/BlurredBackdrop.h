// The backdrop of a build picture when the show's background is the blurred
// fill: the picture itself enlarged over the whole frame, blurred and
// darkened (imaging/BlurredFill.h), in the frame's display proportions, so
// the bars beside a portrait photo show its own colours.
#pragma once

#include "raster/Bitmap.h"
#include "showbuild/BuildPictures.h"
#include "showbuild/FrameGeometry.h"

namespace video {

// A frame-sized backdrop for 'picture'; 'under' shows through where the
// picture is transparent.
raster::Bitmap BlurredBackdrop(const BuildPicture& picture, raster::Color under,
                               const FrameFormat& format);

}  // namespace video
