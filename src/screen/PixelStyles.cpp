#include "screen/PixelStyles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "effects/PixelEffects.h"

namespace screen {

void CrossFade(raster::Bitmap& frame, const raster::Bitmap& incoming, int p) {
    // The same blend as the effect table's fade, which also bears bitmaps
    // of different sizes.
    const int W = incoming.width(), H = incoming.height();
    const effects::ProgressSize size = effects::ProgressSizeOf(W, H, p);
    effects::Fade(frame, incoming, W, H, size.w, size.h, p);
}

void Pivot(raster::Bitmap& frame, const raster::Bitmap& incoming, int style, int p) {
    const int W = incoming.width(), H = incoming.height();
    const int FW = std::min(frame.width(), W), FH = std::min(frame.height(), H);
    int cx = -1, cy = -1;
    switch (style) {
        case 119:
            cx = -1, cy = -1;
            break;
        case 120:
            cx = -1, cy = H;
            break;
        case 121:
            cx = W, cy = -1;
            break;
        case 122:
            cx = W, cy = H;
            break;
        default:
            return;
    }
    const long double theta = (100 - p) * std::numbers::pi_v<long double> / 200;
    const double c = static_cast<double>(std::cos(theta));
    const double s = static_cast<double>(std::sin(theta));
    for (int row = 0; row < FH; ++row) {
        const double dy = row - cy;
        const double dySin = dy * s, dyCos = dy * c;
        // Both source coordinates are linear in the column, so the columns
        // whose source can lie inside the picture form one run; it is found
        // with a pixel to spare and every pixel in it is still checked.
        double first = 0, last = FW - 1;
        auto limit = [&](double slope, double offset, double size, double origin) {
            // origin + slope * dx + offset within [0, size), dx = col - origin_x
            const double low = -origin - 1 - offset, high = size - origin + 1 - offset;
            if (std::fabs(slope) < 1e-12) {
                if (0 < low || 0 > high) last = -1;
                return;
            }
            double a = low / slope, b = high / slope;
            if (a > b) std::swap(a, b);
            first = std::max(first, std::floor(a) + cx);
            last = std::min(last, std::ceil(b) + cx);
        };
        limit(c, -dySin, W, cx);
        limit(s, dyCos, H, cy);
        uint8_t* out = frame.row(row);
        for (int col = static_cast<int>(first); col <= static_cast<int>(last); ++col) {
            const double dx = col - cx;
            // lrint rounds halves to the even neighbour.
            const long sx = cx + std::lrint(dx * c - dySin);
            const long sy = cy + std::lrint(dx * s + dyCos);
            if (sx < 0 || sx >= W || sy < 0 || sy >= H) continue;
            const uint8_t* in = incoming.row(static_cast<int>(sy)) + 3 * sx;
            out[3 * col] = in[0];
            out[3 * col + 1] = in[1];
            out[3 * col + 2] = in[2];
        }
    }
}

void DrawPixelStyle(int style, raster::Bitmap& frame, const raster::Bitmap& incoming, int p) {
    if (style == 118)
        CrossFade(frame, incoming, p);
    else
        Pivot(frame, incoming, style, p);
}

}  // namespace screen
