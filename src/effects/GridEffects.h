// Grid, blind and shred reveals: blinds, grids of growing shapes, random squares, slats with bands.
//
// Every procedure follows the contract of Effects.h; the table in
// EffectTable.cpp gives each its style.
#pragma once

#include "effects/Effects.h"

namespace effects {

TEffectFunction TriangularShred;
TEffectFunction RandomSquaresAppear;
TEffectFunction BlindVertically;
TEffectFunction BlindHorizontally;
TEffectFunction UnevenBlindFromLeft;
TEffectFunction UnevenBlindFromRight;
TEffectFunction UnevenBlindFromTop;
TEffectFunction UnevenBlindFromBottom;
TEffectFunction RectangularShred;
TEffectFunction RectanglesAppearFromLeftAndDisappearToRight;
TEffectFunction RectanglesAppearFromRightAndDisappearToLeft;
TEffectFunction RectanglesAppearFromUpAndDisappearToBottom;
TEffectFunction RectanglesAppearFromBottomAndDisappearToUp;
TEffectFunction CircularShred;
TEffectFunction DiamondShred;

}  // namespace effects
