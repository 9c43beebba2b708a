// Striped region reveals: bars, criss-cross, uneven shreds and speckled edges.
//
// Every procedure follows the contract of Effects.h; styles are given beside
// each declaration.
#pragma once

#include "effects/Effects.h"

namespace effects {

TEffectFunction BarsInFromRight;  // 60
TEffectFunction BarsInFromLeft;  // 61
TEffectFunction BarsLeftThenRight;  // 62
TEffectFunction BarsRightThenLeft;  // 63
TEffectFunction BarsFromBothSides;  // 64
TEffectFunction UnevenShredFromRight;  // 65
TEffectFunction UnevenShredFromLeft;  // 66
TEffectFunction UnevenShredOutFromMiddleHoriz;  // 67
TEffectFunction UnevenShredInToMiddleHoriz;  // 68
TEffectFunction BarsFromBottom;  // 71
TEffectFunction BarsFromTop;  // 72
TEffectFunction BarsTopThenBottom;  // 73
TEffectFunction BarsBottomThenTop;  // 74
TEffectFunction BarsFromTopAndBottom;  // 75
TEffectFunction UnevenShredFromBottom;  // 76
TEffectFunction UnevenShredFromTop;  // 77
TEffectFunction UnevenShredFromHorizon;  // 78
TEffectFunction UnevenShredInToHorizon;  // 79
TEffectFunction CrissCrossRevealFromBottomRight;  // 86
TEffectFunction CrissCrossRevealFromTopRight;  // 87
TEffectFunction CrissCrossRevealFromBottomLeft;  // 88
TEffectFunction CrissCrossRevealFromTopLeft;  // 89
TEffectFunction CrissCrossRevealBounceFromTopLeft;  // 90
TEffectFunction CrissCrossRevealBounceFromBottomLeft;  // 91
TEffectFunction CrissCrossRevealBounceFromTopRight;  // 92
TEffectFunction CrissCrossRevealBounceFromBottomRight;  // 93
TEffectFunction CrissCrossRevealFromRightTopAndBottom;  // 94
TEffectFunction CrissCrossRevealFromLeftTopAndBottom;  // 95
TEffectFunction CrissCrossRevealFromLeftRightAndBottom;  // 96
TEffectFunction CrissCrossRevealFromLeftRightAndTop;  // 97
TEffectFunction CrissCrossRevealFromTopLeftRightAndBottom;  // 98
TEffectFunction CrissCrossRevealFromBottomLeftTopRight;  // 99
TEffectFunction UnevenShredFromBottomAndRight;  // 100
TEffectFunction UnevenShredFromTopAndRight;  // 101
TEffectFunction UnevenShredFromBottomAndLeft;  // 102
TEffectFunction UnevenShredFromTopAndLeft;  // 103
TEffectFunction UnevenShredFromHorizAndRight;  // 104
TEffectFunction UnevenShredFromHorizAndLeft;  // 105
TEffectFunction UnevenShredFromBottomAndVertMiddle;  // 106
TEffectFunction UnevenShredFromTopAndVertMiddle;  // 107
TEffectFunction UnevenShredFromCentre;  // 108
TEffectFunction UnevenShredToCentre;  // 109
TEffectFunction SpeckleAppearFromRight;  // 124
TEffectFunction SpeckleAppearFromLeft;  // 125
TEffectFunction SpeckleAppearFromBottom;  // 126
TEffectFunction SpeckleAppearFromTop;  // 127

}  // namespace effects
