#include "imaging/Orientation.h"

#include <algorithm>
#include <cstring>

namespace imaging {

namespace {

// Source pixel of upright pixel (x, y) is (ax*x + bx*y + cx, ay*x + by*y + cy).
struct Mapping {
    int ax, bx, cx;
    int ay, by, cy;
};

Mapping MappingFor(int orientation, int w, int h) {
    switch (orientation) {
        case 2:
            return {-1, 0, w - 1, 0, 1, 0};
        case 3:
            return {-1, 0, w - 1, 0, -1, h - 1};
        case 4:
            return {1, 0, 0, 0, -1, h - 1};
        case 5:
            return {0, 1, 0, 1, 0, 0};
        case 6:
            return {0, 1, 0, -1, 0, h - 1};
        case 7:
            return {0, -1, w - 1, -1, 0, h - 1};
        case 8:
            return {0, -1, w - 1, 1, 0, 0};
        default:
            return {1, 0, 0, 0, 1, 0};
    }
}

}  // namespace

raster::Bitmap Reorient(raster::Bitmap stored, int orientation) {
    if (orientation < 2 || orientation > 8 || stored.isEmpty()) return stored;
    const int w = stored.width(), h = stored.height();
    raster::Bitmap out = SwapsAxes(orientation) ? raster::Bitmap(h, w) : raster::Bitmap(w, h);
    const Mapping m = MappingFor(orientation, w, h);
    // Tiles keep both the reads and the writes of a quarter turn in cache.
    constexpr int kTile = 64;
    for (int ty = 0; ty < out.height(); ty += kTile) {
        const int yEnd = std::min(out.height(), ty + kTile);
        for (int tx = 0; tx < out.width(); tx += kTile) {
            const int xEnd = std::min(out.width(), tx + kTile);
            for (int y = ty; y < yEnd; ++y) {
                uint8_t* dst = out.row(y) + 3 * tx;
                for (int x = tx; x < xEnd; ++x, dst += 3) {
                    const int sx = m.ax * x + m.bx * y + m.cx;
                    const int sy = m.ay * x + m.by * y + m.cy;
                    std::memcpy(dst, stored.row(sy) + 3 * sx, 3);
                }
            }
        }
    }
    return out;
}

}  // namespace imaging
