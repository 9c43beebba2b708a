#include "imaging/FitArithmetic.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace imaging {

namespace {

// Trunc of a quotient that may not fit an int (a NaN cannot occur: both
// operands are positive).
int TruncSide(long double value) {
    if (value >= static_cast<long double>(INT32_MAX)) return INT32_MAX;
    return std::max(1, static_cast<int>(value));
}

}  // namespace

Size ScaleToBox(Size picture, Size box) {
    if (picture.width <= 0 || picture.height <= 0 || box.width <= 0 || box.height <= 0)
        throw std::invalid_argument("ScaleToBox needs a picture and a box");
    const long double W = picture.width, H = picture.height;
    const long double rw = (W - box.width) / box.width;
    const long double rh = (H - box.height) / box.height;
    if (rw > rh) {
        const double f = W / box.width;  // stored as a double on purpose
        return Size{box.width, TruncSide(H / f)};
    }
    const double f = H / box.height;
    return Size{TruncSide(W / f), box.height};
}

std::optional<Size> ShrinkIntoBox(Size picture, int maxWidth, int maxHeight) {
    if (maxWidth <= 0 || maxHeight <= 0) return std::nullopt;
    if (picture.width <= 0 || picture.height <= 0) return std::nullopt;
    if (picture.width <= maxWidth && picture.height <= maxHeight) return std::nullopt;
    return ScaleToBox(picture, Size{maxWidth, maxHeight});
}

Size FitInsideFrame(Size picture, Size frame) {
    if (picture.width <= 0 || picture.height <= 0 || frame.width <= 0 || frame.height <= 0)
        throw std::invalid_argument("FitInsideFrame needs a picture and a frame");
    const int64_t W = picture.width, H = picture.height, FW = frame.width, FH = frame.height;
    if (FW * H >= W * FH) return Size{std::max(1, static_cast<int>(W * FH / H)), frame.height};
    return Size{frame.width, std::max(1, static_cast<int>(H * FW / W))};
}

}  // namespace imaging
