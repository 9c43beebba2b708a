// Pixel transitions: fade, pivots, pixelate, dissolve, random bars and channel mix.
//
// Every procedure follows the contract of Effects.h; styles are given beside
// each declaration.
#pragma once

#include "effects/Effects.h"

namespace effects {

TEffectFunction Fade;  // 118
TEffectFunction PivotFromTopLeft;  // 120
TEffectFunction PivotFromBottomLeft;  // 121
TEffectFunction PivotFromTopRight;  // 122
TEffectFunction PivotFromBottomRight;  // 123
TEffectFunction Pixelate;  // 168
TEffectFunction Dissolve;  // 169
TEffectFunction RandomBarsHorizontal;  // 170
TEffectFunction RandomBarsVertical;  // 171
TEffectFunction ChannelMix;  // 172

}  // namespace effects
