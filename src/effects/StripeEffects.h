// Striped region reveals: bars, criss-cross, uneven shreds and speckled edges.
//
// Every procedure follows the contract of Effects.h; the table in
// EffectTable.cpp gives each its style.
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

TEffectFunction BarsInFromRight;
TEffectFunction BarsInFromLeft;
TEffectFunction BarsLeftThenRight;
TEffectFunction BarsRightThenLeft;
TEffectFunction BarsFromBothSides;
TEffectFunction UnevenShredFromRight;
TEffectFunction UnevenShredFromLeft;
TEffectFunction UnevenShredOutFromMiddleHoriz;
TEffectFunction UnevenShredInToMiddleHoriz;
TEffectFunction BarsFromBottom;
TEffectFunction BarsFromTop;
TEffectFunction BarsTopThenBottom;
TEffectFunction BarsBottomThenTop;
TEffectFunction BarsFromTopAndBottom;
TEffectFunction UnevenShredFromBottom;
TEffectFunction UnevenShredFromTop;
TEffectFunction UnevenShredFromHorizon;
TEffectFunction UnevenShredInToHorizon;
TEffectFunction CrissCrossRevealFromBottomRight;
TEffectFunction CrissCrossRevealFromTopRight;
TEffectFunction CrissCrossRevealFromBottomLeft;
TEffectFunction CrissCrossRevealFromTopLeft;
TEffectFunction CrissCrossRevealBounceFromTopLeft;
TEffectFunction CrissCrossRevealBounceFromBottomLeft;
TEffectFunction CrissCrossRevealBounceFromTopRight;
TEffectFunction CrissCrossRevealBounceFromBottomRight;
TEffectFunction CrissCrossRevealFromRightTopAndBottom;
TEffectFunction CrissCrossRevealFromLeftTopAndBottom;
TEffectFunction CrissCrossRevealFromLeftRightAndBottom;
TEffectFunction CrissCrossRevealFromLeftRightAndTop;
TEffectFunction CrissCrossRevealFromTopLeftRightAndBottom;
TEffectFunction CrissCrossRevealFromBottomLeftTopRight;
TEffectFunction UnevenShredFromBottomAndRight;
TEffectFunction UnevenShredFromTopAndRight;
TEffectFunction UnevenShredFromBottomAndLeft;
TEffectFunction UnevenShredFromTopAndLeft;
TEffectFunction UnevenShredFromHorizAndRight;
TEffectFunction UnevenShredFromHorizAndLeft;
TEffectFunction UnevenShredFromBottomAndVertMiddle;
TEffectFunction UnevenShredFromTopAndVertMiddle;
TEffectFunction UnevenShredFromCentre;
TEffectFunction UnevenShredToCentre;
TEffectFunction SpeckleAppearFromRight;
TEffectFunction SpeckleAppearFromLeft;
TEffectFunction SpeckleAppearFromBottom;
TEffectFunction SpeckleAppearFromTop;

}  // namespace effects
