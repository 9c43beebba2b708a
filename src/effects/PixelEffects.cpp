#include "effects/PixelEffects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <vector>

#include "base/Arith.h"
#include "base/Random.h"
#include "effects/Primitives.h"

namespace effects {

namespace {

using base::MulDiv;

// The area both bitmaps cover; callers pass bitmaps of one size, but a
// mismatch must not read or write past either of them.
struct Area {
    int width;
    int height;
};

Area CommonArea(const Bitmap& a, const Bitmap& b) {
    return {std::min(a.width(), b.width()), std::min(a.height(), b.height())};
}

void CopyPixel(uint8_t* to, const uint8_t* from) {
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

}  // namespace

void RotateBitmap(Bitmap& dest, const Bitmap& source, int cx, int cy, double angle) {
    const auto c = static_cast<int32_t>(base::Trunc(std::cos(-angle) * 65536.0));
    const auto s = static_cast<int32_t>(base::Trunc(std::sin(-angle) * 65536.0));
    const int sourceWidth = source.width(), sourceHeight = source.height();
    const int height = dest.height();
    // 64-bit sums: the same values as 32-bit products on any frame size that
    // fits 32 bits, without wrapping on huge ones.
    for (int u = 0; u < height; ++u) {
        const int64_t du = u + 1 - cy;
        const int64_t dx0 = 1 - static_cast<int64_t>(cx);
        int64_t numX = dx0 * c - du * s;
        int64_t numU = dx0 * s + du * c;
        uint8_t* out = dest.row(height - 1 - u);
        for (int x = 0; x < dest.width(); ++x, numX += c, numU += s) {
            // Arithmetic shifts round toward minus infinity, as the floor needs.
            const int64_t sx = cx + (numX >> 16);
            const int64_t su = cy + (numU >> 16);
            if (sx < 0 || sx >= sourceWidth || su < 0 || su >= sourceHeight) continue;
            CopyPixel(out + 3 * x, source.row(sourceHeight - 1 - static_cast<int>(su)) + 3 * sx);
        }
    }
}

void BlendRect(Bitmap& dest, const Bitmap& source, int x, int y, int cx, int cy, int percent) {
    const int k = std::clamp(MulDiv(256, percent, 100), 0, 256);
    const Area area = CommonArea(dest, source);
    const int left = std::max(x, 0), right = std::min(x + cx, area.width);
    const int top = std::max(y, 0), bottom = std::min(y + cy, area.height);
    for (int row = top; row < bottom; ++row) {
        uint8_t* d = dest.row(row);
        const uint8_t* s = source.row(row);
        for (int i = 3 * left; i < 3 * right; ++i)
            d[i] = static_cast<uint8_t>(Blend(d[i], s[i], k));
    }
}

void Fade(Bitmap& Dest, const Bitmap& Source, int, int, int, int, int p) {
    p = std::clamp(p, 0, 100);
    // Each byte is the sum of two separately truncated shares.
    uint8_t destShare[256], sourceShare[256];
    for (int v = 0; v < 256; ++v) {
        destShare[v] = static_cast<uint8_t>(((100 - p) * v) / 100);
        sourceShare[v] = static_cast<uint8_t>((p * v) / 100);
    }
    const Area area = CommonArea(Dest, Source);
    for (int y = 0; y < area.height; ++y) {
        uint8_t* d = Dest.row(y);
        const uint8_t* s = Source.row(y);
        for (int i = 0; i < 3 * area.width; ++i)
            d[i] = static_cast<uint8_t>(destShare[d[i]] + sourceShare[s[i]]);
    }
}

// The pivots swing Source in about a point just outside one corner; at p = 0
// it lies a quarter turn away, outside the frame.

void PivotFromTopLeft(Bitmap& Dest, const Bitmap& Source, int, int, int, int, int p) {
    RotateBitmap(Dest, Source, -1, -1, (100 - p) * std::numbers::pi / 200);
}

void PivotFromBottomLeft(Bitmap& Dest, const Bitmap& Source, int, int H, int, int, int p) {
    RotateBitmap(Dest, Source, -1, H, (p - 100) * std::numbers::pi / 200);
}

void PivotFromTopRight(Bitmap& Dest, const Bitmap& Source, int W, int, int, int, int p) {
    RotateBitmap(Dest, Source, W, -1, (p - 100) * std::numbers::pi / 200);
}

void PivotFromBottomRight(Bitmap& Dest, const Bitmap& Source, int W, int H, int, int, int p) {
    RotateBitmap(Dest, Source, W, H, (100 - p) * std::numbers::pi / 200);
}

PixelateBlock PixelateBlockOf(int W, int H, int w, int h, int p) {
    // Magnification f (percent of the unrevealed part) falls from 180 to 98
    // by p = 50 and climbs back afterwards.
    int f = 0, a = 0, b = 0;
    if (p <= 50) {
        f = 180 - MulDiv(p, 82, 50);
        a = w;
        b = h;
    } else {
        f = MulDiv(p - 100, 82, 50) + 180;
        a = W - w;
        b = H - h;
    }
    const int xs = MulDiv(a, f, 100), ys = MulDiv(b, f, 100);
    return {xs, ys, std::max(W - 2 * xs, 2), std::max(H - 2 * ys, 2)};
}

// Zooms into the outgoing picture until it breaks into blocks, cross-fades
// inside the central block, then zooms out of the incoming picture.
void Pixelate(Bitmap& Dest, const Bitmap& Source, int W, int H, int w, int h, int p) {
    const PixelateBlock block = PixelateBlockOf(W, H, w, h, p);
    const Bitmap* zoomSource = p <= 50 ? &Dest : &Source;
    if (41 <= p && p <= 59) {
        BlendRect(Dest, Source, block.xs, block.ys, block.sw, block.sh, 5 * (p - 41) + 5);
        zoomSource = &Dest;
    }
    // The block is enlarged onto a rectangle reaching 2 xs and 2 ys beyond
    // every edge; repeating pixels makes the blocks.
    Stretch(Dest, -2 * block.xs, -2 * block.ys, W + 4 * block.xs, H + 4 * block.ys, *zoomSource,
            block.xs, block.ys, block.sw, block.sh);
}

// The seeded members draw their random numbers from Source's handle, so every
// frame of one transition repeats the same choices: what shows at p shows at
// every higher p as well.

void Dissolve(Bitmap& Dest, const Bitmap& Source, int, int, int, int, int p) {
    const base::ScopedRandSeed seed(Source.handle());
    const Area area = CommonArea(Dest, Source);
    for (int y = area.height - 1; y >= 0; --y) {
        uint8_t* d = Dest.row(y);
        const uint8_t* s = Source.row(y);
        for (int x = 0; x < area.width; ++x) {
            // A select instead of a branch: at p near 50 the branch would be
            // mispredicted on every other pixel.
            const uint8_t* from = static_cast<int>(base::Random(100)) < p ? s : d;
            CopyPixel(d + 3 * x, from + 3 * x);
        }
    }
}

void RandomBarsHorizontal(Bitmap& Dest, const Bitmap& Source, int, int, int, int, int p) {
    const base::ScopedRandSeed seed(Source.handle());
    const Area area = CommonArea(Dest, Source);
    for (int y = area.height - 1; y >= 0; --y)
        if (static_cast<int>(base::Random(100)) < p)
            std::memcpy(Dest.row(y), Source.row(y), static_cast<size_t>(area.width) * 3);
}

void RandomBarsVertical(Bitmap& Dest, const Bitmap& Source, int, int, int, int, int p) {
    const Area area = CommonArea(Dest, Source);
    // The choice per column comes first, then one pass over the rows.
    thread_local std::vector<int> columns;
    columns.clear();
    {
        const base::ScopedRandSeed seed(Source.handle());
        for (int x = 0; x < area.width; ++x)
            if (static_cast<int>(base::Random(100)) < p) columns.push_back(x);
    }
    for (int y = 0; y < area.height; ++y) {
        uint8_t* d = Dest.row(y);
        const uint8_t* s = Source.row(y);
        for (int x : columns) CopyPixel(d + 3 * x, s + 3 * x);
    }
}

void ChannelMix(Bitmap& Dest, const Bitmap& Source, int, int, int, int, int p) {
    int c1 = 0, c2 = 0;
    {
        const base::ScopedRandSeed seed(Source.handle());
        c1 = static_cast<int>(base::Random(3));
        do c2 = static_cast<int>(base::Random(3));
        while (c2 == c1);
    }
    const int c3 = 3 - c1 - c2;  // channel 0 is blue, 1 green, 2 red

    p = std::clamp(p, 0, 100);
    bool complete[3] = {false, false, false};
    int blended = c1, k = 0;
    if (p <= 33) {
        k = MulDiv(256, p, 33);
    } else if (p <= 66) {
        complete[c1] = true;
        blended = c2;
        k = MulDiv(256, p - 33, 33);
    } else {
        complete[c1] = complete[c2] = true;
        blended = c3;
        k = std::min(MulDiv(256, p - 66, 33), 256);
    }

    const Area area = CommonArea(Dest, Source);
    for (int y = 0; y < area.height; ++y) {
        uint8_t* d = Dest.row(y);
        const uint8_t* s = Source.row(y);
        for (int x = 0; x < area.width; ++x, d += 3, s += 3) {
            for (int ch = 0; ch < 3; ++ch)
                if (complete[ch]) d[ch] = s[ch];
            d[blended] = static_cast<uint8_t>(Blend(d[blended], s[blended], k));
        }
    }
}

}  // namespace effects
