// Solid and pattern fills, restricted to the target's clip region.
#pragma once

#include "raster/Bitmap.h"

namespace raster {

// Fills the rectangle with a solid colour.
void FillRect(Bitmap& dst, const Rect& rect, Color color);

// Fills the region with a solid colour.
void FillRegion(Bitmap& dst, const Region& region, Color color);

// Fills the rectangle with 'pattern' repeated from the target's top-left
// corner, as a pattern brush does: pixel (x, y) takes pattern pixel
// (x mod pattern width, y mod pattern height). An empty pattern draws nothing.
void FillPattern(Bitmap& dst, const Rect& rect, const Bitmap& pattern);

}  // namespace raster
