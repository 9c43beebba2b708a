#include "imaging/BlurredFill.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace imaging {

namespace {

constexpr int kSmallWidth = 150;
// Three passes of a box this wide each side reach 6 small pixels: 4% of
// the small copy's width, and so of the frame's.
constexpr int kBoxRadius = 2;
constexpr int kBoxPasses = 3;
// Sample points per small pixel along each axis: enough to average away
// detail, bounded however large the picture.
constexpr int kSamples = 4;

// A small 3-channel image of ints (blue, green, red).
struct Small {
    int width, height;
    std::vector<int> values;
    int* at(int x, int y) { return values.data() + 3 * (static_cast<size_t>(y) * width + x); }
};

// The part of the picture that covers the display shape, centred.
struct Crop {
    double x, y, width, height;
};
Crop CoverCrop(int pictureWidth, int pictureHeight, const FillFrame& frame) {
    const double pictureAspect = static_cast<double>(pictureWidth) / pictureHeight;
    const double displayAspect = static_cast<double>(frame.displayWidth) / frame.displayHeight;
    if (pictureAspect > displayAspect) {
        const double w = pictureHeight * displayAspect;
        return {(pictureWidth - w) / 2, 0, w, static_cast<double>(pictureHeight)};
    }
    const double h = pictureWidth / displayAspect;
    return {0, (pictureHeight - h) / 2, static_cast<double>(pictureWidth), h};
}

Small Sample(const raster::Bitmap& picture, const raster::Bitmap& opacity, raster::Color under,
             const FillFrame& frame) {
    Small small{
        kSmallWidth,
        std::max(1, static_cast<int>(std::lround(static_cast<double>(kSmallWidth) *
                                                 frame.displayHeight / frame.displayWidth))),
        {}};
    small.values.resize(static_cast<size_t>(small.width) * small.height * 3);
    const Crop crop = CoverCrop(picture.width(), picture.height(), frame);
    const bool laid = opacity.width() == picture.width() && opacity.height() == picture.height();
    const int underBgr[3] = {raster::BlueOf(under), raster::GreenOf(under), raster::RedOf(under)};
    // Source columns and rows of every sample point, computed once.
    auto points = [](double start, double length, int cells, int limit) {
        std::vector<int> at(static_cast<size_t>(cells) * kSamples);
        for (size_t i = 0; i < at.size(); ++i)
            at[i] =
                std::clamp(static_cast<int>(start + (i + 0.5) * length / at.size()), 0, limit - 1);
        return at;
    };
    const std::vector<int> xs = points(crop.x, crop.width, small.width, picture.width());
    const std::vector<int> ys = points(crop.y, crop.height, small.height, picture.height());
    constexpr int kCount = kSamples * kSamples;
    for (int sy = 0; sy < small.height; ++sy)
        for (int sx = 0; sx < small.width; ++sx) {
            int sum[3] = {0, 0, 0};
            int cover = 0;
            for (int j = 0; j < kSamples; ++j) {
                const int y = ys[static_cast<size_t>(sy * kSamples + j)];
                const uint8_t* row = picture.row(y);
                for (int i = 0; i < kSamples; ++i) {
                    const int x = xs[static_cast<size_t>(sx * kSamples + i)];
                    for (int c = 0; c < 3; ++c) sum[c] += row[3 * x + c];
                    if (laid) cover += opacity.row(y)[3 * x];
                }
            }
            int* out = small.at(sx, sy);
            for (int c = 0; c < 3; ++c) {
                // Premultiplied colour plus what shows through.
                const int clear = laid ? kCount * 255 - cover : 0;
                const int value = (sum[c] * 255 + underBgr[c] * clear) / (kCount * 255);
                out[c] = value * kBlurredFillBrightness / 256;
            }
        }
    return small;
}

// One box pass along rows (step 3) or columns (step 3 * width), edges held.
void BoxPass(Small& small, bool alongRows) {
    const int lines = alongRows ? small.height : small.width;
    const int length = alongRows ? small.width : small.height;
    std::vector<int> line(static_cast<size_t>(length) * 3);
    constexpr int kWidth = 2 * kBoxRadius + 1;
    for (int l = 0; l < lines; ++l) {
        auto cell = [&](int i) { return alongRows ? small.at(i, l) : small.at(l, i); };
        for (int i = 0; i < length; ++i) std::copy_n(cell(i), 3, line.begin() + 3 * i);
        for (int c = 0; c < 3; ++c) {
            auto value = [&](int i) {
                return line[static_cast<size_t>(3 * std::clamp(i, 0, length - 1) + c)];
            };
            int sum = 0;
            for (int i = -kBoxRadius; i <= kBoxRadius; ++i) sum += value(i);
            for (int i = 0; i < length; ++i) {
                cell(i)[c] = (sum + kWidth / 2) / kWidth;
                sum += value(i + kBoxRadius + 1) - value(i - kBoxRadius);
            }
        }
    }
}

// Bilinear enlargement; weights in 256ths.
struct Tap {
    int index, weight;  // the sample at index weighs 256 - weight, index + 1 weight
};
std::vector<Tap> Taps(int from, int to) {
    std::vector<Tap> taps(static_cast<size_t>(to));
    for (int i = 0; i < to; ++i) {
        const double at = std::clamp((i + 0.5) * from / to - 0.5, 0.0, from - 1.0);
        const int index = std::min(static_cast<int>(at), std::max(0, from - 2));
        taps[static_cast<size_t>(i)] = {
            index, from == 1 ? 0 : static_cast<int>(std::lround((at - index) * 256))};
    }
    return taps;
}

}  // namespace

