#include "effects/ShapeEffects.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "base/Arith.h"

namespace effects {

using raster::Point;

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

// Nearest integer, ties to even (the default rounding mode).
int RoundToInt(long double value) {
    return static_cast<int>(std::nearbyint(value));
}

// Rounded rectangle; the raster layer limits the corner ellipse to the
// rectangle, so an oversized one turns a whole side into a half-ellipse.
Region RoundRgn(int l, int t, int r, int b, int ew, int eh) {
    return Region::roundRect(l, t, r, b, ew, eh);
}

Region Diamond(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return PolyRgn({x1, y1, x2, y2, x3, y3, x4, y4});
}

Region PolygonOf(std::span<const Point> points) {
    return Region::polygon(points.data(), points.size());
}

void Reveal(Bitmap& dest, const Bitmap& source, Region region) {
    ClipReveal(dest, source, OptRegion(std::move(region)));
}

// The four triangles of the diagonal cross with half-widths a and b, in the
// order both cross members combine them.
std::array<Region, 4> CrossTriangles(int W, int H, int a, int b) {
    const int cx = W / 2, cy = H / 2;
    return {Tri(0, cy - b, a, cy, 0, cy + b), Tri(W, cy - b, W - a, cy, W, cy + b),
            Tri(cx - a, 0, cx, b, cx + a, 0), Tri(cx - a, H, cx, H - b, cx + a, H)};
}

// Zigzag band across the frame: 'across' is the extent the teeth march along
// (W for the horizontal band), 'along' the one the band widens in, 'centre'
// its middle line and 'half' the progress-scaled half size (h div 2).
// Vertices come back as (position along the teeth, level), the caller swaps
// them for the vertical band.
std::array<Point, 24> ZigzagBand(int across, int along, int centre, int half, int p) {
    const int n = along / 10;   // tooth height
    const int s = across / 10;  // tooth pitch
    const int c = base::MulDiv(n, p, 100) + half;
    const int y0 = centre + n - c, y1 = centre - n - c;
    const int y2 = centre + n + c, y3 = centre - n + c;
    std::array<Point, 24> points;
    for (int k = 0; k < 12; ++k) {
        // Eleven pitches fall short of the far side on some narrow pictures;
        // the last tooth reaches it so the band can still cover the frame.
        const int x = k == 11 ? std::max(11 * s, across) : k * s;
        points[static_cast<size_t>(k)] = {x, k % 2 == 0 ? y0 : y1};
        points[static_cast<size_t>(23 - k)] = {x, k % 2 == 0 ? y2 : y3};
    }
    return points;
}

// The rectangle of the turning members, w by h about the centre of the frame.
std::array<Point, 4> CentredRectangle(int W, int H, int w, int h) {
    const int cx = W / 2, cy = H / 2, a = w / 2, b = h / 2;
    return {Point{cx - a, cy - b}, Point{cx + a, cy - b}, Point{cx + a, cy + b},
            Point{cx - a, cy + b}};
}

}  // namespace

std::vector<Point> SectorPoints(int CX, int CY, int Radius, long double Start, long double End,
                                int Count) {
    std::vector<Point> points;
    points.reserve(static_cast<size_t>(std::max(Count, 0)) + 1);
    points.push_back({CX, CY});
    if (Count <= 0) return points;
    const long double step = (End - Start) / Count;
    long double angle = Start;
    for (int k = 0; k < Count; ++k) {
        points.push_back(
            {CX + RoundToInt(Radius * std::cos(angle)), CY + RoundToInt(Radius * std::sin(angle))});
        angle += step;
    }
    return points;
}

Region SectorRegion(int CX, int CY, int Radius, long double Start, long double End, int Count) {
    return Region::polygon(SectorPoints(CX, CY, Radius, Start, End, Count));
}

void RotatePoints(std::span<Point> points, int CX, int CY, long double Angle) {
    const long double c = std::cos(Angle), s = std::sin(Angle);
    for (Point& point : points) {
        const long double dx = point.x - CX, dy = point.y - CY;
        point = {CX + RoundToInt(dx * c - dy * s), CY + RoundToInt(dx * s + dy * c)};
    }
}

int SweepRadius(int Width, int Height) {
    return static_cast<int>(std::ceil(
        std::hypot(static_cast<long double>(Width / 2), static_cast<long double>(Height / 2))));
}

long double TurningAngle(int Percent, uint32_t SourceHandle) {
    const long double angle = Percent * kPi / 50;
    return (SourceHandle & 1u) ? -angle : angle;
}

// Curved fronts: a rounded rectangle whose far side is a half-ellipse.

void CurvedRevealFromLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Reveal(Dest, Source, RoundRgn(-2 * W, 0, 2 * w, H + 1, 2 * W, 2 * W));
}

void CurvedRevealFromRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int) {
    Reveal(Dest, Source, RoundRgn(W - 2 * w, 0, 3 * W, H + 1, 2 * W, 2 * W));
}

