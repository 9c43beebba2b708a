// Drawing a rectangle of a picture that may start and end between pixels over
// a whole bitmap: the sampling of a moving view (pan and zoom), where each
// frame's view lies a fraction of a pixel from the last one's.
//
// Every target pixel is blended from the four source pixels around the
// point it maps to (bilinear), at a position kept to 1/128 of a pixel, so a
// view moving by a tenth of a pixel moves the picture by a tenth of a pixel,
// without the jumps of whole-pixel sampling. Blending four pixels averages
// properly only while the view is drawn at about its own size or larger;
// callers reduce a picture beforehand (area-averaged) so that its views
// come out within about 15% of one source pixel per target pixel, where
// fine detail does not flicker.
#pragma once

#include "raster/Bitmap.h"

namespace raster {

// A rectangle in source pixels: (x, y) its top-left corner, the edges of
// pixel (0, 0) running from 0 to 1.
struct SourceRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

// A picture held ready for drawing views of it frame after frame.
class ViewSource {
public:
    ViewSource();
    explicit ViewSource(const Bitmap& picture);
    ~ViewSource();
    ViewSource(ViewSource&&) noexcept;
    ViewSource& operator=(ViewSource&&) noexcept;
    ViewSource(const ViewSource&) = delete;
    ViewSource& operator=(const ViewSource&) = delete;

    int width() const { return picture_.width(); }
    int height() const { return picture_.height(); }
    bool isEmpty() const { return picture_.isEmpty(); }

    // Fills the whole of 'target' (its clip region is not used) with the part
    // 'view' of the picture; parts of the view outside the picture repeat its
    // edge pixels. Nothing happens for an empty picture, target or view.
    void Draw(Bitmap& target, const SourceRect& view) const;

private:
    Bitmap picture_;
};

}  // namespace raster
