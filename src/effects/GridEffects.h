// Grid, blind and shred reveals: blinds, grids of growing shapes, random squares, slats with bands.
//
// Every procedure follows the contract of Effects.h; styles are given beside
// each declaration.
#pragma once

#include "effects/Effects.h"

namespace effects {

TEffectFunction TriangularShred;                              // 119
TEffectFunction RandomSquaresAppear;                          // 128
TEffectFunction BlindVertically;                              // 137
TEffectFunction BlindHorizontally;                            // 138
TEffectFunction UnevenBlindFromLeft;                          // 139
TEffectFunction UnevenBlindFromRight;                         // 140
TEffectFunction UnevenBlindFromTop;                           // 141
TEffectFunction UnevenBlindFromBottom;                        // 142
TEffectFunction RectangularShred;                             // 143
TEffectFunction RectanglesAppearFromLeftAndDisappearToRight;  // 146
TEffectFunction RectanglesAppearFromRightAndDisappearToLeft;  // 147
TEffectFunction RectanglesAppearFromUpAndDisappearToBottom;   // 148
TEffectFunction RectanglesAppearFromBottomAndDisappearToUp;   // 149
TEffectFunction CircularShred;                                // 153
TEffectFunction DiamondShred;                                 // 164

}  // namespace effects
