// TComplexRegion: collects rectangles and turns them into one region.
//
// Storage grows 500 rectangles at a time. Rectangles are kept as given, empty
// and inverted ones included: they add no area but still widen Bounds.
#pragma once

#include <climits>
#include <vector>

#include "effects/Primitives.h"
#include "raster/Geometry.h"

namespace effects {

class TComplexRegion {
public:
    static constexpr int kGrowth = 500;
    static constexpr raster::Rect kResetBounds{INT_MAX, INT_MAX, -INT_MAX, -INT_MAX};

    TComplexRegion() { Clear(); }

    // Drops every rectangle and the storage.
    void Clear();
    void AddRect(int left, int top, int right, int bottom);
    // The union of every rectangle added; no region when none was added
    // since creation or the last Clear.
    OptRegion CreateRegion() const;

    int Count() const { return static_cast<int>(rects_.size()); }
    int Capacity() const { return capacity_; }
    const raster::Rect& Bounds() const { return bounds_; }

private:
    std::vector<raster::Rect> rects_;
    int capacity_ = 0;  // slots claimed, 500 at a time
    raster::Rect bounds_ = kResetBounds;
};

}  // namespace effects
