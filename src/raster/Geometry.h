// Points, rectangles and colours of the drawing layer.
//
// Coordinates: x grows to the right, y downward, (0, 0) is the top-left
// pixel. A rectangle (left, top, right, bottom) covers columns left..right-1
// and rows top..bottom-1; one with right <= left or bottom <= top is empty.
// Colours are 32-bit 0x00BBGGRR values (red in the low byte), the form the
// options file stores.
#pragma once

#include <algorithm>
#include <cstdint>

namespace raster {

using Color = uint32_t;

constexpr Color RGB(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<Color>(red) | (static_cast<Color>(green) << 8) |
           (static_cast<Color>(blue) << 16);
}
constexpr uint8_t RedOf(Color c) {
    return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t GreenOf(Color c) {
    return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t BlueOf(Color c) {
    return static_cast<uint8_t>((c >> 16) & 0xFF);
}

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr bool contains(int x, int y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    constexpr Rect intersected(const Rect& o) const {
        return Rect{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                    std::min(bottom, o.bottom)};
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace raster
