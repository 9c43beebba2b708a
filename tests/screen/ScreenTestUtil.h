// Pictures and recorders shared by the screen tests.
#pragma once

#include <vector>

#include "raster/Bitmap.h"
#include "screen/FrameRenderer.h"

namespace screen::test {

using raster::Bitmap;
using raster::Rect;

// A picture whose every pixel names its position: blue = x mod 256,
// green = y mod 256, red = 'tag' (never the tag of another picture).
inline Bitmap PositionPicture(int width, int height, uint8_t tag) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = b.row(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<uint8_t>(x);
            row[3 * x + 1] = static_cast<uint8_t>(y);
            row[3 * x + 2] = tag;
        }
    }
    return b;
}

inline bool SameArea(const Bitmap& a, const Bitmap& b, const Rect& r) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
    return true;
}

// Number of pixels of 'frame' inside r that equal those of 'picture'.
inline long CountSame(const Bitmap& frame, const Bitmap& picture, const Rect& r) {
    long n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += frame.pixel(x, y) == picture.pixel(x, y);
    return n;
}

struct RecordingSink : FrameSink {
    std::vector<Rect> invalidated;
    int before = 0, after = 0, customDraws = 0;
    bool hasCustomDraw = false;
    void BeforeNewFrame() override { ++before; }
    void AfterNewFrame() override { ++after; }
    bool CustomDraw() override {
        if (hasCustomDraw) ++customDraws;
        return hasCustomDraw;
    }
    void InvalidateFrameRect(const Rect& r) override { invalidated.push_back(r); }
};

// Renders one frame of 'style' at p from 'from' to 'to' into 'frame'.
inline int Render(int style, int p, const Bitmap& from, const Bitmap& to, Bitmap& frame,
                  FrameSink& sink, bool reverse = false) {
    FrameInput in;
    in.style = style;
    in.progress = p;
    in.reverse = reverse;
    in.oldBitmap = &from;
    in.newBitmap = &to;
    in.screenBitmap = &frame;
    return RenderFrame(in, sink);
}

}  // namespace screen::test
