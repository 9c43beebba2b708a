// Pictures for effect tests whose pixels tell where they came from, and a
// way to call a family procedure the way the table's callers do.
#pragma once

#include <cstdint>
#include <string>

#include "effects/Effects.h"
#include "raster/Geometry.h"

namespace effects::test_support {

using raster::Bitmap;
using raster::Color;

// Blue marks the picture; red and green hold the column and row (mod 256).
constexpr uint8_t kOutgoingMark = 50;
constexpr uint8_t kIncomingMark = 200;

inline Bitmap CodedPicture(int width, int height, uint8_t mark) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.setPixel(x, y, raster::RGB(static_cast<uint8_t>(x), static_cast<uint8_t>(y), mark));
    return b;
}

inline Bitmap Outgoing(int width, int height) {
    return CodedPicture(width, height, kOutgoingMark);
}
inline Bitmap Incoming(int width, int height) {
    return CodedPicture(width, height, kIncomingMark);
}

// Where a pixel of a frame drawn from coded pictures came from.
struct Origin {
    int x;
    int y;
    bool incoming;
    friend bool operator==(const Origin&, const Origin&) = default;
};

inline Origin OriginOf(const Bitmap& frame, int x, int y) {
    const Color c = frame.pixel(x, y);
    return {raster::RedOf(c), raster::GreenOf(c), raster::BlueOf(c) == kIncomingMark};
}

inline Origin FromSource(int x, int y) {
    return {x & 255, y & 255, true};
}
inline Origin FromDest(int x, int y) {
    return {x & 255, y & 255, false};
}

inline std::string Describe(const Origin& o) {
    return std::string(o.incoming ? "Source" : "Dest") + "(" + std::to_string(o.x) + "," +
           std::to_string(o.y) + ")";
}

// Calls a procedure with the progress-scaled size its callers compute.
inline void Draw(TEffectProc proc, Bitmap& dest, const Bitmap& source, int percent) {
    const ProgressSize size = ProgressSizeOf(dest.width(), dest.height(), percent);
    proc(dest, source, dest.width(), dest.height(), size.w, size.h, percent);
}

struct NamedProc {
    const char* name;
    TEffectProc proc;
};

}  // namespace effects::test_support