void CurvedRevealFromTop(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Reveal(Dest, Source, RoundRgn(0, -2 * H, W + 1, 2 * h, 2 * H, 2 * H));
}

void CurvedRevealFromBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int) {
    Reveal(Dest, Source, RoundRgn(0, H - 2 * h, W + 1, 3 * H, 2 * H, 2 * H));
}

void CurvedRevealFromTopLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    Reveal(Dest, Source, RoundRgn(-W, -H, (3 * w) / 2, (3 * h) / 2, 2 * W, 2 * H));
}

void CurvedRevealFromTopRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    Reveal(Dest, Source, RoundRgn(W - (3 * w) / 2, -H, 2 * W, (3 * h) / 2, 2 * W, 2 * H));
}

void CurvedRevealFromBottomLeft(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                int) {
    Reveal(Dest, Source, RoundRgn(-W, H - (3 * h) / 2, (3 * w) / 2, 2 * H, 2 * W, 2 * H));
}

void CurvedRevealFromBottomRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                 int) {
    Reveal(Dest, Source, RoundRgn(W - (3 * w) / 2, H - (3 * h) / 2, 2 * W, 2 * H, 2 * W, 2 * H));
}

void EllipticRevealOutFromCentre(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                 int) {
    const int cx = W / 2, cy = H / 2;
    Reveal(Dest, Source, RoundRgn(cx - w, cy - h, cx + w, cy + h, (9 * w) / 5, (9 * h) / 5));
}

void EllipticRevealInToCentre(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    const int cx = W / 2, cy = H / 2;
    Region region = Region::rect(0, 0, W, H);
    region.xorWith(
        RoundRgn(w - cx, h - cy, 3 * cx - w, 3 * cy - h, (9 * (W - w)) / 5, (9 * (H - h)) / 5));
    Reveal(Dest, Source, std::move(region));
}

// Diagonal triangles and sweeps.

void RevealDiagonalFromTopLeft(Bitmap& Dest, const Bitmap& Source, int, int, int w, int h, int) {
    Reveal(Dest, Source, Tri(0, 0, 2 * w, 0, 0, 2 * h));
}

void RevealDiagonalFromTopRight(Bitmap& Dest, const Bitmap& Source, int W, int, int w, int h, int) {
    Reveal(Dest, Source, Tri(W, 0, W - 2 * w, 0, W, 2 * h));
}

void RevealDiagonalFromBottomLeft(Bitmap& Dest, const Bitmap& Source, int, int H, int w, int h,
                                  int) {
    Reveal(Dest, Source, Tri(0, H, 2 * w, H, 0, H - 2 * h));
}

void RevealDiagonalFromBottomRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                   int) {
    Reveal(Dest, Source, Tri(W, H, W - 2 * w, H, W, H - 2 * h));
}

void DiagonalSweepFromTopLeftBottomRightAnticlockwise(Bitmap& Dest, const Bitmap& Source, int W,
                                                      int H, int w, int, int) {
    Region region = Tri(0, H, 0, 0, w, H);
    region.unite(Tri(W, H, W, 0, W - w, 0));
    Reveal(Dest, Source, std::move(region));
}

void DiagonalSweepFromTopLeftBottomRightClockwise(Bitmap& Dest, const Bitmap& Source, int W, int H,
                                                  int, int h, int) {
    Region region = Tri(W, 0, 0, 0, W, h);
    region.unite(Tri(W, H, 0, H, 0, H - h));
    Reveal(Dest, Source, std::move(region));
}

void StarburstClockwiseFromCenter(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                  int) {
    const int cx = W / 2, cy = H / 2;
    Region region = Tri(cx, cy, 0, 0, w, 0);
    region.unite(Tri(cx, cy, 0, H, 0, H - h));
    region.unite(Tri(cx, cy, W, H, W - w, H));
    region.unite(Tri(cx, cy, W, 0, W, h));
    Reveal(Dest, Source, std::move(region));
}

void StarburstAnticlockwiseFromCenter(Bitmap& Dest, const Bitmap& Source, int W, int H, int w,
                                      int h, int) {
    const int cx = W / 2, cy = H / 2;
    Region region = Tri(cx, cy, 0, 0, 0, h);
    region.unite(Tri(cx, cy, 0, H, w, H));
    region.unite(Tri(cx, cy, W, H, W, H - h));
    region.unite(Tri(cx, cy, W, 0, W - w, 0));
    Reveal(Dest, Source, std::move(region));
}

// Clock-hand sweeps: one fan vertex per percent, starting straight up.

void SweepClockwise(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int, int p) {
    Reveal(Dest, Source,
           SectorRegion(W / 2, H / 2, SweepRadius(W, H), -kPi / 2, p * kPi / 50 - kPi / 2, p));
}

void SweepAnticlockwise(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int, int p) {
    Reveal(Dest, Source,
           SectorRegion(W / 2, H / 2, SweepRadius(W, H), -kPi / 2, -p * kPi / 50 - kPi / 2, p));
}

