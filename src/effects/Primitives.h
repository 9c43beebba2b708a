// The drawing steps the effect families are written in, named as the effect
// descriptions name them:
//   Copy(x, y, cx, cy <- sx, sy)              block copy from Source (or Dest)
//   Stretch(x, y, cx, cy <- sx, sy, scx, scy) scaled copy, nearest pixel
//   ClipReveal(R)                             Source shown through region R
//   Union / Intersect / Xor                   region algebra, result in the first
//   PolyRgn(x1, y1, x2, y2, ...)              winding-rule polygon
#pragma once

#include <initializer_list>
#include <optional>
#include <vector>

#include "raster/Bitmap.h"
#include "raster/Blit.h"
#include "raster/Region.h"

namespace effects {

using raster::Bitmap;
using raster::Region;

// A region or "no region": the result of building a region that may fail or
// hold nothing (a rectangle list with no rectangles).
using OptRegion = std::optional<Region>;

inline void Copy(Bitmap& dest, int x, int y, int cx, int cy, const Bitmap& from, int sx, int sy) {
    raster::BitBlt(dest, x, y, cx, cy, from, sx, sy);
}

inline void Stretch(Bitmap& dest, int x, int y, int cx, int cy, const Bitmap& from, int sx, int sy,
                    int scx, int scy) {
    raster::StretchBlt(dest, x, y, cx, cy, from, sx, sy, scx, scy, raster::StretchMode::Nearest);
}

// Shows Source through R: restricts Dest to R, copies the whole of Source and
// removes the restriction again. Without a region the whole Source is copied.
void ClipReveal(Bitmap& dest, const Bitmap& source, const OptRegion& region);

// Region algebra in place; the result is the first operand. With "no region"
// on either side the first operand is left as it is.
void Union(OptRegion& a, const OptRegion& b);
void Intersect(OptRegion& a, const OptRegion& b);
void Xor(OptRegion& a, const OptRegion& b);

// Polygon from a flat list x1, y1, x2, y2, ... (winding rule).
Region PolyRgn(std::initializer_list<int> coordinates);
Region PolyRgn(const std::vector<int>& coordinates);

// A triangle region of three points.
inline Region Tri(int x1, int y1, int x2, int y2, int x3, int y3) {
    return PolyRgn({x1, y1, x2, y2, x3, y3});
}

}  // namespace effects
