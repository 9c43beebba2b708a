// Block copy and stretch transitions: expand, slide, reveal, unroll, build up, push and squeeze.
//
// Every procedure follows the contract of Effects.h; the table in
// EffectTable.cpp gives each its style.
#pragma once

#include <cstdint>

#include "effects/Effects.h"

namespace effects {

TEffectFunction ExpandFromRight;
TEffectFunction ExpandFromLeft;
TEffectFunction SlideInFromRight;
TEffectFunction SlideInFromLeft;
TEffectFunction RevealFromLeft;
TEffectFunction RevealFromRight;
TEffectFunction ExpandInFromRight;
TEffectFunction ExpandInFromLeft;
TEffectFunction ExpandInToMiddle;
TEffectFunction ExpandOutFromMiddle;
TEffectFunction RevealOutFromMiddle;
TEffectFunction RevealInFromSides;
TEffectFunction ExpandInFromSides;
TEffectFunction UnrollFromLeft;
TEffectFunction UnrollFromRight;
TEffectFunction BuildUpFromRight;
TEffectFunction BuildUpFromLeft;
TEffectFunction ExpandFromBottom;
TEffectFunction ExpandFromTop;
TEffectFunction SlideInFromBottom;
TEffectFunction SlideInFromTop;
TEffectFunction RevealFromTop;
TEffectFunction RevealFromBottom;
TEffectFunction ExpandInFromBottom;
TEffectFunction ExpandInFromTop;
TEffectFunction ExpandInToMiddleHoriz;
TEffectFunction ExpandOutFromMiddleHoriz;
TEffectFunction RevealFromMiddleHoriz;
TEffectFunction SlideInFromTopBottom;
TEffectFunction ExpandInFromTopBottom;
TEffectFunction UnrollFromTop;
TEffectFunction UnrollFromBottom;
TEffectFunction ExpandFromBottomBuildUp;
TEffectFunction ExpandInFromTopBuildUp;
TEffectFunction ExpandFromBottomRight;
TEffectFunction ExpandFromTopRight;
TEffectFunction ExpandFromTopLeft;
TEffectFunction ExpandFromBottomLeft;
TEffectFunction SlideInFromBottomRight;
TEffectFunction SlideInFromTopRight;
TEffectFunction SlideInFromTopLeft;
TEffectFunction SlideInFromBottomLeft;
TEffectFunction RevealFromTopLeft;
TEffectFunction RevealFromBottomLeft;
TEffectFunction RevealFromBottomRight;
TEffectFunction RevealFromTopRight;
TEffectFunction AppearAndContractToTopLeft;
TEffectFunction AppearAndContractToBottomLeft;
TEffectFunction AppearAndContractToBottomRight;
TEffectFunction AppearAndContractToTopRight;
TEffectFunction AppearAndContractToMiddle;
TEffectFunction ExpandOutFromCentre;
TEffectFunction RevealOutFromCentre;
TEffectFunction RevealInToCentre;
TEffectFunction QuartersRevealInToMiddle;
TEffectFunction QuartersExpandToMiddle;
TEffectFunction QuartersSlideInToMiddle;
TEffectFunction PushRight;
TEffectFunction PushLeft;
TEffectFunction PushAndSqueezeRight;
TEffectFunction PushAndSqueezeLeft;
TEffectFunction PushDown;
TEffectFunction PushUp;
TEffectFunction PushAndSqueezeDown;
TEffectFunction PushAndSqueezeUp;

// Darkens a band of Dest's columns over the full height, like the shadow on a
// cylinder: -depth at the band's left edge, rising toward zero in the middle
// and falling back at the right edge. Bands narrower than 2 are left alone.
void ShadeColumns(Bitmap& dest, int left, int width, uint8_t depth);

// The same for a band of rows over the full width; the profile starts at the
// band's bottom row and runs upward.
void ShadeRows(Bitmap& dest, int top, int height, uint8_t depth);

// Width of the unroll's roll: a tenth of the extent, no wider than what has
// unrolled already nor than half of what is still to come.
int RollWidth(int extent, int unrolled);

}  // namespace effects
