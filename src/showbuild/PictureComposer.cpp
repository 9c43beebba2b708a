#include "showbuild/PictureComposer.h"

#include "imaging/PictureLoader.h"
#include "raster/Blit.h"
#include "raster/Fill.h"

namespace video {

raster::Bitmap PrepareBackground(const BackgroundSpec& spec, const FrameFormat& format) {
    raster::Bitmap frame(format.width, format.height, spec.colour);
    if (spec.picture.isEmpty()) return frame;
    switch (spec.kind) {
        case BackgroundSpec::Kind::Colour:
        case BackgroundSpec::Kind::Blurred:
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
                    const FrameFormat& format, const raster::Bitmap& opacity) {
    target = background;
    if (picture.isEmpty() || naturalWidth <= 0 || naturalHeight <= 0) return;
    const PictureRect place =
        FitPicture(naturalWidth, naturalHeight, background.width(), background.height(),
                   format.displayWidth, format.displayHeight);
    if (opacity.isEmpty() || opacity.width() != picture.width() ||
        opacity.height() != picture.height()) {
        raster::StretchBlt(target, place.x, place.y, place.width, place.height, picture, 0, 0,
                           picture.width(), picture.height(), raster::StretchMode::Halftone);
        return;
    }
    // Area averaging is linear, so the premultiplied colour and the opacity
    // stretch apart and still belong together.
    raster::Bitmap colour(place.width, place.height);
    raster::Bitmap cover(place.width, place.height);
    raster::StretchBlt(colour, 0, 0, place.width, place.height, picture, 0, 0, picture.width(),
                       picture.height(), raster::StretchMode::Halftone);
    raster::StretchBlt(cover, 0, 0, place.width, place.height, opacity, 0, 0, opacity.width(),
                       opacity.height(), raster::StretchMode::Halftone);
    imaging::LayOver(target, place.x, place.y, colour, cover);
}

}  // namespace video
