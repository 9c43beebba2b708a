#include "screen/RectangleStyles.h"

#include <algorithm>
#include <cstdlib>

#include "raster/Blit.h"

namespace screen {

namespace {

RectCopy Same(const Rect& r) {
    return RectCopy{r, r};
}
RectCopy From(const Rect& d, const Rect& s) {
    return RectCopy{d, s};
}

// Styles 1..17, moving along the x axis. Styles 18..34 are the same plans
// with the axes exchanged.
std::vector<RectCopy> HorizontalPlan(int style, const FrameValues& v) {
    const int W = v.W, H = v.H, X = v.X;
    const Rect whole{0, 0, W, H};
    switch (style) {
        case 1:
            return {From({W - X, 0, W, H}, whole)};
        case 2:
            return {From({0, 0, X, H}, whole)};
        case 3:
            return {From({W - X, 0, 2 * W - X, H}, whole)};
        case 4:
            return {From({X - W, 0, X, H}, whole)};
        case 5:
            return {Same({0, 0, X, H})};
        case 6:
            return {Same({W - X, 0, W, H})};
        case 7:
            return {From({0, 0, 2 * W - X, H}, {0, 0, X, H})};
        case 8:
            return {From({X - W, 0, W, H}, {W - X, 0, W, H})};
        case 9:
            return {From({X - W, 0, 2 * W - X, H}, {h(W - X), 0, h(X + W), H})};
        case 10:
            return {From({h(W - X), 0, h(X + W), H}, whole)};
        case 11:
            return {Same({h(W - X), 0, h(X + W), H})};
        case 12:
            return {Same({0, 0, h(X) + 1, H}), Same({W - h(X) - 1, 0, W, H})};
        case 13:
            return {From({0, 0, h(X) + 1, H}, {0, 0, h(W) + 1, H}),
                    From({W - h(X) - 1, 0, W, H}, {h(W), 0, W, H})};
        case 14: {
            int r;
            if (X < W / 5)
                r = h(X);
            else if (W < X + W / 5)
                r = h(W - X);
            else
                r = W / 10;
            RectCopy strip{{X, 0, X + r, H}, {X + r, 0, X + 2 * r, H}, true, true, false};
            return {strip, Same({0, 0, X, H})};
        }
        case 15: {
            const int E = W - X;
            int r;
            if (W < E + W / 5)
                r = h(X);
            else if (E < W / 5)
                r = h(E);
            else
                r = W / 10;
            RectCopy strip{{E - r, 0, E, H}, {E - 2 * r, 0, E - r, H}, true, true, false};
            return {strip, Same({E, 0, W, H})};
        }
        case 16:
            return {Same({0, 0, X, H}), From({X, 0, W, H}, {X, 0, X + W / 20, H})};
        case 17: {
            const int E = W - X;
            return {Same({E, 0, W, H}), From({0, 0, E, H}, {E - W / 20, 0, E, H})};
        }
        default:
            return {};
    }
}

Rect Transposed(const Rect& r) {
    return Rect{r.top, r.left, r.bottom, r.right};
}

std::vector<RectCopy> CornerPlan(int style, const FrameValues& v) {
    const int W = v.W, H = v.H, X = v.X, Y = v.Y;
    const Rect whole{0, 0, W, H};
    const Rect centre{h(W - X), h(H - Y), h(X + W), h(H + Y)};
    switch (style) {
        case 35:
            return {From({W - X, H - Y, W, H}, whole)};
        case 36:
            return {From({W - X, 0, W, Y}, whole)};
        case 37:
            return {From({0, 0, X, Y}, whole)};
        case 38:
            return {From({0, H - Y, X, H}, whole)};
        case 39:
            return {From({W - X, H - Y, 2 * W - X, 2 * H - Y}, whole)};
        case 40:
            return {From({W - X, Y - H, 2 * W - X, Y}, whole)};
        case 41:
            return {From({X - W, Y - H, X, Y}, whole)};
        case 42:
            return {From({X - W, H - Y, X, 2 * H - Y}, whole)};
        case 43:
            return {Same({0, 0, X, Y})};
        case 44:
            return {Same({0, H - Y, X, H})};
        case 45:
            return {Same({W - X, H - Y, W, H})};
        case 46:
            return {Same({W - X, 0, W, Y})};
        case 47:
            return {From({0, 0, 2 * W - X, 2 * H - Y}, {0, 0, X, Y})};
        case 48:
            return {From({0, Y - H, 2 * W - X, H}, {0, H - Y, X, H})};
        case 49:
            return {From({X - W, Y - H, W, H}, {W - X, H - Y, W, H})};
        case 50:
            return {From({X - W, 0, W, 2 * H - Y}, {W - X, 0, W, Y})};
        case 51:
            return {From({X - W, Y - H, 2 * W - X, 2 * H - Y}, centre)};
        case 52:
            return {From(centre, whole)};
        case 53:
            return {Same(centre)};
        default:
            return {};
    }
}

std::vector<RectCopy> QuarterPlan(int style, const FrameValues& v) {
    const int W = v.W, H = v.H, X = v.X, Y = v.Y;
    switch (style) {
        case 54:
            return {Same({0, 0, W, h(Y)}), Same({0, H - h(Y), W, H}), Same({0, 0, h(X), H}),
                    Same({W - h(X), 0, W, H})};
        case 55:
            return {Same({0, 0, h(X) + 1, h(Y) + 1}), Same({0, H - h(Y) - 1, h(X) + 1, H}),
                    Same({W - h(X) - 1, H - h(Y) - 1, W, H}), Same({W - h(X) - 1, 0, W, h(Y) + 1})};
        case 56:
            return {From({0, 0, h(X) + 1, h(Y) + 1}, {0, 0, h(W) + 1, h(H) + 1}),
                    From({0, H - h(Y), h(X) + 1, H}, {0, h(H) + 1, h(W) + 1, H}),
                    From({W - h(X), H - h(Y), W, H}, {h(W) + 1, h(H) + 1, W, H}),
                    From({W - h(X), 0, W, h(Y) + 1}, {h(W) + 1, 0, W, h(H) + 1})};
        case 57:
            return {From({h(X - W), 0, h(X) + 1, h(H) + 1}, {0, 0, h(W) + 1, h(H) + 1}),
                    From({h(W) - 1, h(Y - H), W, h(Y) + 1}, {h(W) - 1, 0, W, h(H) + 1}),
                    From({W - h(X), h(H) - 1, W + h(W - X), H}, {h(W) + 1, h(H) - 1, W, H}),
                    From({0, H - h(Y), h(W) + 1, H + h(H - Y)}, {0, h(H) + 1, h(W) + 1, H})};
        default:
            return {};
    }
}

}  // namespace

std::vector<RectCopy> RectangleStylePlan(int style, const FrameValues& v) {
    if (style >= 1 && style <= 17) return HorizontalPlan(style, v);
    if (style >= 18 && style <= 34) {
        const FrameValues t{v.H, v.W, v.Y, v.X, v.K};
        std::vector<RectCopy> plan = HorizontalPlan(style - 17, t);
        for (RectCopy& c : plan) {
            c.D = Transposed(c.D);
            c.S = Transposed(c.S);
            std::swap(c.flipH, c.flipV);
        }
        return plan;
    }
    if (style >= 35 && style <= 53) return CornerPlan(style, v);
    return QuarterPlan(style, v);
}

Rect StretchFlipped(raster::Bitmap& canvas, Rect D, const raster::Bitmap& picture, Rect S,
                    bool flipH, bool flipV) {
    S = S.intersected(picture.bounds());
    if (S.isEmpty()) S = Rect{};  // no overlap reads nothing, never a mirrored block
    if (flipH) {
        const int left = D.left;
        D.left = D.right + 1;
        D.right = left - 1;
    }
    if (flipV) {
        const int top = D.top;
        D.top = D.bottom + 1;
        D.bottom = top - 1;
    }
    const int cx = D.right - D.left, cy = D.bottom - D.top;
    raster::StretchBlt(canvas, D.left, D.top, cx, cy, picture, S.left, S.top, S.width(), S.height(),
                       raster::StretchMode::Nearest);
    // A negative extent covers pos+extent+1..pos.
    const int left = cx >= 0 ? D.left : D.left + cx + 1;
    const int top = cy >= 0 ? D.top : D.top + cy + 1;
    return Rect{left, top, left + std::abs(cx), top + std::abs(cy)};
}

void CopyRect(raster::Bitmap& canvas, const Rect& D, const raster::Bitmap& picture, const Rect& S) {
    raster::StretchBlt(canvas, D.left, D.top, D.width(), D.height(), picture, S.left, S.top,
                       S.width(), S.height(), raster::StretchMode::Nearest);
}

}  // namespace screen
