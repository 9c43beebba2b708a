#include "effects/ComplexRegion.h"

#include <algorithm>

namespace effects {

void TComplexRegion::Clear() {
    rects_.clear();
    rects_.shrink_to_fit();
    capacity_ = 0;
    bounds_ = kResetBounds;
}

void TComplexRegion::AddRect(int left, int top, int right, int bottom) {
    if (Count() == capacity_) {
        capacity_ += kGrowth;
        rects_.reserve(static_cast<size_t>(capacity_));
    }
    rects_.push_back(raster::Rect{left, top, right, bottom});
    bounds_.left = std::min(bounds_.left, left);
    bounds_.top = std::min(bounds_.top, top);
    bounds_.right = std::max(bounds_.right, right);
    bounds_.bottom = std::max(bounds_.bottom, bottom);
}

OptRegion TComplexRegion::CreateRegion() const {
    if (capacity_ == 0) return std::nullopt;
    return Region::fromRects(rects_.data(), rects_.size());
}

}  // namespace effects
