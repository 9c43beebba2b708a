#include "raster/Resample.h"

#include <pixman.h>

#include <cmath>
#include <cstring>
#include <utility>

namespace raster {

namespace {

struct ImageDeleter {
    void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
};
using ImagePtr = std::unique_ptr<pixman_image_t, ImageDeleter>;

// 32-bit pixels back to three bytes each, four pixels to three words at a
// time: this runs for every pixel of every frame.
void PackRow(const uint32_t* in, int width, uint8_t* out) {
    int x = 0;
    for (; x + 4 <= width; x += 4, in += 4, out += 12) {
        const uint32_t p0 = in[0] & 0xFFFFFF, p1 = in[1] & 0xFFFFFF;
        const uint32_t p2 = in[2] & 0xFFFFFF, p3 = in[3] & 0xFFFFFF;
        const uint32_t words[3] = {p0 | p1 << 24, p1 >> 8 | p2 << 16, p2 >> 16 | p3 << 8};
        std::memcpy(out, words, sizeof words);
    }
    for (; x < width; ++x, ++in, out += 3) {
        out[0] = static_cast<uint8_t>(*in);
        out[1] = static_cast<uint8_t>(*in >> 8);
        out[2] = static_cast<uint8_t>(*in >> 16);
    }
}

pixman_fixed_t Fixed(double value) {
    return static_cast<pixman_fixed_t>(std::lround(value * 65536.0));
}

}  // namespace

struct ViewSource::Image {
    ImagePtr image;
};

ViewSource::ViewSource(const Bitmap& picture) : width_(picture.width()), height_(picture.height()) {
    if (isEmpty()) return;
    pixels_.resize(static_cast<size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y) {
        const uint8_t* in = picture.row(y);
        uint32_t* out = &pixels_[static_cast<size_t>(y) * width_];
        for (int x = 0; x < width_; ++x, in += 3)
            out[x] = uint32_t{in[0]} | uint32_t{in[1]} << 8 | uint32_t{in[2]} << 16;
    }
    image_ = std::make_unique<Image>();
    image_->image.reset(
        pixman_image_create_bits(PIXMAN_x8r8g8b8, width_, height_, pixels_.data(), width_ * 4));
    if (!image_->image) throw std::bad_alloc();
    // Edge pixels stand in beyond the edges, so no colour from outside is blended in.
    pixman_image_set_repeat(image_->image.get(), PIXMAN_REPEAT_PAD);
    pixman_image_set_filter(image_->image.get(), PIXMAN_FILTER_BILINEAR, nullptr, 0);
}

ViewSource::ViewSource() = default;
ViewSource::~ViewSource() = default;
ViewSource::ViewSource(ViewSource&&) noexcept = default;
ViewSource& ViewSource::operator=(ViewSource&&) noexcept = default;

void ViewSource::Draw(Bitmap& target, const SourceRect& view) const {
    if (isEmpty() || target.isEmpty() || !(view.width > 0) || !(view.height > 0)) return;
    const int width = target.width(), height = target.height();
    // Kept between frames: a build draws every frame at the same size.
    thread_local std::vector<uint32_t> frame;
    frame.resize(static_cast<size_t>(width) * height);
    const ImagePtr out(
        pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height, frame.data(), width * 4));
    if (!out) throw std::bad_alloc();
    // Target pixel centres map to source points: source = view corner +
    // (target + 1/2) x step, sampled between source pixel centres.
    pixman_transform_t transform;
    pixman_transform_init_identity(&transform);
    transform.matrix[0][0] = Fixed(view.width / width);
    transform.matrix[0][2] = Fixed(view.x);
    transform.matrix[1][1] = Fixed(view.height / height);
    transform.matrix[1][2] = Fixed(view.y);
    pixman_image_set_transform(image_->image.get(), &transform);
    pixman_image_composite32(PIXMAN_OP_SRC, image_->image.get(), nullptr, out.get(), 0, 0, 0, 0, 0,
                             0, width, height);
    pixman_image_set_transform(image_->image.get(), nullptr);
    for (int y = 0; y < height; ++y)
        PackRow(&frame[static_cast<size_t>(y) * width], width, target.row(y));
}

}  // namespace raster
