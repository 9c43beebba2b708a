// The screen's pixel styles 118..122: a cross-fade (the effect table's fade)
// and four pivots that swing the incoming picture into place around a
// corner, working on the rows of the 24-bit bitmaps directly.
#pragma once

#include "raster/Bitmap.h"

namespace screen {

constexpr bool IsPixelStyle(int style) {
    return style >= 118 && style <= 122;
}

// Every byte of 'frame' (which holds the outgoing picture) becomes
// byte * (100 - p) div 100 + incoming byte * p div 100, over the area both
// bitmaps cover.
void CrossFade(raster::Bitmap& frame, const raster::Bitmap& incoming, int p);

// Style 119 pivots about the top-left corner, 120 the bottom-left, 121 the
// top-right and 122 the bottom-right; the angle falls from a quarter turn at
// p = 0 to none at p = 100. Frame pixels the turned picture does not cover
// keep the outgoing picture.
void Pivot(raster::Bitmap& frame, const raster::Bitmap& incoming, int style, int p);

// Draws a pixel style; other styles draw nothing.
void DrawPixelStyle(int style, raster::Bitmap& frame, const raster::Bitmap& incoming, int p);

}  // namespace screen
