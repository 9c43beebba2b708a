// 24-bit bitmaps with a drawing surface: the pictures and frames that the
// effects, the screen and the video build draw on.
//
// Pixels are three bytes in the order blue, green, red. Rows are stored top
// to bottom, each padded to a multiple of 4 bytes; row(y) gives row y counted
// from the top. Code that counts rows from the bottom converts itself.
//
// Every bitmap carries the clip region of its drawing surface. All drawing
// operations (Blit.h, Fill.h) are restricted to it; a bitmap without a clip
// region draws everywhere. A fresh bitmap, and a copy, has no clip region.
//
// handle() is a 32-bit number that identifies the bitmap object: no two live
// bitmaps share it unless setHandle() gives one a number of its own choosing.
// Copies get their own handle; assignment keeps the target's handle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "raster/Geometry.h"
#include "raster/PixelBuffer.h"
#include "raster/Region.h"

namespace raster {

class Bitmap {
public:
    // Pictures above this many pixels are refused: nothing in the program
    // needs more, and it keeps a hostile file from exhausting memory.
    static constexpr int64_t kMaxPixels = 100'000'000;

    Bitmap();
    // A width x height bitmap filled with black. Throws std::invalid_argument
    // for a negative size or one above kMaxPixels.
    Bitmap(int width, int height);
    Bitmap(int width, int height, Color fill);
    // A width x height bitmap whose pixels are left unset, for one that is
    // drawn over whole at once (a stretch into all of it).
    static Bitmap Unfilled(int width, int height);
    Bitmap(const Bitmap& other);
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(const Bitmap& other);
    Bitmap& operator=(Bitmap&& other) noexcept;
    ~Bitmap() = default;

    int width() const { return width_; }
    int height() const { return height_; }
    bool isEmpty() const { return width_ <= 0 || height_ <= 0; }
    Rect bounds() const { return Rect{0, 0, width_, height_}; }
    size_t stride() const { return stride_; }
    uint32_t handle() const { return handle_; }
    // Seeded effects draw their pattern from the incoming picture's handle; a
    // frame that must repeat it wherever it is drawn (a build and a render of
    // one show) takes a number fixed by the show instead of the next free one.
    void setHandle(uint32_t handle) { handle_ = handle; }

    uint8_t* row(int y) { return pixels_.data() + static_cast<size_t>(y) * stride_; }
    const uint8_t* row(int y) const { return pixels_.data() + static_cast<size_t>(y) * stride_; }
    uint8_t* bits() { return pixels_.data(); }
    const uint8_t* bits() const { return pixels_.data(); }

    Color pixel(int x, int y) const;
    void setPixel(int x, int y, Color color);

    // Replaces the content with a width x height bitmap filled with 'fill'.
    void reset(int width, int height, Color fill = 0);
    // Changes the size keeping the overlapping top-left part; new area takes
    // 'fill'. The clip region is removed.
    void resize(int width, int height, Color fill);
    // Fills every pixel, ignoring the clip region.
    void clear(Color color);

    // Clip region of the drawing surface.
    const Region* clip() const { return clip_ ? &*clip_ : nullptr; }
    // Sets the clip region to 'region', or removes it for nullptr.
    void selectClip(const Region* region);
    // Restricts the clip region to its intersection with 'region' (the whole
    // surface stands for a missing clip region).
    void intersectClip(const Region& region);
    // Removes the rectangle from the clip region.
    void excludeClipRect(const Rect& rect);

    // The part of 'area' where drawing is allowed: area within the bitmap,
    // within the clip region.
    Region drawableRegion(const Rect& area) const;

    // Same size and pixels (padding bytes and clip regions are not compared).
    bool samePixels(const Bitmap& other) const;

private:
    void allocate(int width, int height, std::optional<Color> fill);

    int width_ = 0;
    int height_ = 0;
    size_t stride_ = 0;
    uint32_t handle_;
    PixelBuffer pixels_;
    std::optional<Region> clip_;
};

// Sets 'count' pixels of a row, starting at 'pixels', to 'color'.
void FillPixels(uint8_t* pixels, int count, Color color);

}  // namespace raster
