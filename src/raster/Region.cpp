#include "raster/Region.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <utility>

namespace raster {

namespace {

// Floor and ceiling of n / d for d > 0.
int64_t FloorDiv(int64_t n, int64_t d) {
    int64_t q = n / d;
    if ((n % d != 0) && (n < 0)) --q;
    return q;
}
int64_t CeilDiv(int64_t n, int64_t d) {
    return -FloorDiv(-n, d);
}

// Collects horizontal spans row by row. A row whose spans repeat those of the
// row above extends the rectangles above instead of adding new ones, which
// keeps the tall, smooth shapes of the effects cheap to turn into regions.
class SpanCollector {
public:
    void addSpan(int y, int x0, int x1) {
        if (x1 <= x0) return;
        if (y != row_) {
            flush();
            row_ = y;
        }
        pending_.push_back({x0, x1});
    }

    Region build() {
        flush();
        return Region::fromRects(boxes_.data(), boxes_.size());
    }

private:
    struct Span {
        int x0, x1;
    };

    void flush() {
        if (pending_.empty()) return;
        bool repeats = prevRow_ + 1 == row_ && prevCount_ == pending_.size();
        for (size_t i = 0; repeats && i < pending_.size(); ++i) {
            const Rect& above = boxes_[prevStart_ + i];
            repeats = above.left == pending_[i].x0 && above.right == pending_[i].x1;
        }
        if (repeats) {
            for (size_t i = 0; i < prevCount_; ++i) boxes_[prevStart_ + i].bottom = row_ + 1;
        } else {
            prevStart_ = boxes_.size();
            prevCount_ = pending_.size();
            for (const Span& s : pending_) boxes_.push_back(Rect{s.x0, row_, s.x1, row_ + 1});
        }
        prevRow_ = row_;
        pending_.clear();
    }

    std::vector<Rect> boxes_;
    std::vector<Span> pending_;
    int row_ = INT32_MIN;
    int prevRow_ = INT32_MIN;
    size_t prevStart_ = 0;
    size_t prevCount_ = 0;
};

// Rounded rectangle over (l, t, r, b) whose corners are quarter ellipses of
// width ew and height eh (already limited to the rectangle). Works in doubled
// coordinates so that every pixel centre is an odd integer and all tests are
// exact: a centre (X, Y) is inside when its distance to the inner rectangle,
// scaled by the ellipse, is below 1.
Region RoundedShape(int l, int t, int r, int b, int ew, int eh) {
    if (r <= l || b <= t) return Region();
    if (ew <= 0 || eh <= 0) return Region::rect(l, t, r, b);
    const int64_t innerLeft = 2LL * l + ew, innerRight = 2LL * r - ew;
    const int64_t innerTop = 2LL * t + eh, innerBottom = 2LL * b - eh;
    const __int128 a2 = static_cast<__int128>(ew) * ew;  // doubled half-axes are ew and eh
    const __int128 b2 = static_cast<__int128>(eh) * eh;
    SpanCollector spans;
    for (int y = t; y < b; ++y) {
        const int64_t Y = 2LL * y + 1;
        int64_t dy = 0;
        if (Y < innerTop)
            dy = innerTop - Y;
        else if (Y > innerBottom)
            dy = Y - innerBottom;
        const __int128 dy2 = static_cast<__int128>(dy) * dy;
        if (dy2 >= b2) continue;
        // Largest horizontal reach d (doubled units) with d^2 * b2 < a2 * (b2 - dy2).
        const __int128 limit = a2 * (b2 - dy2);
        int64_t d =
            static_cast<int64_t>(std::sqrt(static_cast<double>(limit) / static_cast<double>(b2)));
        while (d > 0 && static_cast<__int128>(d) * d * b2 >= limit) --d;
        while (static_cast<__int128>(d + 1) * (d + 1) * b2 < limit) ++d;
        // Pixel x has centre 2x + 1; keep innerLeft - d <= 2x + 1 <= innerRight + d.
        int64_t x0 = CeilDiv(innerLeft - d - 1, 2);
        int64_t x1 = FloorDiv(innerRight + d - 1, 2) + 1;
        x0 = std::max<int64_t>(x0, l);
        x1 = std::min<int64_t>(x1, r);
        spans.addSpan(y, static_cast<int>(x0), static_cast<int>(x1));
    }
    return spans.build();
}

void Normalize(int& left, int& top, int& right, int& bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
}

}  // namespace

Region::Region() {
    pixman_region32_init(&region_);
}

Region::~Region() {
    pixman_region32_fini(&region_);
}

Region::Region(const Region& other) {
    pixman_region32_init(&region_);
    pixman_region32_copy(&region_, &other.region_);
}

Region::Region(Region&& other) noexcept {
    pixman_region32_init(&region_);
    std::swap(region_, other.region_);
}

Region& Region::operator=(const Region& other) {
    if (this != &other) pixman_region32_copy(&region_, &other.region_);
    return *this;
}

Region& Region::operator=(Region&& other) noexcept {
    std::swap(region_, other.region_);
    return *this;
}

Region Region::rect(int left, int top, int right, int bottom) {
    Normalize(left, top, right, bottom);
    Region region;
    if (right > left && bottom > top)
        pixman_region32_init_rect(&region.region_, left, top, static_cast<unsigned>(right - left),
                                  static_cast<unsigned>(bottom - top));
    return region;
}

Region Region::ellipse(int left, int top, int right, int bottom) {
    Normalize(left, top, right, bottom);
    return RoundedShape(left, top, right, bottom, right - left, bottom - top);
}

Region Region::roundRect(int left, int top, int right, int bottom, int ellipseWidth,
                         int ellipseHeight) {
    Normalize(left, top, right, bottom);
    ellipseWidth = std::min(std::abs(ellipseWidth), right - left);
    ellipseHeight = std::min(std::abs(ellipseHeight), bottom - top);
    return RoundedShape(left, top, right, bottom, ellipseWidth, ellipseHeight);
}

Region Region::polygon(const Point* points, size_t count) {
    if (count < 3) return Region();
    struct Edge {
        int64_t x0, y0, x1, y1;  // oriented so that y0 < y1
        int winding;
    };
    std::vector<Edge> edges;
    edges.reserve(count);
    int minY = points[0].y, maxY = points[0].y;
    for (size_t i = 0; i < count; ++i) {
        const Point& p = points[i];
        const Point& q = points[(i + 1) % count];
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
        if (p.y == q.y) continue;
        if (p.y < q.y)
            edges.push_back({p.x, p.y, q.x, q.y, 1});
        else
            edges.push_back({q.x, q.y, p.x, p.y, -1});
    }
    struct Crossing {
        int64_t x;  // first pixel whose centre is at or right of the crossing
        int winding;
    };
    std::vector<Crossing> crossings;
    SpanCollector spans;
    for (int y = minY; y < maxY; ++y) {
        crossings.clear();
        // The scan line runs through the pixel centres at y + 0.5; an edge
        // covers it when y0 <= y + 0.5 < y1.
        for (const Edge& e : edges) {
            if (e.y0 > y || e.y1 <= y) continue;
            const int64_t dy = e.y1 - e.y0;
            const int64_t dx = e.x1 - e.x0;
            // Crossing at xa = x0 + (y + 0.5 - y0) * dx / dy; first pixel x
            // with x + 0.5 >= xa is ceil(xa - 0.5) = ceil(num / (2 dy)).
            const int64_t num = 2 * e.x0 * dy + (2 * (y - e.y0) + 1) * dx - dy;
            crossings.push_back({CeilDiv(num, 2 * dy), e.winding});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
        int winding = 0;
        for (size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].winding;
            if (winding != 0) {
                spans.addSpan(y, static_cast<int>(crossings[i].x),
                              static_cast<int>(crossings[i + 1].x));
            }
        }
    }
    return spans.build();
}

Region Region::fromRects(const Rect* rects, size_t count) {
    Region region;
    std::vector<pixman_box32_t> boxes;
    boxes.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const Rect& r = rects[i];
        if (r.right > r.left && r.bottom > r.top)
            boxes.push_back({r.left, r.top, r.right, r.bottom});
    }
    if (!boxes.empty()) {
        pixman_region32_fini(&region.region_);
        pixman_region32_init_rects(&region.region_, boxes.data(), static_cast<int>(boxes.size()));
    }
    return region;
}

