// Block copy and stretch transitions: expand, slide, reveal, unroll, build up, push and squeeze.
//
// Every procedure follows the contract of Effects.h; styles are given beside
// each declaration.
#pragma once

#include <cstdint>

#include "effects/Effects.h"

namespace effects {

TEffectFunction ExpandFromRight;                 // 1
TEffectFunction ExpandFromLeft;                  // 2
TEffectFunction SlideInFromRight;                // 3
TEffectFunction SlideInFromLeft;                 // 4
TEffectFunction RevealFromLeft;                  // 5
TEffectFunction RevealFromRight;                 // 6
TEffectFunction ExpandInFromRight;               // 7
TEffectFunction ExpandInFromLeft;                // 8
TEffectFunction ExpandInToMiddle;                // 9
TEffectFunction ExpandOutFromMiddle;             // 10
TEffectFunction RevealOutFromMiddle;             // 11
TEffectFunction RevealInFromSides;               // 12
TEffectFunction ExpandInFromSides;               // 13
TEffectFunction UnrollFromLeft;                  // 14
TEffectFunction UnrollFromRight;                 // 15
TEffectFunction BuildUpFromRight;                // 16
TEffectFunction BuildUpFromLeft;                 // 17
TEffectFunction ExpandFromBottom;                // 18
TEffectFunction ExpandFromTop;                   // 19
TEffectFunction SlideInFromBottom;               // 20
TEffectFunction SlideInFromTop;                  // 21
TEffectFunction RevealFromTop;                   // 22
TEffectFunction RevealFromBottom;                // 23
TEffectFunction ExpandInFromBottom;              // 24
TEffectFunction ExpandInFromTop;                 // 25
TEffectFunction ExpandInToMiddleHoriz;           // 26
TEffectFunction ExpandOutFromMiddleHoriz;        // 27
TEffectFunction RevealFromMiddleHoriz;           // 28
TEffectFunction SlideInFromTopBottom;            // 29
TEffectFunction ExpandInFromTopBottom;           // 30
TEffectFunction UnrollFromTop;                   // 31
TEffectFunction UnrollFromBottom;                // 32
TEffectFunction ExpandFromBottomBuildUp;         // 33
TEffectFunction ExpandInFromTopBuildUp;          // 34
TEffectFunction ExpandFromBottomRight;           // 35
TEffectFunction ExpandFromTopRight;              // 36
TEffectFunction ExpandFromTopLeft;               // 37
TEffectFunction ExpandFromBottomLeft;            // 38
TEffectFunction SlideInFromBottomRight;          // 39
TEffectFunction SlideInFromTopRight;             // 40
TEffectFunction SlideInFromTopLeft;              // 41
TEffectFunction SlideInFromBottomLeft;           // 42
TEffectFunction RevealFromTopLeft;               // 43
TEffectFunction RevealFromBottomLeft;            // 44
TEffectFunction RevealFromBottomRight;           // 45
TEffectFunction RevealFromTopRight;              // 46
TEffectFunction AppearAndContractToTopLeft;      // 47
TEffectFunction AppearAndContractToBottomLeft;   // 48
TEffectFunction AppearAndContractToBottomRight;  // 49
TEffectFunction AppearAndContractToTopRight;     // 50
TEffectFunction AppearAndContractToMiddle;       // 51
TEffectFunction ExpandOutFromCentre;             // 52
TEffectFunction RevealOutFromCentre;             // 53
TEffectFunction RevealInToCentre;                // 54
TEffectFunction QuartersRevealInToMiddle;        // 55
TEffectFunction QuartersExpandToMiddle;          // 56
TEffectFunction QuartersSlideInToMiddle;         // 57
TEffectFunction PushRight;                       // 129
TEffectFunction PushLeft;                        // 130
TEffectFunction PushAndSqueezeRight;             // 131
TEffectFunction PushAndSqueezeLeft;              // 132
TEffectFunction PushDown;                        // 133
TEffectFunction PushUp;                          // 134
TEffectFunction PushAndSqueezeDown;              // 135
TEffectFunction PushAndSqueezeUp;                // 136

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
