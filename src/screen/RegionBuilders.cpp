#include "screen/RegionBuilders.h"

#include <algorithm>
#include <vector>

#include "base/Random.h"
#include "effects/StripeEffects.h"
#include "screen/FrameValues.h"

namespace screen {

namespace {

using base::Random;
using raster::Rect;
using raster::Region;

// The pieces of a builder. Every piece is united into the result, so they
// are gathered and turned into one region at the end: the same set of
// pixels as uniting them one by one, without re-merging a growing region
// hundreds of times per frame.
class Pieces {
public:
    // Corners in the wrong order are swapped, as a rectangle region does.
    void Add(int left, int top, int right, int bottom) {
        if (left > right) std::swap(left, right);
        if (top > bottom) std::swap(top, bottom);
        rects_.push_back(Rect{left, top, right, bottom});
        any_ = true;
    }
    // No region when no piece was made; pieces without pixels still make
    // a region, an empty one.
    OptRegion Build() const {
        if (!any_) return std::nullopt;
        return Region::fromRects(rects_.data(), rects_.size());
    }

private:
    std::vector<Rect> rects_;
    bool any_ = false;
};

int Jitter(int J) {
    return static_cast<int>(Random(static_cast<uint32_t>(J)));
}

}  // namespace

OptRegion ScreenBarsRegion(int a, int b, int W, int H, int hMode, int vMode, int snap) {
    Pieces pieces;
    if (hMode != 0) {
        const bool secondHalf = a > W;
        for (int y = secondHalf ? 5 : 0; y < H + 5; y += 10) {
            if (secondHalf) {
                pieces.Add(0, y - 5, W, y);
                if (hMode == 1 || hMode == 4)
                    pieces.Add(2 * W - a, y, W, y + 5);
                else if (hMode == 2 || hMode == 5)
                    pieces.Add(0, y, a - W, y + 5);
            } else {
                if (a + snap > W) a = W;
                if (hMode == 1 || hMode == 5) {
                    pieces.Add(W - a, y, W, y + 5);
                } else if (hMode == 2 || hMode == 4) {
                    pieces.Add(0, y, a, y + 5);
                } else if (hMode == 3) {
                    pieces.Add(W - a, y, W, y + 5);
                    pieces.Add(0, y + 5, a, y + 10);
                }
            }
        }
    }
    if (vMode != 0) {
        const bool secondHalf = b > H;
        for (int x = secondHalf ? 5 : 0; x < W + 5; x += 10) {
            if (secondHalf) {
                pieces.Add(x - 5, 0, x, H);
                if (vMode == 1 || vMode == 4)
                    pieces.Add(x, 2 * H - b, x + 5, H);
                else if (vMode == 2 || vMode == 5)
                    pieces.Add(x, 0, x + 5, b - H);
            } else {
                if (b + snap > H) b = H;
                if (vMode == 1 || vMode == 5) {
                    pieces.Add(x, H - b, x + 5, H);
                } else if (vMode == 2 || vMode == 4) {
                    pieces.Add(x, 0, x + 5, b);
                } else if (vMode == 3) {
                    pieces.Add(x, H - b, x + 5, H);
                    pieces.Add(x + 5, 0, x + 10, b);
                }
            }
        }
    }
    return pieces.Build();
}

OptRegion ScreenShredRegion(int a, int b, int W, int H, int hMode, int vMode) {
    Pieces pieces;
    if (hMode != 0) {
        const int J = a < W ? W / 7 : 0;
        for (int y = 0; y < H; y += 5) {
            const int yb = y + 5 + H % 5;  // neighbouring strips overlap
            if (hMode == 1) {
                const int r1 = Jitter(J), r2 = Jitter(J);
                pieces.Add(W - a + r1 - r2, y, W, yb);
            } else if (hMode == 2) {
                const int r1 = Jitter(J), r2 = Jitter(J);
                pieces.Add(0, y, a + r1 - r2, yb);
            } else {
                const int r1 = Jitter(J), r2 = Jitter(J), r3 = Jitter(J), r4 = Jitter(J);
                if (hMode == 3) {
                    pieces.Add(h(W - a + r1 - r2), y, W / 2, yb);
                    pieces.Add(W / 2, y, h(W + a + r3 - r4), yb);
                } else {
                    pieces.Add(W - h(a + r1 - r2), y, W, yb);
                    pieces.Add(0, y, h(a + r3 - r4), yb);
                }
            }
        }
    }
    if (vMode != 0) {
        const int J = b < H ? H / 7 : 0;
        for (int x = 0; x < W; x += 5) {
            const int xr = x + 5 + W % 5;
            if (vMode == 1) {
                const int r1 = Jitter(J), r2 = Jitter(J);
                pieces.Add(x, H - b + r1 - r2, xr, H);
            } else if (vMode == 2) {
                const int r1 = Jitter(J), r2 = Jitter(J);
                pieces.Add(x, 0, xr, b + r1 - r2);
            } else {
                const int r1 = Jitter(J), r2 = Jitter(J), r3 = Jitter(J), r4 = Jitter(J);
                if (vMode == 3) {
                    pieces.Add(x, h(H - b + r1 - r2), xr, H / 2);
                    pieces.Add(x, H / 2, xr, h(H + b + r3 - r4));
                } else {
                    pieces.Add(x, H - h(b + r1 - r2), xr, H);
                    pieces.Add(x, 0, xr, h(b + r3 - r4));
                }
            }
        }
    }
    return pieces.Build();
}

OptRegion ScreenSpeckleRegion(int a, int b, int W, int H, int hMode, int vMode) {
    return effects::SpeckleRegion(a, b, W, H, hMode, vMode);
}

OptRegion ScreenSquaresRegion(int W, int H, int p) {
    int s = (W < H ? W / 50 : H / 50) + p / 10;
    if (s < 1) s = 1;
    Pieces pieces;
    for (int x = 0; x < W; x += s)
        for (int y = 0; y < H; y += s)
            if (Random(100) < static_cast<uint32_t>(std::max(p, 0)))
                pieces.Add(x - s, y - s, x + s, y + s);
    return pieces.Build();
}

}  // namespace screen
