// Byte storage for pixels that are written whole right after they are
// allocated (a decoded picture, a stretched copy, a frame handed to the
// encoder): growing the buffer leaves the new bytes as they come instead of
// zeroing megabytes that are overwritten at once. Code that needs a known
// content fills it itself.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace raster {

template <typename T>
struct UnfilledAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UnfilledAllocator<U>;
    };
    UnfilledAllocator() = default;
    template <typename U>
    UnfilledAllocator(const UnfilledAllocator<U>&) noexcept {}

    // Value-initialisation (zeroing) becomes default-initialisation.
    template <typename U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

using PixelBuffer = std::vector<uint8_t, UnfilledAllocator<uint8_t>>;

}  // namespace raster
