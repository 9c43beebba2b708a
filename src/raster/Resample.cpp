#include "raster/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace raster {

namespace {

// Positions are 16.16 fixed point and the blend weights their top 7
// fraction bits, so a view moves in steps of 1/128 of a pixel.
constexpr int kWeightBits = 7;
constexpr int kWeightOne = 1 << kWeightBits;
constexpr int64_t kFixedOne = 1 << 16;

int64_t Fixed(double value) {
    return std::llround(value * 65536.0);
}

// Where target pixel i's centre falls, less half a source pixel: the source
// pixel on its left or above (which may be -1 or the last one) and the
// weight of the next one.
struct Tap {
    int first;
    int weight;
};

Tap TapAt(int64_t step, int64_t corner, int i) {
    const int64_t position = corner + step * i + ((step + 1) >> 1) - kFixedOne / 2;
    return {static_cast<int>(position >> 16),
            static_cast<int>((position & 0xFFFF) >> (16 - kWeightBits))};
}

// A target column's two source columns (offsets into a blended row) and
// their weights, the left one's in the low half.
struct ColumnTap {
    int left;
    int right;
    uint32_t weights;
};

// The vertical pass: each byte of a row pair blended, kept at full
// precision (at most 255 x 128) for the horizontal pass.
void BlendRows(const uint8_t* __restrict top, const uint8_t* __restrict bottom, int below,
               uint16_t* __restrict out, int count) {
    const auto b = static_cast<uint16_t>(below);
    const auto a = static_cast<uint16_t>(kWeightOne - below);
    for (int i = 0; i < count; ++i) out[i] = static_cast<uint16_t>(top[i] * a + bottom[i] * b);
}

constexpr int kShift = 2 * kWeightBits;

void BlendColumn(const uint16_t* blended, const ColumnTap& tap, uint8_t* out) {
    const uint16_t* l = blended + tap.left;
    const uint16_t* r = blended + tap.right;
    const uint32_t wl = tap.weights & 0xFFFF, wr = tap.weights >> 16;
    for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>((l[c] * wl + r[c] * wr) >> kShift);
}

// The horizontal pass: each target pixel from its two blended columns,
// rounded down as the bilinear filters of the drawing libraries do. This
// runs for every pixel of every frame; with SSE2 a pixel's three channels
// blend at once (the blended row has one spare value at its end for the
// fourth lane), four pixels at a time (64-bit x86 only, for the moves
// out of the register).
void BlendColumns(const uint16_t* __restrict blended, const ColumnTap* __restrict taps, int width,
                  uint8_t* __restrict out) {
    int x = 0;
#if defined(__SSE2__) && defined(__x86_64__)
    const auto pixel = [&](const ColumnTap& tap) {
        const __m128i l = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(blended + tap.left));
        const __m128i r = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(blended + tap.right));
        const __m128i sum =
            _mm_madd_epi16(_mm_unpacklo_epi16(l, r), _mm_set1_epi32(static_cast<int>(tap.weights)));
        return _mm_srli_epi32(sum, kShift);
    };
    for (; x + 4 <= width; x += 4, out += 12) {
        const __m128i bytes =
            _mm_packus_epi16(_mm_packs_epi32(pixel(taps[x]), pixel(taps[x + 1])),
                             _mm_packs_epi32(pixel(taps[x + 2]), pixel(taps[x + 3])));
        // Four 32-bit pixels to twelve bytes, without a trip through memory.
        const auto low = static_cast<uint64_t>(_mm_cvtsi128_si64(bytes));
        const auto high =
            static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(bytes, bytes)));
        const uint64_t first = (low & 0xFFFFFF) | (low >> 32 & 0xFFFFFF) << 24 | high << 48;
        const auto last = static_cast<uint32_t>((high >> 16 & 0xFF) | (high >> 32 & 0xFFFFFF) << 8);
        std::memcpy(out, &first, sizeof first);
        std::memcpy(out + 8, &last, sizeof last);
    }
#endif
    for (; x < width; ++x, out += 3) BlendColumn(blended, taps[x], out);
}

}  // namespace

ViewSource::ViewSource(const Bitmap& picture) : picture_(picture) {}

ViewSource::ViewSource() = default;
ViewSource::~ViewSource() = default;
ViewSource::ViewSource(ViewSource&&) noexcept = default;
ViewSource& ViewSource::operator=(ViewSource&&) noexcept = default;

void ViewSource::Draw(Bitmap& target, const SourceRect& view) const {
    if (isEmpty() || target.isEmpty() || !(view.width > 0) || !(view.height > 0)) return;
    const int width = target.width(), height = target.height();
    const int lastColumn = picture_.width() - 1, lastRow = picture_.height() - 1;
    const int64_t stepX = Fixed(view.width / width), stepY = Fixed(view.height / height);
    const int64_t cornerX = Fixed(view.x), cornerY = Fixed(view.y);

    // The scale and translation are the same for every row, so the blend
    // splits into a vertical pass over the source columns a row needs and
    // a horizontal one from a table of columns made once. Edge pixels stand
    // in beyond the edges, so no colour from outside is blended in.
    thread_local std::vector<ColumnTap> tapsKept;
    thread_local std::vector<uint16_t> columnKept;
    tapsKept.resize(width);
    ColumnTap* const taps = tapsKept.data();
    for (int x = 0; x < width; ++x) {
        const Tap tap = TapAt(stepX, cornerX, x);
        taps[x] = {3 * std::clamp(tap.first, 0, lastColumn),
                   3 * std::clamp(tap.first + 1, 0, lastColumn),
                   static_cast<uint32_t>(kWeightOne - tap.weight) |
                       static_cast<uint32_t>(tap.weight) << 16};
    }
    // Positions grow with x, so the row's columns run from the first left
    // tap to the last right one.
    const int from = taps[0].left, to = taps[width - 1].right + 3;
    columnKept.resize(static_cast<size_t>(to) + 1);
    uint16_t* const blended = columnKept.data();

    for (int y = 0; y < height; ++y) {
        const Tap tap = TapAt(stepY, cornerY, y);
        BlendRows(picture_.row(std::clamp(tap.first, 0, lastRow)) + from,
                  picture_.row(std::clamp(tap.first + 1, 0, lastRow)) + from, tap.weight,
                  blended + from, to - from);
        BlendColumns(blended, taps, width, target.row(y));
    }
}

}  // namespace raster
