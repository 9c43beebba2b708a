#include "screen/RegionStyles.h"

#include "base/Arith.h"

namespace screen {

namespace {

using raster::Point;
using raster::Region;

Region Tri(Point a, Point b, Point c) {
    const Point points[] = {a, b, c};
    return Region::polygon(points, 3);
}

// Mode pairs of the criss-cross and shred styles, indexed from their first style.
struct ModePair {
    int h;
    int v;
};
constexpr ModePair kCrissCross[] = {{1, 1}, {1, 2}, {2, 1}, {2, 2}, {4, 4}, {4, 5}, {5, 4}, {5, 5}};
constexpr ModePair kCrissCrossHalf[] = {{1, 3}, {2, 3}, {3, 1}, {3, 2}};
constexpr ModePair kShred[] = {{1, 1}, {1, 2}, {2, 1}, {2, 2}, {1, 3},
                               {2, 3}, {3, 1}, {3, 2}, {3, 3}, {4, 4}};

}  // namespace

OptRegion RegionStyleRegion(int style, const FrameValues& v, int p) {
    const int W = v.W, H = v.H, X = v.X, Y = v.Y, K = v.K;
    switch (style) {
        case 58:
            return Region::roundRect(-2 * W, -5, 2 * X, H + 5, 2 * W, 2 * W);
        case 59:
            return Region::roundRect(W - 2 * X, -5, 3 * W, H + 5, 2 * W, 2 * W);
        case 60:
        case 61:
        case 62:
        case 63: {
            constexpr int kModes[] = {1, 2, 4, 5};
            return ScreenBarsRegion(2 * X, 0, W, H, kModes[style - 60], 0, K);
        }
        case 64:
            return ScreenBarsRegion(X, 0, W, H, 3, 0, 0);
        case 65:
        case 66:
        case 67:
        case 68:
            return ScreenShredRegion(X, 0, W, H, style - 64, 0);
        case 69:
            return Region::roundRect(-5, -2 * H, W + 5, 2 * Y, 2 * H, 2 * H);
        case 70:
            return Region::roundRect(-5, H - 2 * Y, W + 5, 3 * H, 2 * H, 2 * H);
        case 71:
        case 72:
        case 73:
        case 74: {
            constexpr int kModes[] = {1, 2, 4, 5};
            return ScreenBarsRegion(0, 2 * Y, W, H, 0, kModes[style - 71], K);
        }
        case 75:
            return ScreenBarsRegion(0, Y, W, H, 0, 3, 0);
        case 76:
        case 77:
        case 78:
        case 79:
            return ScreenShredRegion(0, Y, W, H, 0, style - 75);
        case 80:
            return Region::roundRect(-2 * W, -2 * H, 2 * X, 2 * Y, 2 * W, 2 * H);
        case 81:
            return Region::roundRect(W - 2 * X, -2 * H, 3 * W, 2 * Y, 2 * W, 2 * H);
        case 82:
            return Region::roundRect(-2 * W, H - 2 * Y, 2 * X, 3 * H, 2 * W, 2 * H);
        case 83:
            return Region::roundRect(W - 2 * X, H - 2 * Y, 3 * W, 3 * H, 2 * W, 2 * H);
        case 84:
            return Region::roundRect(h(W) - X, h(H) - Y, h(W) + X, h(H) + Y, 9 * X / 5, 9 * Y / 5);
        case 85: {
            Region r = Region::rect(0, 0, W, H);
            r.xorWith(Region::roundRect(X - h(W), Y - h(H), 3 * W / 2 - X, 3 * H / 2 - Y,
                                        9 * (W - X) / 5, 9 * (H - Y) / 5));
            return r;
        }
        case 86:
        case 87:
        case 88:
        case 89:
        case 90:
        case 91:
        case 92:
        case 93: {
            const ModePair m = kCrissCross[style - 86];
            return ScreenBarsRegion(2 * X, 2 * Y, W, H, m.h, m.v, K);
        }
        case 94:
        case 95:
        case 96:
        case 97: {
            const ModePair m = kCrissCrossHalf[style - 94];
            return ScreenBarsRegion(X, Y, W, H, m.h, m.v, K);
        }
        case 98:
            return ScreenBarsRegion(X, Y, W, H, 3, 3, 0);
        case 99: {
            OptRegion r = ScreenBarsRegion(2 * X, 2 * Y, W, H, 2, 2, K);
            const OptRegion other = ScreenBarsRegion(2 * X, 2 * Y, W, H, 1, 1, K);
            if (r && other) r->intersect(*other);
            return r;
        }
        case 100:
        case 101:
        case 102:
        case 103:
        case 104:
        case 105:
        case 106:
        case 107:
        case 108:
        case 109: {
            const ModePair m = kShred[style - 100];
            return ScreenShredRegion(X, Y, W, H, m.h, m.v);
        }
        case 110:
            return Tri({0, 0}, {2 * X, 0}, {0, 2 * Y});
        case 111:
            return Tri({W, 0}, {W - 2 * X, 0}, {W, 2 * Y});
        case 112:
            return Tri({0, H}, {2 * X, H}, {0, H - 2 * Y});
        case 113:
            return Tri({W, H}, {W - 2 * X, H}, {W, H - 2 * Y});
        case 114: {
            Region r = Tri({W, H}, {W, 0}, {W - X, 0});
            return r.unite(Tri({0, H}, {0, 0}, {X, H}));
        }
        case 115: {
            Region r = Tri({W, H}, {0, H}, {0, H - Y});
            return r.unite(Tri({W, 0}, {0, 0}, {W, Y}));
        }
        case 116: {
            const Point C{h(W), h(H)};
            Region r = Tri(C, {0, H}, {0, H - Y});
            r.unite(Tri({0, 0}, {X, 0}, C));
            r.unite(Tri({W - X, H}, C, {W, H}));
            return r.unite(Tri(C, {W, 0}, {W, Y}));
        }
        case 117: {
            const int s = X / 5;
            const int t = base::MulDiv(s, H, W);
            Region r;
            for (int row = 0; row <= 9; ++row) {
                for (int column = 0; column <= 9; ++column) {
                    const int cx = column * W / 10, ry = row * H / 10;
                    r.unite(Tri({cx, ry}, {cx + s, ry}, {cx, ry + t}));
                }
            }
            return r;
        }
        case 123:
        case 124:
            return ScreenSpeckleRegion(X, Y, W, H, style - 122, 0);
        case 125:
        case 126:
            return ScreenSpeckleRegion(X, Y, W, H, 0, style - 124);
        case 127:
            return ScreenSquaresRegion(W, H, p);
        default:
            return std::nullopt;
    }
}

}  // namespace screen
