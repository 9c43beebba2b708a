// Drawing a rectangle of a picture that may start and end between pixels over
// a whole bitmap: the sampling of a moving view (pan and zoom), where each
// frame's view lies a fraction of a pixel from the last one's.
//
// Every target pixel is a weighted mean of the source pixels under a tent
// that is one source pixel wide when the view is enlarged (bilinear) and as
// wide as a target pixel covers when it is reduced (so every source pixel
// counts and fine detail does not flicker). Weights follow the exact
// position, so a view moving by a tenth of a pixel moves the picture by a
// tenth of a pixel, without the jumps of whole-pixel sampling.
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

// Fills the whole of 'target' (its clip region is not used) with the part
// 'view' of 'source'; parts of the view outside the source repeat its edge
// pixels. Nothing happens for an empty source or target or an empty view.
void ResampleView(Bitmap& target, const Bitmap& source, const SourceRect& view);

}  // namespace raster
