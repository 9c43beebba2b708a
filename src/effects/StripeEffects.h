// Striped region reveals: bars, criss-cross, uneven shreds and speckled edges.
//
// Every procedure follows the contract of Effects.h; styles are given beside
// each declaration.
#pragma once

#include "effects/Effects.h"
#include "effects/Primitives.h"

namespace effects {

// Region generators of the family. X and ModeX drive horizontal strips (rows
// growing along x up to X), Y and ModeY vertical strips (columns growing along
// y up to Y); a mode of 0 adds no strips of that direction. W and H are the
// picture size. Rectangles reaching beyond the frame are kept as they are.
//
// Bars Min(W, H) div 50 + 1 thick; even bars grow while the extent runs up to
// the picture size, odd bars while it runs on to twice that. Modes: 1 from the
// right / bottom, 2 from the left / top, 3 even bars from the right / bottom
// and odd ones from the left / top at once, 4 even from the left / top then odd
// from the right / bottom, 5 the reverse of 4.
OptRegion BarsRegion(int X, int Y, int W, int H, int ModeX, int ModeY);
// Strips Min(W, H) div 200 + 1 thick whose lengths jitter by up to a tenth of
// the picture (none once the extent reaches the picture size). Draws one
// number per strip from the shared generator: rows top to bottom, then
// columns left to right. Modes: 1 from the right / bottom, 2 from the left /
// top, 3 out from the middle, others in from both edges.
OptRegion ShredRegion(int X, int Y, int W, int H, int ModeX, int ModeY);
// A solid part up to the extent with a fringe of random squares ahead of it,
// a tenth of the picture deep while the extent is below the picture size.
// Draws one number per fringe square slot from the shared generator. Mode 1
// grows from the right / bottom, any other from the left / top.
OptRegion SpeckleRegion(int X, int Y, int W, int H, int ModeX, int ModeY);

TEffectFunction BarsInFromRight;                            // 60
TEffectFunction BarsInFromLeft;                             // 61
TEffectFunction BarsLeftThenRight;                          // 62
TEffectFunction BarsRightThenLeft;                          // 63
TEffectFunction BarsFromBothSides;                          // 64
TEffectFunction UnevenShredFromRight;                       // 65
TEffectFunction UnevenShredFromLeft;                        // 66
TEffectFunction UnevenShredOutFromMiddleHoriz;              // 67
TEffectFunction UnevenShredInToMiddleHoriz;                 // 68
TEffectFunction BarsFromBottom;                             // 71
TEffectFunction BarsFromTop;                                // 72
TEffectFunction BarsTopThenBottom;                          // 73
TEffectFunction BarsBottomThenTop;                          // 74
TEffectFunction BarsFromTopAndBottom;                       // 75
TEffectFunction UnevenShredFromBottom;                      // 76
TEffectFunction UnevenShredFromTop;                         // 77
TEffectFunction UnevenShredFromHorizon;                     // 78
TEffectFunction UnevenShredInToHorizon;                     // 79
TEffectFunction CrissCrossRevealFromBottomRight;            // 86
TEffectFunction CrissCrossRevealFromTopRight;               // 87
TEffectFunction CrissCrossRevealFromBottomLeft;             // 88
TEffectFunction CrissCrossRevealFromTopLeft;                // 89
TEffectFunction CrissCrossRevealBounceFromTopLeft;          // 90
TEffectFunction CrissCrossRevealBounceFromBottomLeft;       // 91
TEffectFunction CrissCrossRevealBounceFromTopRight;         // 92
TEffectFunction CrissCrossRevealBounceFromBottomRight;      // 93
TEffectFunction CrissCrossRevealFromRightTopAndBottom;      // 94
TEffectFunction CrissCrossRevealFromLeftTopAndBottom;       // 95
TEffectFunction CrissCrossRevealFromLeftRightAndBottom;     // 96
TEffectFunction CrissCrossRevealFromLeftRightAndTop;        // 97
TEffectFunction CrissCrossRevealFromTopLeftRightAndBottom;  // 98
TEffectFunction CrissCrossRevealFromBottomLeftTopRight;     // 99
TEffectFunction UnevenShredFromBottomAndRight;              // 100
TEffectFunction UnevenShredFromTopAndRight;                 // 101
TEffectFunction UnevenShredFromBottomAndLeft;               // 102
TEffectFunction UnevenShredFromTopAndLeft;                  // 103
TEffectFunction UnevenShredFromHorizAndRight;               // 104
TEffectFunction UnevenShredFromHorizAndLeft;                // 105
TEffectFunction UnevenShredFromBottomAndVertMiddle;         // 106
TEffectFunction UnevenShredFromTopAndVertMiddle;            // 107
TEffectFunction UnevenShredFromCentre;                      // 108
TEffectFunction UnevenShredToCentre;                        // 109
TEffectFunction SpeckleAppearFromRight;                     // 124
TEffectFunction SpeckleAppearFromLeft;                      // 125
TEffectFunction SpeckleAppearFromBottom;                    // 126
TEffectFunction SpeckleAppearFromTop;                       // 127

}  // namespace effects
