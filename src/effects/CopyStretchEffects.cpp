#include "effects/CopyStretchEffects.h"

#include <algorithm>
#include <vector>

#include "effects/Primitives.h"

namespace effects {

namespace {

constexpr uint8_t kRollShadeDepth = 64;

// Adds 'offset' to the blue, green and red bytes of 'count' pixels.
void AddToPixels(uint8_t* pixels, int count, int offset) {
    for (int i = 0; i < 3 * count; ++i)
        pixels[i] = static_cast<uint8_t>(std::clamp(pixels[i] + offset, 0, 255));
}

// The profile can overshoot zero when the band is more than twice as wide as
// the depth (period 1 with many rising steps); a shade never brightens, so
// offsets stop at zero.
int Darkening(int v) {
    return std::min(v, 0);
}

std::vector<int> ColumnProfile(int width, int depth) {
    std::vector<int> t(static_cast<size_t>(width));
    const int half = width / 2;
    int v = -depth;
    if (depth > half) {
        int step = depth / half;
        for (int i = 1; i <= width; ++i) {
            t[static_cast<size_t>(i - 1)] = Darkening(v);
            v += step;
            if (i == half) step = -step;
        }
    } else {
        const int period = half / depth;
        int next = period;
        for (int i = 1; i <= width; ++i) {
            t[static_cast<size_t>(i - 1)] = Darkening(v);
            if (i == next) {
                next += period;
                v += i < half ? 1 : -1;
            }
        }
    }
    return t;
}

// Indexed by i - 1, where i counts the band's rows from its bottom row up.
std::vector<int> RowProfile(int height, int depth) {
    std::vector<int> t(static_cast<size_t>(height));
    const int half = height / 2;
    const int period = depth > half ? 1 : half / depth;
    const int step = depth > half ? depth / half : 1;
    int next = period;
    int v = -depth;
    for (int i = 1; i <= height; ++i) {
        t[static_cast<size_t>(i - 1)] = Darkening(v);
        if (i == next) {
            v += i < half ? step : -step;
            next += period;
        }
    }
    return t;
}

// Draws the unroll along x; 'fromRight' unrolls from the right edge.
void UnrollColumns(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, bool fromRight) {
    const int r = RollWidth(W, w);
    if (!fromRight) {
        // Source columns w+r .. w+2r-1 appear mirrored on the roll.
        Stretch(Dest, w + r - 1, 0, -r, H, Source, w + r, 0, r, H);
        Copy(Dest, 0, 0, w, H, Source, 0, 0);
        ShadeColumns(Dest, w, r, kRollShadeDepth);
    } else {
        const int x0 = W - w;
        Stretch(Dest, x0 - 1, 0, -r, H, Source, x0 - 2 * r - 1, 0, r, H);
        Copy(Dest, x0, 0, w, H, Source, x0, 0);
        ShadeColumns(Dest, x0 - r, r, kRollShadeDepth);
    }
}

void UnrollRows(Bitmap& Dest, const Bitmap& Source, int W, int H, int h, bool fromBottom) {
    const int r = RollWidth(H, h);
    if (!fromBottom) {
        Stretch(Dest, 0, h + r - 1, W, -r, Source, 0, h + r, W, r);
        Copy(Dest, 0, 0, W, h, Source, 0, 0);
        ShadeRows(Dest, h, r, kRollShadeDepth);
    } else {
        const int y0 = H - h;
        Stretch(Dest, 0, y0 - 1, W, -r, Source, 0, y0 - 2 * r - 1, W, r);
        Copy(Dest, 0, y0, W, h, Source, 0, y0);
        ShadeRows(Dest, y0 - r, r, kRollShadeDepth);
    }
}

}  // namespace

void ShadeColumns(Bitmap& dest, int left, int width, uint8_t depth) {
    if (width < 2 || depth == 0) return;
    const std::vector<int> t = ColumnProfile(width, depth);
    // Only the part of the band inside the bitmap is touched.
    const int first = std::max(left, 0);
    const int last = std::min(left + width, dest.width());  // exclusive
    if (first >= last) return;
    for (int y = 0; y < dest.height(); ++y) {
        uint8_t* row = dest.row(y);
        for (int x = first; x < last; ++x)
            AddToPixels(row + 3 * x, 1, t[static_cast<size_t>(x - left)]);
    }
}

void ShadeRows(Bitmap& dest, int top, int height, uint8_t depth) {
    if (height < 2 || depth == 0) return;
    const std::vector<int> t = RowProfile(height, depth);
    for (int i = 1; i <= height; ++i) {
        const int y = top + height - i;
        if (y < 0 || y >= dest.height()) continue;
        AddToPixels(dest.row(y), dest.width(), t[static_cast<size_t>(i - 1)]);
    }
}

int RollWidth(int extent, int unrolled) {
    int r = extent / 10;
    if (unrolled < r)
        r = unrolled;
    else if (extent - unrolled < 2 * r)
        r = (extent - unrolled) / 2;
    return std::max(r, 0);
}

// Expand, slide and reveal along x.

void ExpandFromRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Stretch(Dest, W - w, 0, w, H, Source, 0, 0, W, H);
}

void ExpandFromLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Stretch(Dest, 0, 0, w, H, Source, 0, 0, W, H);
}

void SlideInFromRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Copy(Dest, W - w, 0, W, H, Source, 0, 0);
}

void SlideInFromLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Copy(Dest, w - W, 0, W, H, Source, 0, 0);
}

void RevealFromLeft(Bitmap& Dest, const Bitmap& Source, int, int H, int w, int, int) {
    Copy(Dest, 0, 0, w, H, Source, 0, 0);
}

void RevealFromRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Copy(Dest, W - w, 0, w, H, Source, W - w, 0);
}

// The "expand in" members zoom out of an enlarged part of Source.
void ExpandInFromRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Stretch(Dest, 0, 0, 2 * W - w, H, Source, 0, 0, w, H);
}

void ExpandInFromLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Stretch(Dest, w - W, 0, 2 * W - w, H, Source, W - w, 0, w, H);
}

void ExpandInToMiddle(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Stretch(Dest, w - W, 0, 3 * W - 2 * w, H, Source, (W - w) / 2, 0, w, H);
}

void ExpandOutFromMiddle(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Stretch(Dest, (W - w) / 2, 0, w, H, Source, 0, 0, W, H);
}

void RevealOutFromMiddle(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Copy(Dest, (W - w) / 2, 0, w, H, Source, (W - w) / 2, 0);
}

void RevealInFromSides(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    const int a = w / 2;
    Copy(Dest, 0, 0, a, H, Source, 0, 0);
    Copy(Dest, W - a, 0, a, H, Source, W - a, 0);
}

void ExpandInFromSides(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    const int a = w / 2;
    Stretch(Dest, 0, 0, a, H, Source, 0, 0, W / 2, H);
    Stretch(Dest, W - a, 0, a, H, Source, W / 2, 0, W / 2, H);
}

void UnrollFromLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    UnrollColumns(Dest, Source, W, H, w, false);
}

void UnrollFromRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    UnrollColumns(Dest, Source, W, H, w, true);
}

// Build up: the revealed part is followed by a smear of the next tenth.
void BuildUpFromRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Copy(Dest, 0, 0, w, H, Source, 0, 0);
    Stretch(Dest, w, 0, W - w, H, Source, w, 0, std::min(W - w, W / 10), H);
}

void BuildUpFromLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    const int m = std::max(W - w - W / 10, 0);
    Copy(Dest, W - w, 0, w, H, Source, W - w, 0);
    Stretch(Dest, 0, 0, W - w, H, Source, m, 0, W - w - m, H);
}

// Expand, slide and reveal along y.

void ExpandFromBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Stretch(Dest, 0, H - h, W, h, Source, 0, 0, W, H);
}

void ExpandFromTop(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Stretch(Dest, 0, 0, W, h, Source, 0, 0, W, H);
}

void SlideInFromBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Copy(Dest, 0, H - h, W, H, Source, 0, 0);
}

void SlideInFromTop(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Copy(Dest, 0, h - H, W, H, Source, 0, 0);
}

void RevealFromTop(Bitmap& Dest, const Bitmap& Source, int W, int, int, int h, int) {
    Copy(Dest, 0, 0, W, h, Source, 0, 0);
}

void RevealFromBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Copy(Dest, 0, H - h, W, h, Source, 0, H - h);
}

void ExpandInFromBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Stretch(Dest, 0, 0, W, 2 * H - h, Source, 0, 0, W, h);
}

void ExpandInFromTop(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Stretch(Dest, 0, h - H, W, 2 * H - h, Source, 0, H - h, W, h);
}

void ExpandInToMiddleHoriz(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Stretch(Dest, 0, h - H, W, 3 * H - 2 * h, Source, 0, (H - h) / 2, W, h);
}

void ExpandOutFromMiddleHoriz(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Stretch(Dest, 0, (H - h) / 2, W, h, Source, 0, 0, W, H);
}

void RevealFromMiddleHoriz(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Copy(Dest, 0, (H - h) / 2, W, h, Source, 0, (H - h) / 2);
}

void SlideInFromTopBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    const int a = h / 2;
    Copy(Dest, 0, 0, W, a, Source, 0, 0);
    Copy(Dest, 0, H - a, W, a, Source, 0, H - a);
}

void ExpandInFromTopBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    const int a = h / 2;
    Stretch(Dest, 0, 0, W, a, Source, 0, 0, W, H / 2);
    Stretch(Dest, 0, H - a, W, a, Source, 0, H / 2, W, H / 2);
}

void UnrollFromTop(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    UnrollRows(Dest, Source, W, H, h, false);
}

void UnrollFromBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    UnrollRows(Dest, Source, W, H, h, true);
}

void ExpandFromBottomBuildUp(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Copy(Dest, 0, 0, W, h, Source, 0, 0);
    Stretch(Dest, 0, h, W, H - h, Source, 0, h, W, std::min(H - h, H / 10));
}

void ExpandInFromTopBuildUp(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    const int m = std::max(H - h - H / 10, 0);
    Copy(Dest, 0, H - h, W, h, Source, 0, H - h);
    Stretch(Dest, 0, 0, W, H - h, Source, 0, m, W, H - h - m);
}

// Corners.

void ExpandFromBottomRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    Stretch(Dest, W - w, H - h, w, h, Source, 0, 0, W, H);
}

void ExpandFromTopRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    Stretch(Dest, W - w, 0, w, h, Source, 0, 0, W, H);
}

void ExpandFromTopLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    Stretch(Dest, 0, 0, w, h, Source, 0, 0, W, H);
}

void ExpandFromBottomLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    Stretch(Dest, 0, H - h, w, h, Source, 0, 0, W, H);
}

void SlideInFromBottomRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    Copy(Dest, W - w, H - h, W, H, Source, 0, 0);
}

void SlideInFromTopRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    Copy(Dest, W - w, h - H, W, H, Source, 0, 0);
}

void SlideInFromTopLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    Copy(Dest, w - W, h - H, W, H, Source, 0, 0);
}

void SlideInFromBottomLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    Copy(Dest, w - W, H - h, W, H, Source, 0, 0);
}

void RevealFromTopLeft(Bitmap& Dest, const Bitmap& Source, int, int, int w, int h, int) {
    Copy(Dest, 0, 0, w, h, Source, 0, 0);
}

void RevealFromBottomLeft(Bitmap& Dest, const Bitmap& Source, int, int H, int w, int h, int) {
    Copy(Dest, 0, H - h, w, h, Source, 0, H - h);
}

void RevealFromBottomRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    Copy(Dest, W - w, H - h, w, h, Source, W - w, H - h);
}

void RevealFromTopRight(Bitmap& Dest, const Bitmap& Source, int W, int, int w, int h, int) {
    Copy(Dest, W - w, 0, w, h, Source, W - w, 0);
}

void AppearAndContractToTopLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                int) {
    Stretch(Dest, 0, 0, 2 * W - w, 2 * H - h, Source, 0, 0, w, h);
}

void AppearAndContractToBottomLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                   int) {
    Stretch(Dest, 0, h - H, 2 * W - w, 2 * H - h, Source, 0, H - h, w, h);
}

void AppearAndContractToBottomRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                    int) {
    Stretch(Dest, w - W, h - H, 2 * W - w, 2 * H - h, Source, W - w, H - h, w, h);
}

void AppearAndContractToTopRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                 int) {
    Stretch(Dest, w - W, 0, 2 * W - w, 2 * H - h, Source, W - w, 0, w, h);
}

// Centre.

void AppearAndContractToMiddle(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                               int) {
    Stretch(Dest, w - W, h - H, 3 * W - 2 * w, 3 * H - 2 * h, Source, (W - w) / 2, (H - h) / 2, w,
            h);
}

void ExpandOutFromCentre(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    Stretch(Dest, (W - w) / 2, (H - h) / 2, w, h, Source, 0, 0, W, H);
}

void RevealOutFromCentre(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    const int x = (W - w) / 2, y = (H - h) / 2;
    Copy(Dest, x, y, w, h, Source, x, y);
}

void RevealInToCentre(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    // The clip must go also when the copy throws.
    struct ClipRemover {
        Bitmap& bitmap;
        ~ClipRemover() { bitmap.selectClip(nullptr); }
    } remover{Dest};
    Dest.excludeClipRect(raster::Rect{w / 2, h / 2, W - w / 2, H - h / 2});
    Copy(Dest, 0, 0, W, H, Source, 0, 0);
}

// Quarters.

void QuartersRevealInToMiddle(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    const int a = w / 2, b = h / 2;
    Copy(Dest, 0, 0, a, b, Source, 0, 0);
    Copy(Dest, 0, H - b, a, b, Source, 0, H - b);
    Copy(Dest, W - a, H - b, a, b, Source, W - a, H - b);
    Copy(Dest, W - a, 0, a, b, Source, W - a, 0);
}

void QuartersExpandToMiddle(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    const int a = w / 2, b = h / 2, qw = W / 2, qh = H / 2;
    Stretch(Dest, 0, 0, a, b, Source, 0, 0, qw, qh);
    Stretch(Dest, 0, H - b, a, b, Source, 0, qh, qw, qh);
    Stretch(Dest, W - a, H - b, a, b, Source, qw, qh, qw, qh);
    Stretch(Dest, W - a, 0, a, b, Source, qw, 0, qw, qh);
}

void QuartersSlideInToMiddle(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    const int a = w / 2, b = h / 2, qw = W / 2, qh = H / 2;
    Copy(Dest, a - qw, 0, qw, qh, Source, 0, 0);    // top left, from the left
    Copy(Dest, qw, b - qh, qw, qh, Source, qw, 0);  // top right, from the top
    Copy(Dest, W - a, qh, qw, qh, Source, qw, qh);  // bottom right, from the right
    Copy(Dest, 0, H - b, qw, qh, Source, 0, qh);    // bottom left, from the bottom
}

// Push and squeeze: the outgoing picture is read back from Dest, so it must
// be moved before the incoming edge is drawn over it.

void PushRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Copy(Dest, w, 0, W - w, H, Dest, 0, 0);
    Copy(Dest, 0, 0, w, H, Source, W - w, 0);
}

void PushLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Copy(Dest, 0, 0, W - w, H, Dest, w, 0);
    Copy(Dest, W - w, 0, w, H, Source, 0, 0);
}

void PushAndSqueezeRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Stretch(Dest, w, 0, W - w, H, Dest, 0, 0, W, H);
    Copy(Dest, 0, 0, w, H, Source, W - w, 0);
}

void PushAndSqueezeLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Stretch(Dest, 0, 0, W - w, H, Dest, 0, 0, W, H);
    Copy(Dest, W - w, 0, w, H, Source, 0, 0);
}

void PushDown(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Copy(Dest, 0, h, W, H - h, Dest, 0, 0);
    Copy(Dest, 0, 0, W, h, Source, 0, H - h);
}

void PushUp(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Copy(Dest, 0, 0, W, H - h, Dest, 0, h);
    Copy(Dest, 0, H - h, W, h, Source, 0, 0);
}

void PushAndSqueezeDown(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Stretch(Dest, 0, h, W, H - h, Dest, 0, 0, W, H);
    Copy(Dest, 0, 0, W, h, Source, 0, H - h);
}

void PushAndSqueezeUp(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Stretch(Dest, 0, 0, W, H - h, Dest, 0, 0, W, H);
    Copy(Dest, 0, H - h, W, h, Source, 0, 0);
}

}  // namespace effects
