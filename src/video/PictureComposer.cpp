#include "video/PictureComposer.h"

#include "raster/Blit.h"
#include "raster/Fill.h"

namespace video {

raster::Bitmap PrepareBackground(const BackgroundSpec& spec, int frameWidth, int frameHeight) {
    raster::Bitmap frame(frameWidth, frameHeight, spec.colour);
    if (spec.picture.isEmpty()) return frame;
    switch (spec.kind) {
        case BackgroundSpec::Kind::Colour:
            break;
        case BackgroundSpec::Kind::Tiled:
            raster::FillPattern(frame, frame.bounds(), spec.picture);
            break;
        case BackgroundSpec::Kind::Stretched:
            raster::StretchDraw(frame, frame.bounds(), spec.picture, raster::StretchMode::Halftone);
            break;
    }
    return frame;
}

void ComposePicture(raster::Bitmap& target, const raster::Bitmap& background,
                    const raster::Bitmap& picture, int naturalWidth, int naturalHeight,
                    const FrameFormat& format) {
    target = background;
    if (picture.isEmpty() || naturalWidth <= 0 || naturalHeight <= 0) return;
    const PictureRect place =
        FitPicture(naturalWidth, naturalHeight, background.width(), background.height(),
                   format.displayWidth, format.displayHeight);
    raster::StretchBlt(target, place.x, place.y, place.width, place.height, picture, 0, 0,
                       picture.width(), picture.height(), raster::StretchMode::Halftone);
}

}  // namespace video
