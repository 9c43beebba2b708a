#include "raster/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace raster {

namespace {

constexpr int kWeightBits = 14;
constexpr int32_t kWeightOne = 1 << kWeightBits;
// The first pass keeps 6 bits below the 8 of a colour value, so the second
// pass rounds only once.
constexpr int kFirstPassShift = 8;
constexpr int kSecondPassShift = 2 * kWeightBits - kFirstPassShift;

// The taps of one direction: for output i, 'taps' consecutive source
// indices from first[i], with weights summing to kWeightOne.
struct Taps {
    int taps = 0;
    std::vector<int> first;
    std::vector<int32_t> weights;  // taps per output
};

Taps MakeTaps(int outputs, int sourceSize, double start, double length) {
    Taps result;
    const double step = length / outputs;  // source pixels per output pixel
    const double radius = std::max(1.0, step);
    result.taps = std::min(sourceSize, static_cast<int>(std::ceil(2 * radius)) + 1);
    result.first.resize(static_cast<size_t>(outputs));
    result.weights.assign(static_cast<size_t>(outputs) * result.taps, 0);
    std::vector<double> raw(static_cast<size_t>(result.taps));
    for (int i = 0; i < outputs; ++i) {
        // The output pixel's centre, in source pixel coordinates whose
        // integers are pixel centres.
        const double centre = start + (i + 0.5) * step - 0.5;
        const int lowest = static_cast<int>(std::floor(centre - radius)) + 1;
        const int first = std::clamp(lowest, 0, sourceSize - result.taps);
        std::fill(raw.begin(), raw.end(), 0.0);
        // The radius is at least one pixel, so some tap always has weight.
        double total = 0;
        for (int j = lowest; j <= static_cast<int>(std::floor(centre + radius)); ++j) {
            const double weight = 1 - std::abs(j - centre) / radius;
            if (weight <= 0) continue;
            // Beyond the edge the edge pixel stands in.
            const int slot = std::clamp(j, first, first + result.taps - 1) - first;
            raw[static_cast<size_t>(slot)] += weight;
            total += weight;
        }
        int32_t* weights = &result.weights[static_cast<size_t>(i) * result.taps];
        int32_t sum = 0;
        int largest = 0;
        for (int k = 0; k < result.taps; ++k) {
            weights[k] =
                static_cast<int32_t>(std::lround(raw[static_cast<size_t>(k)] / total * kWeightOne));
            sum += weights[k];
            if (weights[k] > weights[largest]) largest = k;
        }
        // Rounding leftovers go to the heaviest tap, so flat areas stay exact.
        weights[largest] += kWeightOne - sum;
        result.first[static_cast<size_t>(i)] = first;
    }
    return result;
}

}  // namespace

void ResampleView(Bitmap& target, const Bitmap& source, const SourceRect& view) {
    if (target.isEmpty() || source.isEmpty() || !(view.width > 0) || !(view.height > 0)) return;
    const int outWidth = target.width(), outHeight = target.height();
    const Taps columns = MakeTaps(outWidth, source.width(), view.x, view.width);
    const Taps rows = MakeTaps(outHeight, source.height(), view.y, view.height);

    // Only the source rows some output row reads go through the first pass.
    const int rowFirst = rows.first.front();
    const int rowLast = rows.first.back() + rows.taps - 1;
    const size_t lineValues = static_cast<size_t>(outWidth) * 3;
    // Kept between frames: a build samples every frame at the same size.
    thread_local std::vector<uint16_t> across;
    thread_local std::vector<int32_t> sums;
    across.resize(static_cast<size_t>(rowLast - rowFirst + 1) * lineValues);
    sums.resize(lineValues);

    for (int y = rowFirst; y <= rowLast; ++y) {
        const uint8_t* in = source.row(y);
        uint16_t* out = &across[static_cast<size_t>(y - rowFirst) * lineValues];
        for (int x = 0; x < outWidth; ++x) {
            const uint8_t* pixel =
                in + static_cast<size_t>(columns.first[static_cast<size_t>(x)]) * 3;
            const int32_t* weights = &columns.weights[static_cast<size_t>(x) * columns.taps];
            int32_t b = 0, g = 0, r = 0;
            for (int k = 0; k < columns.taps; ++k, pixel += 3) {
                b += weights[k] * pixel[0];
                g += weights[k] * pixel[1];
                r += weights[k] * pixel[2];
            }
            constexpr int32_t half = 1 << (kFirstPassShift - 1);
            out[3 * x] = static_cast<uint16_t>((b + half) >> kFirstPassShift);
            out[3 * x + 1] = static_cast<uint16_t>((g + half) >> kFirstPassShift);
            out[3 * x + 2] = static_cast<uint16_t>((r + half) >> kFirstPassShift);
        }
    }

    for (int y = 0; y < outHeight; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        const int32_t* weights = &rows.weights[static_cast<size_t>(y) * rows.taps];
        const int first = rows.first[static_cast<size_t>(y)] - rowFirst;
        for (int k = 0; k < rows.taps; ++k) {
            const int32_t weight = weights[k];
            if (weight == 0) continue;
            const uint16_t* line = &across[static_cast<size_t>(first + k) * lineValues];
            for (size_t i = 0; i < lineValues; ++i) sums[i] += weight * line[i];
        }
        uint8_t* out = target.row(y);
        constexpr int32_t half = 1 << (kSecondPassShift - 1);
        for (size_t i = 0; i < lineValues; ++i)
            out[i] = static_cast<uint8_t>(std::min((sums[i] + half) >> kSecondPassShift, 255));
    }
}

}  // namespace raster
