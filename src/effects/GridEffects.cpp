#include "effects/GridEffects.h"

#include <algorithm>

#include "base/Arith.h"
#include "base/Random.h"
#include "effects/ComplexRegion.h"
#include "effects/Primitives.h"

namespace effects {

using base::MulDiv;

namespace {

// Unlike the other region families, these members draw nothing at all when
// no region came out.
void RevealIfAny(Bitmap& dest, const Bitmap& source, const OptRegion& region) {
    if (region) ClipReveal(dest, source, region);
}

// Centres of a grid of cell size 2n, column by column, each column top to
// bottom: x = n, 3n, 5n, ... while the cell's left edge is below limitX, and
// likewise for y.
template <typename Visit>
void ForEachGridCentre(int n, int limitX, int limitY, Visit&& visit) {
    for (int left = 0; left < limitX; left += 2 * n)
        for (int top = 0; top < limitY; top += 2 * n) visit(left + n, top + n);
}

// Joins shapes into one region: the first becomes the region, later ones are
// united with it.
void Accumulate(OptRegion& region, Region&& shape) {
    if (!region)
        region = std::move(shape);
    else
        region->unite(shape);
}

// Slats of width 'width' every 'pitch' pixels from the leading edge (0 for
// fromStart, 'size' otherwise) across an axis of length 'size'; addSlat gets
// (start, end) along that axis.
template <typename AddSlat>
void AddSlats(int size, int pitch, int width, bool fromStart, AddSlat&& addSlat) {
    if (fromStart) {
        for (int at = 0; at < size; at += pitch) addSlat(at, at + width);
    } else {
        for (int at = size; at > 0; at -= pitch) addSlat(at - width, at);
    }
}

// Blinds whose slats start on a pitch of the progress-scaled size and widen by
// p percent of it; nothing when that size is 0.
void UnevenBlind(Bitmap& Dest, const Bitmap& Source, int W, int H, int pitch, int p, bool vertical,
                 bool fromStart) {
    if (pitch <= 0) return;
    TComplexRegion list;
    const int a = MulDiv(pitch, p, 100);
    if (vertical) {
        AddSlats(W, pitch, a, fromStart, [&](int x0, int x1) { list.AddRect(x0, 0, x1, H); });
    } else {
        AddSlats(H, pitch, a, fromStart, [&](int y0, int y1) { list.AddRect(0, y0, W, y1); });
    }
    RevealIfAny(Dest, Source, list.CreateRegion());
}

// Bands a third of their pitch apart that thicken with p, crossed by slats on
// a pitch of the progress-scaled size. 'vertical' makes the slats columns
// (the bands are then rows).
void BandsAndSlats(Bitmap& Dest, const Bitmap& Source, int W, int H, int pitch, int p,
                   bool vertical, bool fromStart) {
    const int n = (vertical ? H : W) / 20;
    if (pitch <= 0 || n <= 0) return;
    TComplexRegion list;
    const int a = MulDiv(n, p, 100);
    const int b = MulDiv(pitch, p, 100);
    if (vertical) {
        for (int y = -n; y < H; y += 3 * n) list.AddRect(0, y - a, W, y + a);
        AddSlats(W, pitch, b, fromStart, [&](int x0, int x1) { list.AddRect(x0, 0, x1, H); });
    } else {
        for (int x = -n; x < W; x += 3 * n) list.AddRect(x - a, 0, x + a, H);
        AddSlats(H, pitch, b, fromStart, [&](int y0, int y1) { list.AddRect(0, y0, W, y1); });
    }
    RevealIfAny(Dest, Source, list.CreateRegion());
}

}  // namespace

void BlindVertically(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int, int p) {
    TComplexRegion list;
    const int n = W / 40 + 1;
    const int a = MulDiv(n, p, 100);
    for (int x = 0; x < W; x += 2 * n) list.AddRect(x + n - a, 0, x + n + a, H);
    RevealIfAny(Dest, Source, list.CreateRegion());
}

void BlindHorizontally(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int, int p) {
    TComplexRegion list;
    const int n = H / 40 + 1;
    const int a = MulDiv(n, p, 100);
    for (int y = 0; y < H; y += 2 * n) list.AddRect(0, y + n - a, W, y + n + a);
    RevealIfAny(Dest, Source, list.CreateRegion());
}

void UnevenBlindFromLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int p) {
    UnevenBlind(Dest, Source, W, H, w, p, true, true);
}

void UnevenBlindFromRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int p) {
    UnevenBlind(Dest, Source, W, H, w, p, true, false);
}

void UnevenBlindFromTop(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int p) {
    UnevenBlind(Dest, Source, W, H, h, p, false, true);
}

void UnevenBlindFromBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int p) {
    UnevenBlind(Dest, Source, W, H, h, p, false, false);
}

void RectangularShred(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int, int p) {
    TComplexRegion list;
    const int n = std::min(W, H) / 10 + 1;
    if (n <= 0) return;
    const int a = MulDiv(n, p, 100);
    ForEachGridCentre(n, W, H, [&](int x, int y) { list.AddRect(x - a, y - a, x + a, y + a); });
    RevealIfAny(Dest, Source, list.CreateRegion());
}

void RectanglesAppearFromLeftAndDisappearToRight(Bitmap& Dest, const Bitmap& Source, int W, int H,
                                                 int w, int, int p) {
    BandsAndSlats(Dest, Source, W, H, w, p, true, true);
}

void RectanglesAppearFromRightAndDisappearToLeft(Bitmap& Dest, const Bitmap& Source, int W, int H,
                                                 int w, int, int p) {
    BandsAndSlats(Dest, Source, W, H, w, p, true, false);
}

void RectanglesAppearFromUpAndDisappearToBottom(Bitmap& Dest, const Bitmap& Source, int W, int H,
                                                int, int h, int p) {
    BandsAndSlats(Dest, Source, W, H, h, p, false, true);
}

void RectanglesAppearFromBottomAndDisappearToUp(Bitmap& Dest, const Bitmap& Source, int W, int H,
                                                int, int h, int p) {
    BandsAndSlats(Dest, Source, W, H, h, p, false, false);
}

void RandomSquaresAppear(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int, int p) {
    OptRegion region;
    {
        // Seeded by the incoming picture, so every frame of the transition
        // draws the same numbers and a cell once shown stays shown.
        base::ScopedRandSeed seed(Source.handle());
        TComplexRegion list;
        const int k = std::min(W, H) / 50 + 1;
        if (k <= 0) return;
        ForEachGridCentre(k, W, H, [&](int x, int y) {
            if (static_cast<int>(base::Random(100)) < p) list.AddRect(x - k, y - k, x + k, y + k);
        });
        region = list.CreateRegion();
    }
    RevealIfAny(Dest, Source, region);
}

void CircularShred(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int, int p) {
    const int n = std::min(W, H) / 10 + 1;
    if (n <= 0) return;
    const int r = MulDiv(3 * n, p, 200);
    OptRegion region;
    ForEachGridCentre(n, W, H, [&](int x, int y) {
        Accumulate(region, Region::ellipse(x - r, y - r, x + r, y + r));
    });
    RevealIfAny(Dest, Source, region);
}

void DiamondShred(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int, int p) {
    const int n = std::min(W, H) / 10 + 1;
    if (n <= 0) return;
    const int b = MulDiv(n, p, 50);
    OptRegion region;
    ForEachGridCentre(n, W, H, [&](int x, int y) {
        Accumulate(region, PolyRgn({x - b, y, x, y - b, x + b, y, x, y + b}));
    });
    RevealIfAny(Dest, Source, region);
}

void TriangularShred(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int, int p) {
    const int nx = W / 10 + 1, ny = H / 10 + 1;
    if (nx <= 0 || ny <= 0) return;
    const int bx = MulDiv(nx, p, 50), by = MulDiv(ny, p, 50);
    OptRegion region;
    // One extra row below the frame: each triangle's lower corners are filled
    // by the top edge of the triangle under it.
    for (int x = nx; x - nx < W; x += 2 * nx) {
        for (int y = ny; y - ny < H + ny; y += 2 * ny)
            Accumulate(region, Tri(x - bx, y - by, x, y + by, x + bx, y - by));
    }
    RevealIfAny(Dest, Source, region);
}

}  // namespace effects
