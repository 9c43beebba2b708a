// Shape reveals: curves, ellipses, diagonals, sweeps, starbursts, turning shapes, V, bow tie, zigzag and diamonds.
//
// Every procedure follows the contract of Effects.h; styles are given beside
// each declaration.
#pragma once

#include "effects/Effects.h"

namespace effects {

TEffectFunction CurvedRevealFromLeft;  // 58
TEffectFunction CurvedRevealFromRight;  // 59
TEffectFunction CurvedRevealFromTop;  // 69
TEffectFunction CurvedRevealFromBottom;  // 70
TEffectFunction CurvedRevealFromTopLeft;  // 80
TEffectFunction CurvedRevealFromTopRight;  // 81
TEffectFunction CurvedRevealFromBottomLeft;  // 82
TEffectFunction CurvedRevealFromBottomRight;  // 83
TEffectFunction EllipticRevealOutFromCentre;  // 84
TEffectFunction EllipticRevealInToCentre;  // 85
TEffectFunction RevealDiagonalFromTopLeft;  // 110
TEffectFunction RevealDiagonalFromTopRight;  // 111
TEffectFunction RevealDiagonalFromBottomLeft;  // 112
TEffectFunction RevealDiagonalFromBottomRight;  // 113
TEffectFunction DiagonalSweepFromTopLeftBottomRightAnticlockwise;  // 114
TEffectFunction DiagonalSweepFromTopLeftBottomRightClockwise;  // 115
TEffectFunction StarburstClockwiseFromCenter;  // 116
TEffectFunction StarburstAnticlockwiseFromCenter;  // 117
TEffectFunction SweepClockwise;  // 144
TEffectFunction SweepAnticlockwise;  // 145
TEffectFunction RotationalRectangleInCenter;  // 150
TEffectFunction RotationalStarInCenter;  // 151
TEffectFunction SpiralRectangle;  // 152
TEffectFunction RevealVFromLeft;  // 154
TEffectFunction RevealVFromRight;  // 155
TEffectFunction RevealVFromTop;  // 156
TEffectFunction RevealVFromBottom;  // 157
TEffectFunction BowTieHorizontal;  // 158
TEffectFunction BowTieVertical;  // 159
TEffectFunction DiagonalCrossIn;  // 160
TEffectFunction DiagonalCrossOut;  // 161
TEffectFunction ZigzagHorizontal;  // 162
TEffectFunction ZigzagVertical;  // 163
TEffectFunction RevealDiamondOutFromCentre;  // 165
TEffectFunction RevealDiamondInToCentre;  // 166
TEffectFunction DiagonalBoxOut;  // 167

}  // namespace effects
