#include "raster/Fill.h"

#include <cstring>

namespace raster {

void FillRect(Bitmap& dst, const Rect& rect, Color color) {
    FillRegion(dst, Region::rect(rect), color);
}

void FillRegion(Bitmap& dst, const Region& region, Color color) {
    Region area = dst.drawableRegion(region.bounds());
    area.intersect(region);
    for (const Rect& r : area.rects())
        for (int y = r.top; y < r.bottom; ++y)
            FillPixels(dst.row(y) + 3 * r.left, r.width(), color);
}

void FillPattern(Bitmap& dst, const Rect& rect, const Bitmap& pattern) {
    if (pattern.isEmpty()) return;
    const int pw = pattern.width(), ph = pattern.height();
    for (const Rect& r : dst.drawableRegion(rect).rects()) {
        for (int y = r.top; y < r.bottom; ++y) {
            const uint8_t* in = pattern.row(y % ph);
            uint8_t* out = dst.row(y);
            int x = r.left;
            while (x < r.right) {
                const int px = x % pw;
                const int run = std::min(pw - px, r.right - x);
                std::memcpy(out + 3 * x, in + 3 * px, static_cast<size_t>(run) * 3);
                x += run;
            }
        }
    }
}

}  // namespace raster
