// Regions: sets of pixels built from shapes and combined by set algebra.
//
// Rasterisation rules (every shape is built by these, and tests check them on
// small shapes against hand-drawn masks):
//   - A rectangle (l, t, r, b) covers columns l..r-1 and rows t..b-1. Corners
//     given in the wrong order are swapped first, for every shape.
//   - An ellipse, rounded rectangle or polygon covers pixel (x, y) when the
//     pixel's centre (x + 0.5, y + 0.5) lies inside the shape. A centre
//     exactly on the shape's left or top edge counts as inside, one on its
//     right or bottom edge as outside, so shapes that share an edge never
//     share a pixel.
//   - The ellipse of (l, t, r, b) is the one inscribed in that rectangle:
//     centre ((l + r) / 2, (t + b) / 2), half-axes (r - l) / 2 and (b - t) / 2.
//   - A rounded rectangle is the rectangle with each corner replaced by a
//     quarter of an ellipse ew wide and eh high; ew is limited to the width
//     and eh to the height, so an ellipse as large as the rectangle turns it
//     into an ellipse.
//   - Polygons use the winding rule: a point is inside when the edges wind
//     around it a non-zero number of times. The last vertex joins the first.
//   - A list of rectangles (as a rectangle-list region is made) covers the
//     union of its rectangles; empty or inverted ones add nothing.
//
// A Region is a value; "no region" (a failed or absent region) is expressed
// by callers as an empty std::optional<Region> or a null pointer, never by an
// empty Region.
#pragma once

#include <pixman.h>

#include <cstddef>
#include <vector>

#include "raster/Geometry.h"

namespace raster {

class Region {
public:
    Region();  // the empty region
    ~Region();
    Region(const Region& other);
    Region(Region&& other) noexcept;
    Region& operator=(const Region& other);
    Region& operator=(Region&& other) noexcept;

    static Region rect(int left, int top, int right, int bottom);
    static Region rect(const Rect& r) { return rect(r.left, r.top, r.right, r.bottom); }
    static Region ellipse(int left, int top, int right, int bottom);
    static Region roundRect(int left, int top, int right, int bottom, int ellipseWidth,
                            int ellipseHeight);
    // Winding-rule polygon over the given vertices.
    static Region polygon(const Point* points, size_t count);
    static Region polygon(const std::vector<Point>& points) {
        return polygon(points.data(), points.size());
    }
    // Union of the rectangles; empty and inverted rectangles are skipped.
    static Region fromRects(const Rect* rects, size_t count);

    bool isEmpty() const;
    // Smallest rectangle holding every pixel; (0, 0, 0, 0) when empty.
    Rect bounds() const;
    bool contains(int x, int y) const;
    // Number of pixels covered.
    long long area() const;
    // The region as disjoint rectangles in bands, top to bottom, left to right.
    std::vector<Rect> rects() const;

    Region& unite(const Region& other);
    Region& intersect(const Region& other);
    Region& intersect(const Rect& r);
    Region& subtract(const Region& other);
    Region& xorWith(const Region& other);

    friend bool operator==(const Region& a, const Region& b);

    // Direct access for the blitters, which walk the rectangles in place.
    const pixman_region32_t* native() const { return &region_; }

private:
    pixman_region32_t region_;
};

}  // namespace raster
