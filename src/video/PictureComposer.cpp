#include "video/PictureComposer.h"

#include <algorithm>

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
    for (int y = 0; y < place.height; ++y) {
        uint8_t* out = target.row(place.y + y) + 3 * static_cast<ptrdiff_t>(place.x);
        const uint8_t* in = colour.row(y);
        const uint8_t* alpha = cover.row(y);
        for (int i = 0; i < 3 * place.width; ++i) {
            const unsigned under = out[i] * (255u - alpha[i]) + 127u;
            out[i] = static_cast<uint8_t>(std::min(255u, in[i] + under / 255u));
        }
    }
}

}  // namespace video
