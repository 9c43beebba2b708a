// The screen's region styles 58..117 and 123..127: each frame shows the
// incoming picture through a region built from the frame values, curved
// edges, ellipses, bands, shreds, triangles, speckles and random squares.
#pragma once

#include "screen/FrameValues.h"
#include "screen/RegionBuilders.h"

namespace screen {

constexpr bool IsRegionStyle(int style) {
    return (style >= 58 && style <= 117) || (style >= 123 && style <= 127);
}

// The region of a region style at progress p, or no region (for other
// styles, and when a builder made no piece).
OptRegion RegionStyleRegion(int style, const FrameValues& v, int p);

}  // namespace screen
