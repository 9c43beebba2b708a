#include "video/PictureComposer.h"

#include "raster/Blit.h"
#include "raster/Fill.h"

namespace video {

raster::Bitmap PrepareBackground(const BackgroundSpec& spec, const FrameFormat& format) {
    raster::Bitmap frame(format.width, format.height, spec.colour);
    if (spec.picture.isEmpty()) return frame;
    switch (spec.kind) {
        case BackgroundSpec::Kind::Colour:
            break;
        case BackgroundSpec::Kind::Tiled: {
            // Tiled on the display's square pixels, then squeezed into the
            // frame's, as a photo is fitted.
            const DisplayBox box = DisplayBoxOf(format);
            if (box.width == format.width && box.height == format.height) {
                raster::FillPattern(frame, frame.bounds(), spec.picture);
                break;
            }
            raster::Bitmap display(box.width, box.height, spec.colour);
            raster::FillPattern(display, display.bounds(), spec.picture);
            raster::StretchDraw(frame, frame.bounds(), display, raster::StretchMode::Halftone);
            break;
        }
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
