#include "raster/Bitmap.h"

#include <atomic>
#include <cstring>
#include <stdexcept>
#include <string>

namespace raster {

namespace {

// Handles come from a counter: a program would have to create four billion
// bitmaps before one came round again.
uint32_t NextHandle() {
    static std::atomic<uint32_t> counter{0x1000};
    uint32_t h;
    do h = counter.fetch_add(1, std::memory_order_relaxed);
    while (h == 0);
    return h;
}

}  // namespace

void FillPixels(uint8_t* pixels, int count, Color color) {
    const uint8_t b = BlueOf(color), g = GreenOf(color), r = RedOf(color);
    if (b == g && g == r) {
        std::memset(pixels, b, static_cast<size_t>(count) * 3);
        return;
    }
    for (int x = 0; x < count; ++x) {
        pixels[3 * x] = b;
        pixels[3 * x + 1] = g;
        pixels[3 * x + 2] = r;
    }
}

Bitmap::Bitmap() : handle_(NextHandle()) {}

Bitmap::Bitmap(int width, int height) : Bitmap(width, height, 0) {}

Bitmap::Bitmap(int width, int height, Color fill) : handle_(NextHandle()) {
    allocate(width, height, fill);
}

Bitmap Bitmap::Unfilled(int width, int height) {
    Bitmap bitmap;
    bitmap.allocate(width, height, std::nullopt);
    return bitmap;
}

Bitmap::Bitmap(const Bitmap& other)
    : width_(other.width_),
      height_(other.height_),
      stride_(other.stride_),
      handle_(NextHandle()),
      pixels_(other.pixels_) {}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : width_(other.width_),
      height_(other.height_),
      stride_(other.stride_),
      handle_(NextHandle()),
      pixels_(std::move(other.pixels_)) {
    other.width_ = other.height_ = 0;
    other.stride_ = 0;
    other.pixels_.clear();
    other.clip_.reset();
}

Bitmap& Bitmap::operator=(const Bitmap& other) {
    if (this == &other) return *this;
    width_ = other.width_;
    height_ = other.height_;
    stride_ = other.stride_;
    pixels_ = other.pixels_;
    clip_.reset();
    return *this;
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this == &other) return *this;
    width_ = other.width_;
    height_ = other.height_;
    stride_ = other.stride_;
    pixels_ = std::move(other.pixels_);
    clip_.reset();
    other.width_ = other.height_ = 0;
    other.stride_ = 0;
    other.pixels_.clear();
    other.clip_.reset();
    return *this;
}

void Bitmap::allocate(int width, int height, std::optional<Color> fill) {
    if (width < 0 || height < 0)
        throw std::invalid_argument("negative bitmap size " + std::to_string(width) + "x" +
                                    std::to_string(height));
    if (static_cast<int64_t>(width) * height > kMaxPixels)
        throw std::invalid_argument("picture too large: " + std::to_string(width) + "x" +
                                    std::to_string(height) + " pixels");
    if (width == 0 || height == 0) width = height = 0;
    width_ = width;
    height_ = height;
    stride_ = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    const size_t bytes = stride_ * static_cast<size_t>(height);
    clip_.reset();
    if (fill) {
        pixels_.assign(bytes, 0);
        if (*fill != 0) clear(*fill);
        return;
    }
    pixels_.clear();
    pixels_.resize(bytes);
    // The row padding is still zero, as in every other bitmap, so that
    // whole rows copy and compare alike.
    const size_t used = static_cast<size_t>(width) * 3;
    if (used < stride_)
        for (int y = 0; y < height; ++y) std::memset(row(y) + used, 0, stride_ - used);
}

Color Bitmap::pixel(int x, int y) const {
    const uint8_t* p = row(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

void Bitmap::setPixel(int x, int y, Color color) {
    uint8_t* p = row(y) + 3 * x;
    p[0] = BlueOf(color);
    p[1] = GreenOf(color);
    p[2] = RedOf(color);
}

void Bitmap::reset(int width, int height, Color fill) {
    allocate(width, height, fill);
}

void Bitmap::resize(int width, int height, Color fill) {
    Bitmap resized(width, height, fill);
    const int w = std::min(width_, resized.width_);
    const int h = std::min(height_, resized.height_);
    for (int y = 0; y < h; ++y) std::memcpy(resized.row(y), row(y), static_cast<size_t>(w) * 3);
    width_ = resized.width_;
    height_ = resized.height_;
    stride_ = resized.stride_;
    pixels_ = std::move(resized.pixels_);
    clip_.reset();
}

void Bitmap::clear(Color color) {
    for (int y = 0; y < height_; ++y) FillPixels(row(y), width_, color);
}

void Bitmap::selectClip(const Region* region) {
    if (region)
        clip_ = *region;
    else
        clip_.reset();
}

void Bitmap::intersectClip(const Region& region) {
    if (!clip_) clip_ = Region::rect(bounds());
    clip_->intersect(region);
}

void Bitmap::excludeClipRect(const Rect& rect) {
    if (!clip_) clip_ = Region::rect(bounds());
    clip_->subtract(Region::rect(rect));
}

Region Bitmap::drawableRegion(const Rect& area) const {
    Region region = Region::rect(area.intersected(bounds()));
    if (clip_) region.intersect(*clip_);
    return region;
}

bool Bitmap::samePixels(const Bitmap& other) const {
    if (width_ != other.width_ || height_ != other.height_) return false;
    for (int y = 0; y < height_; ++y)
        if (std::memcmp(row(y), other.row(y), static_cast<size_t>(width_) * 3) != 0) return false;
    return true;
}

}  // namespace raster
