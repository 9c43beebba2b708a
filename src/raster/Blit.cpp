#include "raster/Blit.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace raster {

namespace {

// Calls fn(rect) for each rectangle of the target where drawing is allowed
// inside 'area' (already limited to the bitmap).
template <typename Fn>
void ForEachDrawableRect(const Bitmap& dst, const Rect& area, Fn&& fn) {
    const Rect limited = area.intersected(dst.bounds());
    if (limited.isEmpty()) return;
    const Region* clip = dst.clip();
    if (!clip) {
        fn(limited);
        return;
    }
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(clip->native(), &n);
    for (int i = 0; i < n; ++i) {
        const Rect r =
            limited.intersected(Rect{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
        if (!r.isEmpty()) fn(r);
    }
}

// A copy of the block of src that a self-copy reads, so that writing cannot
// disturb what is still to be read. 'origin' receives the block's position.
Bitmap SnapshotBlock(const Bitmap& src, const Rect& block, Point& origin) {
    const Rect r = block.intersected(src.bounds());
    origin = Point{r.left, r.top};
    if (r.isEmpty()) return Bitmap();
    Bitmap copy(r.width(), r.height());
    for (int y = 0; y < r.height(); ++y)
        std::memcpy(copy.row(y), src.row(r.top + y) + 3 * r.left,
                    static_cast<size_t>(r.width()) * 3);
    return copy;
}

void BlitUnchecked(Bitmap& dst, int x, int y, int cx, int cy, const Bitmap& src, int sx, int sy) {
    // Target area that has a source pixel behind it.
    Rect area{x, y, x + cx, y + cy};
    area = area.intersected(Rect{x - sx, y - sy, x - sx + src.width(), y - sy + src.height()});
    ForEachDrawableRect(dst, area, [&](const Rect& r) {
        const size_t bytes = static_cast<size_t>(r.width()) * 3;
        for (int row = r.top; row < r.bottom; ++row)
            std::memcpy(dst.row(row) + 3 * r.left, src.row(row - y + sy) + 3 * (r.left - x + sx),
                        bytes);
    });
}

// Source index for each target position along one axis, or -1 where the
// source position falls outside the source bitmap. 'first' receives the
// lowest target coordinate covered.
void BuildAxisMap(int pos, int extent, int srcPos, int srcExtent, int srcLimit,
                  std::vector<int>& map, int& first) {
    const int count = std::abs(extent);
    const int srcCount = std::abs(srcExtent);
    map.assign(static_cast<size_t>(count), -1);
    first = extent > 0 ? pos : pos + extent + 1;
    for (int k = 0; k < count; ++k) {
        const int target = extent > 0 ? pos + k : pos - k;
        const int offset = static_cast<int>(static_cast<int64_t>(k) * srcCount / count);
        const int source = srcExtent > 0 ? srcPos + offset : srcPos - offset;
        map[static_cast<size_t>(target - first)] = (source >= 0 && source < srcLimit) ? source : -1;
    }
}

void StretchNearest(Bitmap& dst, int x, int y, int cx, int cy, const Bitmap& src, int sx, int sy,
                    int scx, int scy) {
    thread_local std::vector<int> columns, rows;
    int left = 0, top = 0;
    BuildAxisMap(x, cx, sx, scx, src.width(), columns, left);
    BuildAxisMap(y, cy, sy, scy, src.height(), rows, top);
    const Rect area{left, top, left + std::abs(cx), top + std::abs(cy)};
    // Columns taken one for one (a resampled block placed unmirrored) copy
    // whole rows.
    bool straight = !columns.empty() && columns.front() >= 0;
    for (size_t i = 1; straight && i < columns.size(); ++i)
        straight = columns[i] == columns.front() + static_cast<int>(i);
    ForEachDrawableRect(dst, area, [&](const Rect& r) {
        int previousSource = -1;
        const uint8_t* previousRow = nullptr;
        const size_t bytes = static_cast<size_t>(r.width()) * 3;
        for (int row = r.top; row < r.bottom; ++row) {
            const int sourceRow = rows[static_cast<size_t>(row - top)];
            if (sourceRow < 0) continue;
            uint8_t* out = dst.row(row) + 3 * r.left;
            // Enlarging repeats rows: copy the row just drawn.
            if (sourceRow == previousSource && previousRow) {
                std::memcpy(out, previousRow, bytes);
                previousRow = out;
                continue;
            }
            const uint8_t* in = src.row(sourceRow);
            const int* map = columns.data() + (r.left - left);
            if (straight) {
                std::memcpy(out, in + 3 * static_cast<size_t>(map[0]), bytes);
                previousSource = sourceRow;
                previousRow = out;
                continue;
            }
            for (int i = 0; i < r.width(); ++i) {
                const int s = map[i];
                if (s < 0) continue;
                out[3 * i] = in[3 * s];
                out[3 * i + 1] = in[3 * s + 1];
                out[3 * i + 2] = in[3 * s + 2];
            }
            // Rows with skipped columns are not reused, their gaps differ.
            previousSource = sourceRow;
            previousRow = out;
        }
    });
}

// Box-filter weights of one axis: target pixel k covers source interval
// [k * S / D, (k + 1) * S / D). Weights of each target pixel sum to 65536.
struct AxisWeights {
    std::vector<int> first;         // first source index per target pixel
    std::vector<int> count;         // number of source pixels per target pixel
    std::vector<uint32_t> weights;  // flattened, 'count' per target pixel
    std::vector<size_t> offset;     // start of each target pixel's weights
};

AxisWeights BuildAreaWeights(int sourceSize, int targetSize) {
    AxisWeights w;
    w.first.resize(static_cast<size_t>(targetSize));
    w.count.resize(static_cast<size_t>(targetSize));
    w.offset.resize(static_cast<size_t>(targetSize));
    const int64_t S = sourceSize, D = targetSize;
    for (int64_t k = 0; k < D; ++k) {
        // In units of 1/D source pixel the target pixel covers [k*S, (k+1)*S).
        const int64_t begin = k * S, end = (k + 1) * S;
        const int64_t j0 = begin / D;
        const int64_t j1 = (end + D - 1) / D;  // exclusive
        w.first[static_cast<size_t>(k)] = static_cast<int>(j0);
        w.count[static_cast<size_t>(k)] = static_cast<int>(j1 - j0);
        w.offset[static_cast<size_t>(k)] = w.weights.size();
        uint32_t total = 0;
        for (int64_t j = j0; j < j1; ++j) {
            const int64_t overlap = std::min(end, (j + 1) * D) - std::max(begin, j * D);
            const uint32_t weight = static_cast<uint32_t>((overlap * 65536 + S / 2) / S);
            w.weights.push_back(weight);
            total += weight;
        }
        // Rounding leftovers go to the largest share, so flat areas stay exact.
        size_t largest = w.offset[static_cast<size_t>(k)];
        for (size_t i = largest; i < w.weights.size(); ++i)
            if (w.weights[i] > w.weights[largest]) largest = i;
        w.weights[largest] += 65536 - total;
    }
    return w;
}

}  // namespace

void BitBlt(Bitmap& dst, int x, int y, int cx, int cy, const Bitmap& src, int sx, int sy) {
    if (cx <= 0 || cy <= 0 || src.isEmpty() || dst.isEmpty()) return;
    if (&dst == &src) {
        Point origin;
        const Bitmap block = SnapshotBlock(src, Rect{sx, sy, sx + cx, sy + cy}, origin);
        if (block.isEmpty()) return;
        BlitUnchecked(dst, x, y, cx, cy, block, sx - origin.x, sy - origin.y);
        return;
    }
    BlitUnchecked(dst, x, y, cx, cy, src, sx, sy);
}

void StretchBlt(Bitmap& dst, int x, int y, int cx, int cy, const Bitmap& src, int sx, int sy,
                int scx, int scy, StretchMode mode) {
    if (cx == 0 || cy == 0 || scx == 0 || scy == 0 || src.isEmpty() || dst.isEmpty()) return;
    // A plain copy when nothing is scaled or mirrored.
    if (cx == scx && cy == scy && cx > 0 && cy > 0) {
        BitBlt(dst, x, y, cx, cy, src, sx, sy);
        return;
    }
    if (mode == StretchMode::Halftone) {
        // Resample the source block (limited to the source bitmap) to the
        // target size, then place it, mirrored where the extents say so.
        const int left = scx > 0 ? sx : sx + scx + 1, top = scy > 0 ? sy : sy + scy + 1;
        Rect block{left, top, left + std::abs(scx), top + std::abs(scy)};
        block = block.intersected(src.bounds());
        if (block.isEmpty()) return;
        // The whole source needs no copy: ResampleArea reads it all before
        // anything is drawn, even onto itself. Fitting a large photo used to
        // copy every pixel first.
        Point origin;
        const bool whole = block == src.bounds();
        const Bitmap part = whole ? Bitmap() : SnapshotBlock(src, block, origin);
        const Bitmap scaled = ResampleArea(whole ? src : part, std::abs(cx), std::abs(cy));
        const bool mirrorX = (cx < 0) != (scx < 0), mirrorY = (cy < 0) != (scy < 0);
        const int targetLeft = cx > 0 ? x : x + cx + 1, targetTop = cy > 0 ? y : y + cy + 1;
        StretchNearest(dst, mirrorX ? targetLeft + std::abs(cx) - 1 : targetLeft,
                       mirrorY ? targetTop + std::abs(cy) - 1 : targetTop,
                       mirrorX ? -std::abs(cx) : std::abs(cx),
                       mirrorY ? -std::abs(cy) : std::abs(cy), scaled, 0, 0, scaled.width(),
                       scaled.height());
        return;
    }
    if (&dst == &src) {
        const int left = std::min(sx, sx + scx + 1), top = std::min(sy, sy + scy + 1);
        Point origin;
        const Bitmap block =
            SnapshotBlock(src, Rect{left, top, left + std::abs(scx), top + std::abs(scy)}, origin);
        if (block.isEmpty()) return;
        StretchNearest(dst, x, y, cx, cy, block, sx - origin.x, sy - origin.y, scx, scy);
        return;
    }
    StretchNearest(dst, x, y, cx, cy, src, sx, sy, scx, scy);
}

void StretchDraw(Bitmap& dst, const Rect& target, const Bitmap& src, StretchMode mode) {
    StretchBlt(dst, target.left, target.top, target.width(), target.height(), src, 0, 0,
               src.width(), src.height(), mode);
}

Bitmap ResampleArea(const Bitmap& src, int width, int height) {
    if (src.isEmpty() || width <= 0 || height <= 0) return Bitmap(width, height);
    // Both passes set every pixel of what they write.
    Bitmap out = Bitmap::Unfilled(width, height);
    const AxisWeights horizontal = BuildAreaWeights(src.width(), width);
    const AxisWeights vertical = BuildAreaWeights(src.height(), height);

    // Horizontal pass into an intermediate of width x source height.
    Bitmap narrow = Bitmap::Unfilled(width, src.height());
    for (int y = 0; y < src.height(); ++y) {
        const uint8_t* in = src.row(y);
        uint8_t* out_row = narrow.row(y);
        for (int k = 0; k < width; ++k) {
            const uint32_t* w =
                horizontal.weights.data() + horizontal.offset[static_cast<size_t>(k)];
            const uint8_t* p = in + 3 * horizontal.first[static_cast<size_t>(k)];
            uint32_t b = 0, g = 0, r = 0;
            for (int i = 0; i < horizontal.count[static_cast<size_t>(k)]; ++i, p += 3) {
                b += p[0] * w[i];
                g += p[1] * w[i];
                r += p[2] * w[i];
            }
            out_row[3 * k] = static_cast<uint8_t>((b + 32768) >> 16);
            out_row[3 * k + 1] = static_cast<uint8_t>((g + 32768) >> 16);
            out_row[3 * k + 2] = static_cast<uint8_t>((r + 32768) >> 16);
        }
    }

    // Vertical pass, one target row at a time.
    std::vector<uint32_t> sums(static_cast<size_t>(width) * 3);
    for (int k = 0; k < height; ++k) {
        std::fill(sums.begin(), sums.end(), 0u);
        const uint32_t* w = vertical.weights.data() + vertical.offset[static_cast<size_t>(k)];
        for (int i = 0; i < vertical.count[static_cast<size_t>(k)]; ++i) {
            const uint8_t* in = narrow.row(vertical.first[static_cast<size_t>(k)] + i);
            const uint32_t weight = w[i];
            for (size_t j = 0; j < sums.size(); ++j) sums[j] += in[j] * weight;
        }
        uint8_t* out_row = out.row(k);
        for (size_t j = 0; j < sums.size(); ++j)
            out_row[j] = static_cast<uint8_t>((sums[j] + 32768) >> 16);
    }
    return out;
}

}  // namespace raster