bool Region::isEmpty() const {
    return !pixman_region32_not_empty(&region_);
}

Rect Region::bounds() const {
    if (isEmpty()) return Rect{};
    const pixman_box32_t* e = pixman_region32_extents(&region_);
    return Rect{e->x1, e->y1, e->x2, e->y2};
}

bool Region::contains(int x, int y) const {
    return pixman_region32_contains_point(&region_, x, y, nullptr);
}

long long Region::area() const {
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&region_, &n);
    long long total = 0;
    for (int i = 0; i < n; ++i)
        total += static_cast<long long>(boxes[i].x2 - boxes[i].x1) * (boxes[i].y2 - boxes[i].y1);
    return total;
}

std::vector<Rect> Region::rects() const {
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&region_, &n);
    std::vector<Rect> out;
    out.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        out.push_back(Rect{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
    return out;
}

Region& Region::unite(const Region& other) {
    pixman_region32_union(&region_, &region_, &other.region_);
    return *this;
}

Region& Region::intersect(const Region& other) {
    pixman_region32_intersect(&region_, &region_, &other.region_);
    return *this;
}

Region& Region::intersect(const Rect& r) {
    if (r.isEmpty()) {
        pixman_region32_clear(&region_);
        return *this;
    }
    pixman_region32_intersect_rect(&region_, &region_, r.left, r.top,
                                   static_cast<unsigned>(r.width()),
                                   static_cast<unsigned>(r.height()));
    return *this;
}

Region& Region::subtract(const Region& other) {
    pixman_region32_subtract(&region_, &region_, &other.region_);
    return *this;
}

Region& Region::xorWith(const Region& other) {
    Region onlyOther(other);
    onlyOther.subtract(*this);
    subtract(other);
    return unite(onlyOther);
}

bool operator==(const Region& a, const Region& b) {
    return pixman_region32_equal(&a.region_, &b.region_);
}

}  // namespace raster
