// Composing a picture onto the frame background, the way every picture of
// the video enters: the background (a colour, a tiled or a stretched
// picture) is prepared once per build, then each picture is fitted onto a
// copy of it in display proportions.
#pragma once

#include "raster/Bitmap.h"
#include "showbuild/FrameGeometry.h"

namespace video {

struct BackgroundSpec {
    // Blurred: each picture over a blurred copy of itself (BlurredBackdrop.h);
    // the colour shows through its transparent parts.
    enum class Kind { Colour, Tiled, Stretched, Blurred };
    Kind kind = Kind::Colour;
    raster::Color colour = 0;  // 0x00BBGGRR, for Kind::Colour
    raster::Bitmap picture;    // for Tiled and Stretched
};

// A frame-sized bitmap of the background: the colour (also for Blurred,
// whose backdrop is made per picture); the picture repeated
// from the top-left corner at its own size on the display (its pixels taken
// as square, so a square tile shows square however wide the frame's pixels
// are); or the picture stretched over the whole frame (area-averaged).
raster::Bitmap PrepareBackground(const BackgroundSpec& spec, const FrameFormat& format);

// Draws 'picture' fitted onto 'background' into 'target' (which takes the
// background's size, keeping its own handle). The placement is computed from
// the picture's natural size; 'picture' may hold fewer pixels (a reduced
// decode) and is stretched, area-averaged, into the placed rectangle. With
// an 'opacity' (grey, the picture's size) the picture is premultiplied by it
// and is laid over the background, which shows through where it is clear.
void ComposePicture(raster::Bitmap& target, const raster::Bitmap& background,
                    const raster::Bitmap& picture, int naturalWidth, int naturalHeight,
                    const FrameFormat& format, const raster::Bitmap& opacity = {});

}  // namespace video
