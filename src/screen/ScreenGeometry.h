// Placement helpers of the slideshow screen: fitting a frame into an area
// with its proportions kept, and tiling a background picture.
#pragma once

#include "raster/Bitmap.h"

namespace screen {

using raster::Rect;

// The largest rectangle with the proportions of src that fits into dst,
// centred in it. An empty src gives an empty rectangle at dst's centre.
Rect FitRect(const Rect& src, const Rect& dst);

// Draws 'graphic' unscaled over 'rect' of the canvas in rows and columns
// from the rectangle's top-left corner; an empty graphic draws nothing.
void TileDraw(raster::Bitmap& canvas, const Rect& rect, const raster::Bitmap& graphic);

}  // namespace screen
