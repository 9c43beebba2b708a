// Block copies and scaled copies between bitmaps.
//
// Both operations draw only inside the target bitmap and its clip region;
// source pixels outside the source bitmap are skipped (the target keeps what
// it had there). A bitmap may be its own source: the copy then behaves as if
// the whole source block were read before anything is written.
#pragma once

#include "raster/Bitmap.h"

namespace raster {

enum class StretchMode {
    // Every target pixel takes one source pixel: enlarging repeats pixels,
    // reducing drops them. The effects draw with this mode.
    Nearest,
    // Every target pixel takes the area-weighted average of the source pixels
    // it covers (a box filter), which keeps fine detail from flickering when
    // a large photo is reduced. Pictures are fitted with this mode.
    Halftone,
};

// Copies the cx x cy block of src at (sx, sy) to dst at (x, y). Nothing is
// drawn when cx or cy is not positive.
void BitBlt(Bitmap& dst, int x, int y, int cx, int cy, const Bitmap& src, int sx, int sy);

// Scales the scx x scy block of src at (sx, sy) onto the cx x cy block of
// dst at (x, y). A negative cx makes the block cover columns x+cx+1..x with
// its first column at x, so the picture is mirrored left to right; a negative
// scx reads the source the same way, and a negative cy or scy does the same
// for rows. Target pixel k of a row takes source pixel k * |scx| div |cx|.
void StretchBlt(Bitmap& dst, int x, int y, int cx, int cy, const Bitmap& src, int sx, int sy,
                int scx, int scy, StretchMode mode = StretchMode::Nearest);

// The whole of src scaled onto the rectangle of dst.
void StretchDraw(Bitmap& dst, const Rect& target, const Bitmap& src,
                 StretchMode mode = StretchMode::Halftone);

// Area-averaging resample of the whole of src to a new width x height bitmap.
Bitmap ResampleArea(const Bitmap& src, int width, int height);

}  // namespace raster
