#include "effects/Effects.h"

#include "raster/Arith.h"

namespace effects {

ProgressSize ProgressSizeOf(int width, int height, int percent) {
    using raster::MulDiv;
    if (height <= width) {
        const int w = MulDiv(width, percent, 100);
        return {w, MulDiv(w, height, width)};
    }
    const int h = MulDiv(height, percent, 100);
    return {MulDiv(h, width, height), h};
}

void DrawEffect(int style, Bitmap& dest, const Bitmap& source, int percent) {
    if (style < 1 || style > kEffectCount) return;
    const int W = dest.width(), H = dest.height();
    if (W <= 0 || H <= 0 || source.width() != W || source.height() != H) return;
    const ProgressSize size = ProgressSizeOf(W, H, percent);
    Effects[style].Proc(dest, source, W, H, size.w, size.h, percent);
}

}  // namespace effects