raster::Bitmap BlurredFill(const raster::Bitmap& picture, const raster::Bitmap& opacity,
                           raster::Color under, const FillFrame& frame) {
    raster::Bitmap out(frame.width, frame.height, under);
    if (picture.isEmpty() || out.isEmpty() || frame.displayWidth <= 0 || frame.displayHeight <= 0)
        return out;
    Small small = Sample(picture, opacity, under, frame);
    for (int pass = 0; pass < kBoxPasses; ++pass) {
        BoxPass(small, true);
        BoxPass(small, false);
    }
    // Across first, on the few small rows, into 8.8 fixed point; then each
    // frame row is a straight blend of two of them.
    const std::vector<Tap> across = Taps(small.width, frame.width);
    const size_t wideRow = static_cast<size_t>(frame.width) * 3;
    std::vector<uint16_t> wide(wideRow * static_cast<size_t>(small.height));
    const int nextColumn = small.width > 1 ? 3 : 0;
    for (int sy = 0; sy < small.height; ++sy) {
        uint16_t* dst = wide.data() + wideRow * static_cast<size_t>(sy);
        for (int x = 0; x < frame.width; ++x, dst += 3) {
            const Tap& h = across[static_cast<size_t>(x)];
            const int* left = small.at(h.index, sy);
            for (int c = 0; c < 3; ++c)
                dst[c] = static_cast<uint16_t>(left[c] * (256 - h.weight) +
                                               left[c + nextColumn] * h.weight);
        }
    }
    const std::vector<Tap> down = Taps(small.height, frame.height);
    const size_t nextRow = small.height > 1 ? wideRow : 0;
    for (int y = 0; y < frame.height; ++y) {
        const Tap& v = down[static_cast<size_t>(y)];
        const uint16_t* __restrict top = wide.data() + wideRow * static_cast<size_t>(v.index);
        const uint16_t* __restrict bottom = top + nextRow;
        const uint32_t wt = static_cast<uint32_t>(256 - v.weight),
                       wb = static_cast<uint32_t>(v.weight);
        uint8_t* __restrict dst = out.row(y);
        for (size_t i = 0; i < wideRow; ++i)
            dst[i] = static_cast<uint8_t>((top[i] * wt + bottom[i] * wb + (1u << 15)) >> 16);
    }
    return out;
}

}  // namespace imaging
