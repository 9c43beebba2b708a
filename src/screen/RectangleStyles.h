// The screen's rectangle styles 1..57: each frame is one to four copies of
// rectangles of the incoming picture onto the frame, some of them scaled,
// and for the two rolls a mirrored strip.
//
// A style is described as a plan, the list of copies in drawing order, so
// that the geometry can be checked without drawing. The renderer makes every
// copy but the last at once; the last one is the frame's final copy, which
// is replaced by the whole picture at 100 %.
#pragma once

#include <vector>

#include "raster/Bitmap.h"
#include "screen/FrameValues.h"

namespace screen {

using raster::Rect;

struct RectCopy {
    Rect D;  // destination in the frame
    Rect S;  // source in the incoming picture
    // A roll strip: drawn by StretchFlipped with these mirror flags instead
    // of a plain copy.
    bool roll = false;
    bool flipH = false;
    bool flipV = false;
};

constexpr bool IsRectangleStyle(int style) {
    return style >= 1 && style <= 57;
}

// The copies of a rectangle style (1..57) for the frame values; empty for
// any other style.
std::vector<RectCopy> RectangleStylePlan(int style, const FrameValues& v);

// Scaled copy of rectangle S of 'picture' onto rectangle D of 'canvas',
// mirrored left to right (flipH) or top to bottom (flipV). S is first limited
// to the picture; a source outside it draws nothing. Returns the frame area
// the copy covered.
Rect StretchFlipped(raster::Bitmap& canvas, Rect D, const raster::Bitmap& picture, Rect S,
                    bool flipH, bool flipV);

// A plain (possibly scaling) copy of rectangle S of 'picture' onto D.
void CopyRect(raster::Bitmap& canvas, const Rect& D, const raster::Bitmap& picture, const Rect& S);

}  // namespace screen