// Turning shapes.

void RotationalRectangleInCenter(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                 int p) {
    std::array<Point, 4> points = CentredRectangle(W, H, w, h);
    RotatePoints(points, W / 2, H / 2, TurningAngle(p, Source.handle()));
    Reveal(Dest, Source, PolygonOf(points));
}

void RotationalStarInCenter(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int p) {
    const int cx = W / 2, cy = H / 2, a = w / 2, b = h / 2;
    std::array<Point, 8> points = {
        Point{cx - 2 * w, cy}, Point{cx - a, cy - b}, Point{cx, cy - 2 * h}, Point{cx + a, cy - b},
        Point{cx + 2 * w, cy}, Point{cx + a, cy + b}, Point{cx, cy + 2 * h}, Point{cx - a, cy + b}};
    RotatePoints(points, cx, cy, TurningAngle(p, Source.handle()));
    Reveal(Dest, Source, PolygonOf(points));
}

// Turns about (w, h), which travels from the top-left to the bottom-right corner.
void SpiralRectangle(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int p) {
    std::array<Point, 4> points = CentredRectangle(W, H, w, h);
    RotatePoints(points, w, h, TurningAngle(p, Source.handle()));
    Reveal(Dest, Source, PolygonOf(points));
}

// V shapes, bow ties and crosses.

void RevealVFromLeft(Bitmap& Dest, const Bitmap& Source, int, int H, int w, int h, int) {
    const int cy = H / 2;
    Reveal(Dest, Source, Tri(0, cy - h, 2 * w, cy, 0, cy + h));
}

void RevealVFromRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    const int cy = H / 2;
    Reveal(Dest, Source, Tri(W, cy - h, W - 2 * w, cy, W, cy + h));
}

void RevealVFromTop(Bitmap& Dest, const Bitmap& Source, int W, int, int w, int h, int) {
    const int cx = W / 2;
    Reveal(Dest, Source, Tri(cx - w, 0, cx, 2 * h, cx + w, 0));
}

void RevealVFromBottom(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    const int cx = W / 2;
    Reveal(Dest, Source, Tri(cx - w, H, cx, H - 2 * h, cx + w, H));
}

void BowTieHorizontal(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    const int cy = H / 2;
    Region region = Tri(0, cy - h, w, cy, 0, cy + h);
    region.unite(Tri(W, cy - h, W - w, cy, W, cy + h));
    Reveal(Dest, Source, std::move(region));
}

void BowTieVertical(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    const int cx = W / 2;
    Region region = Tri(cx - w, 0, cx, 2 * h, cx + w, 0);
    region.unite(Tri(cx - w, H, cx, H - 2 * h, cx + w, H));
    Reveal(Dest, Source, std::move(region));
}

void DiagonalCrossIn(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    std::array<Region, 4> triangles = CrossTriangles(W, H, w / 2, h / 2);
    Region region = std::move(triangles[0]);
    for (size_t i = 1; i < triangles.size(); ++i) region.unite(triangles[i]);
    Reveal(Dest, Source, std::move(region));
}

// The frame with four shrinking triangles cut out.
void DiagonalCrossOut(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    Region region = Region::rect(0, 0, W, H);
    for (const Region& triangle : CrossTriangles(W, H, (W - w) / 2, (H - h) / 2))
        region.xorWith(triangle);
    Reveal(Dest, Source, std::move(region));
}

// Zigzag bands widening from the middle line.

void ZigzagHorizontal(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int h, int p) {
    const std::array<Point, 24> points = ZigzagBand(W, H, H / 2, h / 2, p);
    Reveal(Dest, Source, PolygonOf(points));
}

void ZigzagVertical(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int, int p) {
    std::array<Point, 24> points = ZigzagBand(H, W, W / 2, w / 2, p);
    for (Point& point : points) point = {point.y, point.x};
    Reveal(Dest, Source, PolygonOf(points));
}

// Diamonds.

void RevealDiamondOutFromCentre(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h,
                                int) {
    const int cx = W / 2, cy = H / 2;
    Reveal(Dest, Source, Diamond(cx - w, cy, cx, cy - h, cx + w, cy, cx, cy + h));
}

void RevealDiamondInToCentre(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    const int cx = W / 2, cy = H / 2;
    Region region = Region::rect(0, 0, W, H);
    region.xorWith(Diamond(w - cx, cy, cx, h - cy, 3 * cx - w, cy, cx, 3 * cy - h));
    Reveal(Dest, Source, std::move(region));
}

// The ring between a growing outer and a shrinking inner diamond.
void DiagonalBoxOut(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int) {
    const int cx = W / 2, cy = H / 2, a = w / 2, b = h / 2;
    Region region = Diamond(-a, cy, cx, -b, 2 * cx + a, cy, cx, 2 * cy + b);
    region.xorWith(Diamond(a, cy, cx, b, 2 * cx - a, cy, cx, 2 * cy - b));
    Reveal(Dest, Source, std::move(region));
}

}  // namespace effects
