// Region builders of the screen's banded styles: bars, shreds, speckles and
// random squares. Each returns the set of frame pixels where the incoming
// picture shows, or no region when it built no piece.
//
// Shreds, speckles and squares draw from the program-wide random generator
// in whatever state it is, so a ragged edge changes from frame to frame.
#pragma once

#include <optional>

#include "raster/Region.h"

namespace screen {

using OptRegion = std::optional<raster::Region>;

// Bands 5 pixels thick along rows (hMode) and columns (vMode), extents a and
// b, W x H picture. Mode 1 grows bands from the right or bottom, 2 from the
// left or top, 4 the first half from the left or top and the second from the
// other side, 5 the reverse, 3 alternate bands from both sides at once; 0
// adds no bands in that direction. Extents above the picture size fill the
// even bands and grow the odd ones; a band within 'snap' of the far side is
// completed at once.
OptRegion ScreenBarsRegion(int a, int b, int W, int H, int hMode, int vMode, int snap);

// Strips 5 pixels apart whose ends are jittered by up to a seventh of the
// picture. Mode 1 from the right or bottom, 2 from the left or top, 3 out of
// the middle, any other non-zero mode in from both sides.
OptRegion ScreenShredRegion(int a, int b, int W, int H, int hMode, int vMode);

// A solid band with a fringe of scattered squares ahead of it that thins
// out away from the band. Mode 1 from the right or bottom, any other
// non-zero mode from the left or top. The same region as the effect table's
// speckle members draw.
OptRegion ScreenSpeckleRegion(int a, int b, int W, int H, int hMode, int vMode);

// Random blocks on a grid whose density and size grow with p.
OptRegion ScreenSquaresRegion(int W, int H, int p);

}  // namespace screen
