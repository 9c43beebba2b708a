#include "effects/StripeEffects.h"

#include <algorithm>
#include <cstdint>

#include "base/Random.h"
#include "effects/ComplexRegion.h"

namespace effects {

namespace {

// Random(n) of the shared generator for a non-negative int range.
int Draw(int n) {
    return static_cast<int>(base::Random(static_cast<uint32_t>(std::max(n, 0))));
}

// Depth, square size, squares per fringe row and near zone of a speckle
// fringe along one axis of length 'size' while the solid part reaches 'extent'.
struct Fringe {
    int depth;
    int square;
    int count;
    int nearZone;
};

Fringe FringeOf(int extent, int size) {
    Fringe f{};
    f.depth = extent < size ? size / 10 : 0;
    f.square = std::max(f.depth / 20, 2);
    f.count = f.depth / f.square;
    f.nearZone = (3 * f.depth) / (4 * f.square);
    return f;
}

// Whether the square 'place' slots ahead of the edge is present: always for the
// first slot, with chance 2/place inside the near zone and 1/place beyond it.
bool SquarePresent(const Fringe& f, int place) {
    const int r = Draw(place);
    return place <= f.nearZone ? r <= 1 : r <= 0;
}

}  // namespace

OptRegion BarsRegion(int X, int Y, int W, int H, int ModeX, int ModeY) {
    if (W < 0 || H < 0) return std::nullopt;
    TComplexRegion list;
    const int e = std::min(W, H) / 50 + 1;
    if (ModeX != 0) {
        if (X <= W) {
            for (int y = 0; y < H + e; y += 2 * e) {
                switch (ModeX) {
                    case 1:
                    case 5:
                        list.AddRect(W - X, y, W, y + e);
                        break;
                    case 2:
                    case 4:
                        list.AddRect(0, y, X, y + e);
                        break;
                    case 3:
                        list.AddRect(0, y + e, X, y + 2 * e);
                        list.AddRect(W - X, y, W, y + e);
                        break;
                    default:
                        break;
                }
            }
        } else {
            // The even bars are finished; the odd ones grow.
            for (int y = e; y < H + e; y += 2 * e) {
                if (ModeX == 1 || ModeX == 4)
                    list.AddRect(2 * W - X, y, W, y + e);
                else if (ModeX == 2 || ModeX == 5)
                    list.AddRect(0, y, X - W, y + e);
                list.AddRect(0, y - e, W, y);
            }
        }
    }
    if (ModeY != 0) {
        if (Y <= H) {
            for (int x = 0; x < W + e; x += 2 * e) {
                switch (ModeY) {
                    case 1:
                    case 5:
                        list.AddRect(x, H - Y, x + e, H);
                        break;
                    case 2:
                    case 4:
                        list.AddRect(x, 0, x + e, Y);
                        break;
                    case 3:
                        list.AddRect(x, H - Y, x + e, H);
                        list.AddRect(x + e, 0, x + 2 * e, Y);
                        break;
                    default:
                        break;
                }
            }
        } else {
            for (int x = e; x < W + e; x += 2 * e) {
                if (ModeY == 1 || ModeY == 4)
                    list.AddRect(x, 2 * H - Y, x + e, H);
                else if (ModeY == 2 || ModeY == 5)
                    list.AddRect(x, 0, x + e, Y - H);
                list.AddRect(x - e, 0, x, H);
            }
        }
    }
    return list.CreateRegion();
}

OptRegion ShredRegion(int X, int Y, int W, int H, int ModeX, int ModeY) {
    if (W < 0 || H < 0) return std::nullopt;
    TComplexRegion list;
    const int e = std::min(W, H) / 200 + 1;
    // Each strip is stretched by the remainder so the last one reaches the edge.
    const int rx = W % e, ry = H % e;
    const int cx = W / 2, cy = H / 2;
    if (ModeX != 0) {
        const int j = X < W ? W / 10 : 0;
        for (int y = 0; y < H; y += e) {
            const int L = X - j + Draw(2 * j);  // one draw per strip, also when j = 0
            const int bottom = y + e + ry;
            const int a = L / 2;
            switch (ModeX) {
                case 1:
                    list.AddRect(W - L, y, W, bottom);
                    break;
                case 2:
                    list.AddRect(0, y, L, bottom);
                    break;
                case 3:
                    list.AddRect(cx - a, y, cx, bottom);
                    list.AddRect(cx, y, cx + a, bottom);
                    break;
                default:
                    list.AddRect(W - a, y, W, bottom);
                    list.AddRect(0, y, a, bottom);
                    break;
            }
        }
    }
    if (ModeY != 0) {
        const int j = Y < H ? H / 10 : 0;
        for (int x = 0; x < W; x += e) {
            const int L = Y - j + Draw(2 * j);
            const int right = x + e + rx;
            const int a = L / 2;
            switch (ModeY) {
                case 1:
                    list.AddRect(x, H - L, right, H);
                    break;
                case 2:
                    list.AddRect(x, 0, right, L);
                    break;
                case 3:
                    list.AddRect(x, cy - a, right, cy);
                    list.AddRect(x, cy, right, cy + a);
                    break;
                default:
                    list.AddRect(x, H - a, right, H);
                    list.AddRect(x, 0, right, a);
                    break;
            }
        }
    }
    return list.CreateRegion();
}

OptRegion SpeckleRegion(int X, int Y, int W, int H, int ModeX, int ModeY) {
    if (W < 0 || H < 0) return std::nullopt;
    TComplexRegion list;
    if (ModeX != 0) {
        const Fringe f = FringeOf(X, W);
        const int s = f.square;
        // Fringe rows overlap by half a square.
        for (int y = 0; y < H; y += s / 2) {
            if (ModeX == 1) {
                list.AddRect(W - X, y, W, y + s);
                for (int i = f.count; i >= 1; --i) {
                    if (!SquarePresent(f, i)) continue;
                    const int x0 = W - X - i * s;
                    list.AddRect(x0, y, x0 + s, y + s);
                }
            } else {
                list.AddRect(0, y, X, y + s);
                for (int i = f.count; i >= 1; --i) {
                    if (!SquarePresent(f, i)) continue;
                    const int x1 = X + i * s;
                    list.AddRect(x1 - s, y, x1, y + s);
                }
            }
        }
    }
    if (ModeY != 0) {
        const Fringe f = FringeOf(Y, H);
        const int s = f.square;
        for (int x = 0; x < W; x += s / 2) {
            if (ModeY == 1) {
                list.AddRect(x, H - Y, x + s, H);
                for (int i = f.count; i >= 1; --i) {
                    if (!SquarePresent(f, i)) continue;
                    const int y0 = H - Y - i * s;
                    list.AddRect(x, y0, x + s, y0 + s);
                }
            } else {
                list.AddRect(x, 0, x + s, Y);
                for (int i = f.count; i >= 1; --i) {
                    if (!SquarePresent(f, i)) continue;
                    const int y1 = Y + i * s;
                    list.AddRect(x, y1 - s, x + s, y1);
                }
            }
        }
    }
    return list.CreateRegion();
}

// The members: one generator call each, then Source shown through the region
// (all of Source when no region came out).

void BarsInFromRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    ClipReveal(Dest, Source, BarsRegion(2 * w, 0, W, H, 1, 0));
}

void BarsInFromLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    ClipReveal(Dest, Source, BarsRegion(2 * w, 0, W, H, 2, 0));
}

void BarsLeftThenRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    ClipReveal(Dest, Source, BarsRegion(2 * w, 0, W, H, 4, 0));
}

void BarsRightThenLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    ClipReveal(Dest, Source, BarsRegion(2 * w, 0, W, H, 5, 0));
}

void BarsFromBothSides(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    ClipReveal(Dest, Source, BarsRegion(w, 0, W, H, 3, 0));
}

void BarsFromBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    ClipReveal(Dest, Source, BarsRegion(0, 2 * h, W, H, 0, 1));
}

void BarsFromTop(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    ClipReveal(Dest, Source, BarsRegion(0, 2 * h, W, H, 0, 2));
}

void BarsTopThenBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    ClipReveal(Dest, Source, BarsRegion(0, 2 * h, W, H, 0, 4));
}

void BarsBottomThenTop(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    ClipReveal(Dest, Source, BarsRegion(0, 2 * h, W, H, 0, 5));
}

void BarsFromTopAndBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    ClipReveal(Dest, Source, BarsRegion(0, h, W, H, 0, 3));
}

void CrissCrossRevealFromBottomRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                     int) {
    ClipReveal(Dest, Source, BarsRegion(2 * w, 2 * h, W, H, 1, 1));
}

void CrissCrossRevealFromTopRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                  int) {
    ClipReveal(Dest, Source, BarsRegion(2 * w, 2 * h, W, H, 1, 2));
}

void CrissCrossRevealFromBottomLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                    int) {
    ClipReveal(Dest, Source, BarsRegion(2 * w, 2 * h, W, H, 2, 1));
}

void CrissCrossRevealFromTopLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                 int) {
    ClipReveal(Dest, Source, BarsRegion(2 * w, 2 * h, W, H, 2, 2));
}

void CrissCrossRevealBounceFromTopLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w,
                                       int h, int) {
    ClipReveal(Dest, Source, BarsRegion(2 * w, 2 * h, W, H, 4, 4));
}

void CrissCrossRevealBounceFromBottomLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w,
                                          int h, int) {
    ClipReveal(Dest, Source, BarsRegion(2 * w, 2 * h, W, H, 4, 5));
}

void CrissCrossRevealBounceFromTopRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w,
                                        int h, int) {
    ClipReveal(Dest, Source, BarsRegion(2 * w, 2 * h, W, H, 5, 4));
}

void CrissCrossRevealBounceFromBottomRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w,
                                           int h, int) {
    ClipReveal(Dest, Source, BarsRegion(2 * w, 2 * h, W, H, 5, 5));
}

void CrissCrossRevealFromRightTopAndBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int w,
                                           int h, int) {
    ClipReveal(Dest, Source, BarsRegion(w, h, W, H, 1, 3));
}

void CrissCrossRevealFromLeftTopAndBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int w,
                                          int h, int) {
    ClipReveal(Dest, Source, BarsRegion(w, h, W, H, 2, 3));
}

void CrissCrossRevealFromLeftRightAndBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int w,
                                            int h, int) {
    ClipReveal(Dest, Source, BarsRegion(w, h, W, H, 3, 1));
}

void CrissCrossRevealFromLeftRightAndTop(Bitmap& Dest, const Bitmap& Source, int W, int H, int w,
                                         int h, int) {
    ClipReveal(Dest, Source, BarsRegion(w, h, W, H, 3, 2));
}

void CrissCrossRevealFromTopLeftRightAndBottom(Bitmap& Dest, const Bitmap& Source, int W, int H,
                                               int w, int h, int) {
    ClipReveal(Dest, Source, BarsRegion(w, h, W, H, 3, 3));
}

void UnevenShredFromRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    ClipReveal(Dest, Source, ShredRegion(w, 0, W, H, 1, 0));
}

void UnevenShredFromLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    ClipReveal(Dest, Source, ShredRegion(w, 0, W, H, 2, 0));
}

void UnevenShredOutFromMiddleHoriz(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int,
                                   int) {
    ClipReveal(Dest, Source, ShredRegion(w, 0, W, H, 3, 0));
}

void UnevenShredInToMiddleHoriz(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    ClipReveal(Dest, Source, ShredRegion(w, 0, W, H, 4, 0));
}

void UnevenShredFromBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    ClipReveal(Dest, Source, ShredRegion(0, h, W, H, 0, 1));
}

void UnevenShredFromTop(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    ClipReveal(Dest, Source, ShredRegion(0, h, W, H, 0, 2));
}

void UnevenShredFromHorizon(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    ClipReveal(Dest, Source, ShredRegion(0, h, W, H, 0, 3));
}

void UnevenShredInToHorizon(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    ClipReveal(Dest, Source, ShredRegion(0, h, W, H, 0, 4));
}

void UnevenShredFromBottomAndRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                   int) {
    ClipReveal(Dest, Source, ShredRegion(w, h, W, H, 1, 1));
}

void UnevenShredFromTopAndRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                int) {
    ClipReveal(Dest, Source, ShredRegion(w, h, W, H, 1, 2));
}

void UnevenShredFromBottomAndLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                  int) {
    ClipReveal(Dest, Source, ShredRegion(w, h, W, H, 2, 1));
}

void UnevenShredFromTopAndLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                               int) {
    ClipReveal(Dest, Source, ShredRegion(w, h, W, H, 2, 2));
}

void UnevenShredFromHorizAndRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                  int) {
    ClipReveal(Dest, Source, ShredRegion(w, h, W, H, 1, 3));
}

void UnevenShredFromHorizAndLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                 int) {
    ClipReveal(Dest, Source, ShredRegion(w, h, W, H, 2, 3));
}

void UnevenShredFromBottomAndVertMiddle(Bitmap& Dest, const Bitmap& Source, int W, int H, int w,
                                        int h, int) {
    ClipReveal(Dest, Source, ShredRegion(w, h, W, H, 3, 1));
}

void UnevenShredFromTopAndVertMiddle(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                     int) {
    ClipReveal(Dest, Source, ShredRegion(w, h, W, H, 3, 2));
}

void UnevenShredFromCentre(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    ClipReveal(Dest, Source, ShredRegion(w, h, W, H, 3, 3));
}

void UnevenShredToCentre(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    ClipReveal(Dest, Source, ShredRegion(w, h, W, H, 4, 4));
}

void SpeckleAppearFromRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    ClipReveal(Dest, Source, SpeckleRegion(w, h, W, H, 1, 0));
}

void SpeckleAppearFromLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    ClipReveal(Dest, Source, SpeckleRegion(w, h, W, H, 2, 0));
}

void SpeckleAppearFromBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    ClipReveal(Dest, Source, SpeckleRegion(w, h, W, H, 0, 1));
}

void SpeckleAppearFromTop(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    ClipReveal(Dest, Source, SpeckleRegion(w, h, W, H, 0, 2));
}

// Only where both criss-cross patterns have opened.
void CrissCrossRevealFromBottomLeftTopRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w,
                                            int h, int) {
    OptRegion region = BarsRegion(2 * w, 2 * h, W, H, 1, 1);
    Intersect(region, BarsRegion(2 * w, 2 * h, W, H, 2, 2));
    ClipReveal(Dest, Source, region);
}

}  // namespace effects
