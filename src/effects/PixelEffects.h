// Pixel transitions: fade, pivots, pixelate, dissolve, random bars and channel mix.
//
// Every procedure follows the contract of Effects.h; the table in
// EffectTable.cpp gives each its style.
#pragma once

#include "effects/Effects.h"

namespace effects {

TEffectFunction Fade;
TEffectFunction PivotFromTopLeft;
TEffectFunction PivotFromBottomLeft;
TEffectFunction PivotFromTopRight;
TEffectFunction PivotFromBottomRight;
TEffectFunction Pixelate;
TEffectFunction Dissolve;
TEffectFunction RandomBarsHorizontal;
TEffectFunction RandomBarsVertical;
TEffectFunction ChannelMix;

// d moved toward s by k/256 (k in 0..256), rounded down: d at k = 0, s at 256.
constexpr int Blend(int d, int s, int k) {
    return d + (((s - d) * k) >> 8);
}

// Draws Source turned by 'angle' radians about (cx, cy) into Dest. cx is a
// column, cy a row counted from the bottom (-1 lies just below the bottom
// row). Each Dest pixel takes the Source pixel its position maps to, in
// 16.16 fixed point; pixels that map outside Source keep Dest's content.
void RotateBitmap(Bitmap& dest, const Bitmap& source, int cx, int cy, double angle);

// The block that Pixelate magnifies at progress p: top-left corner (xs, ys),
// sw x sh pixels. It shrinks toward the centre as p nears 50 and grows again.
struct PixelateBlock {
    int xs, ys, sw, sh;
};
PixelateBlock PixelateBlockOf(int W, int H, int w, int h, int p);

// Blends the block (x, y, cx, cy) of Dest toward Source by 'percent'.
void BlendRect(Bitmap& dest, const Bitmap& source, int x, int y, int cx, int cy, int percent);

}  // namespace effects
