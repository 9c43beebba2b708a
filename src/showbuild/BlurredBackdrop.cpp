#include "showbuild/BlurredBackdrop.h"

#include "imaging/BlurredFill.h"

namespace video {

raster::Bitmap BlurredBackdrop(const BuildPicture& picture, raster::Color under,
                               const FrameFormat& format) {
    return imaging::BlurredFill(
        picture.bitmap, picture.opacity, under,
        imaging::FillFrame{format.width, format.height, format.displayWidth, format.displayHeight});
}

}  // namespace video
