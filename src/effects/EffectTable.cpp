// The table of the 172 transition effects. Entry s serves style s; entry 0
// stands for the cut, which never reaches the table. The names are the
// effects' own (spelling included); the names users see come from the
// effect catalogue.
#include <algorithm>
#include <iterator>

#include "effects/CopyStretchEffects.h"
#include "effects/Effects.h"
#include "effects/GridEffects.h"
#include "effects/PixelEffects.h"
#include "effects/ShapeEffects.h"
#include "effects/StripeEffects.h"

namespace effects {
namespace {

constexpr EffectFamily kCopyStretch = EffectFamily::CopyStretch;
constexpr EffectFamily kStripe = EffectFamily::Stripe;
constexpr EffectFamily kGrid = EffectFamily::Grid;
constexpr EffectFamily kShape = EffectFamily::Shape;
constexpr EffectFamily kPixel = EffectFamily::Pixel;

}  // namespace

constexpr TEffect Effects[kEffectCount + 1] = {
    {0, "", nullptr, EffectFamily::Cut},
    {1, "Expand from right", ExpandFromRight, kCopyStretch},
    {2, "Expand from left", ExpandFromLeft, kCopyStretch},
    {3, "Slide in from right", SlideInFromRight, kCopyStretch},
    {4, "Slide in from left", SlideInFromLeft, kCopyStretch},
    {5, "Reveal from left", RevealFromLeft, kCopyStretch},
    {6, "Reveal from right", RevealFromRight, kCopyStretch},
    {7, "Expand in from right", ExpandInFromRight, kCopyStretch},
    {8, "Expand in from left", ExpandInFromLeft, kCopyStretch},
    {9, "Expand in to middle", ExpandInToMiddle, kCopyStretch},
    {10, "Expand out from middle", ExpandOutFromMiddle, kCopyStretch},
    {11, "Reveal out from middle", RevealOutFromMiddle, kCopyStretch},
    {12, "Reveal in from sides", RevealInFromSides, kCopyStretch},
    {13, "Expand in from sides", ExpandInFromSides, kCopyStretch},
    {14, "Unroll from left", UnrollFromLeft, kCopyStretch},
    {15, "Unroll from right", UnrollFromRight, kCopyStretch},
    {16, "Build up from right", BuildUpFromRight, kCopyStretch},
    {17, "Build up from left", BuildUpFromLeft, kCopyStretch},
    {18, "Expand from bottom", ExpandFromBottom, kCopyStretch},
    {19, "Expand from top", ExpandFromTop, kCopyStretch},
    {20, "Slide in from bottom", SlideInFromBottom, kCopyStretch},
    {21, "Slide in from top", SlideInFromTop, kCopyStretch},
    {22, "Reveal from top", RevealFromTop, kCopyStretch},
    {23, "Reveal from bottom", RevealFromBottom, kCopyStretch},
    {24, "Expand in from bottom", ExpandInFromBottom, kCopyStretch},
    {25, "Expand in from top", ExpandInFromTop, kCopyStretch},
    {26, "Expand in to middle (horiz)", ExpandInToMiddleHoriz, kCopyStretch},
    {27, "Expand out from middle (horiz)", ExpandOutFromMiddleHoriz, kCopyStretch},
    {28, "Reveal from middle (horiz)", RevealFromMiddleHoriz, kCopyStretch},
    {29, "Slide in from top / bottom", SlideInFromTopBottom, kCopyStretch},
    {30, "Expand in from top / bottom", ExpandInFromTopBottom, kCopyStretch},
    {31, "Unroll from top", UnrollFromTop, kCopyStretch},
    {32, "Unroll from bottom", UnrollFromBottom, kCopyStretch},
    {33, "Expand from bottom", ExpandFromBottomBuildUp, kCopyStretch},
    {34, "Expand in from top", ExpandInFromTopBuildUp, kCopyStretch},
    {35, "Expand from bottom right", ExpandFromBottomRight, kCopyStretch},
    {36, "Expand from top right", ExpandFromTopRight, kCopyStretch},
    {37, "Expand from top left", ExpandFromTopLeft, kCopyStretch},
    {38, "Expand from bottom left", ExpandFromBottomLeft, kCopyStretch},
    {39, "Slide in from bottom right", SlideInFromBottomRight, kCopyStretch},
    {40, "Slide in from top right", SlideInFromTopRight, kCopyStretch},
    {41, "Slide in from top left", SlideInFromTopLeft, kCopyStretch},
    {42, "Slide in from bottom left", SlideInFromBottomLeft, kCopyStretch},
    {43, "Reveal from top left", RevealFromTopLeft, kCopyStretch},
    {44, "Reveal from bottom left", RevealFromBottomLeft, kCopyStretch},
    {45, "Reveal from bottom right", RevealFromBottomRight, kCopyStretch},
    {46, "Reveal from top right", RevealFromTopRight, kCopyStretch},
    {47, "Appear and Contract to top left", AppearAndContractToTopLeft, kCopyStretch},
    {48, "Appear and Contract to bottom left", AppearAndContractToBottomLeft, kCopyStretch},
    {49, "Appear and Contract to bottom right", AppearAndContractToBottomRight, kCopyStretch},
    {50, "Appear and Contract to top right", AppearAndContractToTopRight, kCopyStretch},
    {51, "Appear and Contract to middle", AppearAndContractToMiddle, kCopyStretch},
    {52, "Expand out from centre", ExpandOutFromCentre, kCopyStretch},
    {53, "Reveal out from centre", RevealOutFromCentre, kCopyStretch},
    {54, "Reveal in to centre", RevealInToCentre, kCopyStretch},
    {55, "Quarters Reveal in to middle", QuartersRevealInToMiddle, kCopyStretch},
    {56, "Quarters Expand to middle", QuartersExpandToMiddle, kCopyStretch},
    {57, "Quarters Slide in to middle", QuartersSlideInToMiddle, kCopyStretch},
    {58, "Curved Reveal from left", CurvedRevealFromLeft, kShape},
    {59, "Curved Reveal from right", CurvedRevealFromRight, kShape},
    {60, "Bars in from right", BarsInFromRight, kStripe},
    {61, "Bars in from left", BarsInFromLeft, kStripe},
    {62, "Bars left then right", BarsLeftThenRight, kStripe},
    {63, "Bars right then left", BarsRightThenLeft, kStripe},
    {64, "Bars from both sides", BarsFromBothSides, kStripe},
    {65, "Uneven shred from right", UnevenShredFromRight, kStripe},
    {66, "Uneven shred from left", UnevenShredFromLeft, kStripe},
    {67, "Uneven shred out from middle (horiz)", UnevenShredOutFromMiddleHoriz, kStripe},
    {68, "Uneven shred in to middle (horiz)", UnevenShredInToMiddleHoriz, kStripe},
    {69, "Curved Reveal from top", CurvedRevealFromTop, kShape},
    {70, "Curved Reveal from bottom", CurvedRevealFromBottom, kShape},
    {71, "Bars from bottom", BarsFromBottom, kStripe},
    {72, "Bars from top", BarsFromTop, kStripe},
    {73, "Bars top then bottom", BarsTopThenBottom, kStripe},
    {74, "Bars bottom then top", BarsBottomThenTop, kStripe},
    {75, "Bars from top and bottom", BarsFromTopAndBottom, kStripe},
    {76, "Unven shred from bottom", UnevenShredFromBottom, kStripe},
    {77, "Uneven shred from top", UnevenShredFromTop, kStripe},
    {78, "Uneven shred from horizon", UnevenShredFromHorizon, kStripe},
    {79, "Uneven shred in to horizon", UnevenShredInToHorizon, kStripe},
    {80, "Curved reveal from top left", CurvedRevealFromTopLeft, kShape},
    {81, "Curved reveal from top right", CurvedRevealFromTopRight, kShape},
    {82, "Curved reveal from bottom left", CurvedRevealFromBottomLeft, kShape},
    {83, "Curved reveal from bottom right", CurvedRevealFromBottomRight, kShape},
    {84, "Elliptic reveal out from centre", EllipticRevealOutFromCentre, kShape},
    {85, "Elliptic reveal in to centre", EllipticRevealInToCentre, kShape},
    {86, "Criss Cross reveal from bottom right", CrissCrossRevealFromBottomRight, kStripe},
    {87, "Criss Cross reveal from top right", CrissCrossRevealFromTopRight, kStripe},
    {88, "Criss Cross reveal from bottom left", CrissCrossRevealFromBottomLeft, kStripe},
    {89, "Criss Cross reveal from top left", CrissCrossRevealFromTopLeft, kStripe},
    {90, "Criss Cross reveal bounce from top left", CrissCrossRevealBounceFromTopLeft, kStripe},
    {91, "Criss Cross reveal bounce from bottom left", CrissCrossRevealBounceFromBottomLeft,
     kStripe},
    {92, "Criss Cross reveal bounce from top right", CrissCrossRevealBounceFromTopRight, kStripe},
    {93, "Criss Cross reveal bounce from bottom right", CrissCrossRevealBounceFromBottomRight,
     kStripe},
    {94, "Criss Cross reveal from right top and bottom", CrissCrossRevealFromRightTopAndBottom,
     kStripe},
    {95, "Criss Cross reveal from left top and bottom", CrissCrossRevealFromLeftTopAndBottom,
     kStripe},
    {96, "Criss Cross reveal from left right and bottom", CrissCrossRevealFromLeftRightAndBottom,
     kStripe},
    {97, "Criss Cross reveal from left right and top", CrissCrossRevealFromLeftRightAndTop,
     kStripe},
    {98, "Criss Cross reveal from top left right and bottom",
     CrissCrossRevealFromTopLeftRightAndBottom, kStripe},
    {99, "Criss Cross reveal from bottom left top right", CrissCrossRevealFromBottomLeftTopRight,
     kStripe},
    {100, "Uneven shred from bottom and right", UnevenShredFromBottomAndRight, kStripe},
    {101, "Uneven shred from top and right", UnevenShredFromTopAndRight, kStripe},
    {102, "Uneven shred from bottom and left", UnevenShredFromBottomAndLeft, kStripe},
    {103, "Uneven shred from top and left", UnevenShredFromTopAndLeft, kStripe},
    {104, "Uneven shred from horiz and right", UnevenShredFromHorizAndRight, kStripe},
    {105, "Uneven shred from horiz and left", UnevenShredFromHorizAndLeft, kStripe},
    {106, "Uneven shred from bottom and vert middle", UnevenShredFromBottomAndVertMiddle, kStripe},
    {107, "Uneven shred from top and vert middle", UnevenShredFromTopAndVertMiddle, kStripe},
    {108, "Uneven shred from centre", UnevenShredFromCentre, kStripe},
    {109, "Uneven shred to centre", UnevenShredToCentre, kStripe},
    {110, "Reveal diagonal from top left", RevealDiagonalFromTopLeft, kShape},
    {111, "Reveal diagonal from top right", RevealDiagonalFromTopRight, kShape},
    {112, "Reveal diagonal from bottom left", RevealDiagonalFromBottomLeft, kShape},
    {113, "Reveal diagonal from bottom right", RevealDiagonalFromBottomRight, kShape},
    {114, "Diagonal sweep from top left bottom right anticlockwise",
     DiagonalSweepFromTopLeftBottomRightAnticlockwise, kShape},
    {115, "Diagonal sweep from top left bottom right clockwise",
     DiagonalSweepFromTopLeftBottomRightClockwise, kShape},
    {116, "Starburst clockwise from center", StarburstClockwiseFromCenter, kShape},
    {117, "Starburst anticlockwise from center", StarburstAnticlockwiseFromCenter, kShape},
    {118, "Fade", Fade, kPixel},
    {119, "Triangular shred", TriangularShred, kGrid},
    {120, "Pivot from top left", PivotFromTopLeft, kPixel},
    {121, "Pivot from bottom left", PivotFromBottomLeft, kPixel},
    {122, "Pivot from top right", PivotFromTopRight, kPixel},
    {123, "Pivot from bottom right", PivotFromBottomRight, kPixel},
    {124, "Speckle appear from right", SpeckleAppearFromRight, kStripe},
    {125, "Speckle appear from left", SpeckleAppearFromLeft, kStripe},
    {126, "Speckle appear from bottom", SpeckleAppearFromBottom, kStripe},
    {127, "Speckle appear from top", SpeckleAppearFromTop, kStripe},
    {128, "Random squares appear", RandomSquaresAppear, kGrid},
    {129, "Push right", PushRight, kCopyStretch},
    {130, "Push left", PushLeft, kCopyStretch},
    {131, "Push and squeeze right", PushAndSqueezeRight, kCopyStretch},
    {132, "Push and squeeze left", PushAndSqueezeLeft, kCopyStretch},
    {133, "Push down", PushDown, kCopyStretch},
    {134, "Push up", PushUp, kCopyStretch},
    {135, "Push and sqeeze down", PushAndSqueezeDown, kCopyStretch},
    {136, "Push and sqeeze up", PushAndSqueezeUp, kCopyStretch},
    {137, "Blind vertically", BlindVertically, kGrid},
    {138, "Blind horizontally", BlindHorizontally, kGrid},
    {139, "Uneven blind from left", UnevenBlindFromLeft, kGrid},
    {140, "Uneven blind from right", UnevenBlindFromRight, kGrid},
    {141, "Uneven blind from top", UnevenBlindFromTop, kGrid},
    {142, "Uneven blind from bottom", UnevenBlindFromBottom, kGrid},
    {143, "Rectangular shred", RectangularShred, kGrid},
    {144, "Sweep clockwise", SweepClockwise, kShape},
    {145, "Sweep anticlockwise", SweepAnticlockwise, kShape},
    {146, "Rectangles apear from left and disapear to right",
     RectanglesAppearFromLeftAndDisappearToRight, kGrid},
    {147, "Rectangles apear from right and disapear to left",
     RectanglesAppearFromRightAndDisappearToLeft, kGrid},
    {148, "Rectangles apear from up and disapear to bottom",
     RectanglesAppearFromUpAndDisappearToBottom, kGrid},
    {149, "Rectangles apear from bottom and disapear to up",
     RectanglesAppearFromBottomAndDisappearToUp, kGrid},
    {150, "Rotational rectangle in center", RotationalRectangleInCenter, kShape},
    {151, "Rotational star in center", RotationalStarInCenter, kShape},
    {152, "Spiral rectangle", SpiralRectangle, kShape},
    {153, "Circular shred", CircularShred, kGrid},
    {154, "Reveal V from left", RevealVFromLeft, kShape},
    {155, "Reveal V from right", RevealVFromRight, kShape},
    {156, "Reveal V from top", RevealVFromTop, kShape},
    {157, "Reveal V from bottom", RevealVFromBottom, kShape},
    {158, "Bow Tie Horizontal", BowTieHorizontal, kShape},
    {159, "Bow Tie Vertical", BowTieVertical, kShape},
    {160, "Diagonal Cross In", DiagonalCrossIn, kShape},
    {161, "Diagonal Cross Out", DiagonalCrossOut, kShape},
    {162, "Zigzag Horizontal", ZigzagHorizontal, kShape},
    {163, "Zigzag Vertical", ZigzagVertical, kShape},
    {164, "Diamond shred", DiamondShred, kGrid},
    {165, "Reveal diamond out from centre", RevealDiamondOutFromCentre, kShape},
    {166, "Reveal diamond in to centre", RevealDiamondInToCentre, kShape},
    {167, "Diagonal Box Out", DiagonalBoxOut, kShape},
    {168, "Pixelate", Pixelate, kPixel},
    {169, "Dissolve", Dissolve, kPixel},
    {170, "Random Bars Horizontal", RandomBarsHorizontal, kPixel},
    {171, "Random Bars Vertical", RandomBarsVertical, kPixel},
    {172, "Channel Mix", ChannelMix, kPixel},
};

namespace {

// Style numbers are stored in projects and shown in the catalogue, so a row
// inserted or dropped out of place must stop the build, not shift every
// style after it.
constexpr bool EachEntryServesItsOwnStyle() {
    for (int s = 0; s <= kEffectCount; ++s)
        if (Effects[s].Style != s) return false;
    return true;
}
static_assert(std::size(Effects) == kEffectCount + 1);
static_assert(EachEntryServesItsOwnStyle(), "entry i of the table must serve style i");

constexpr bool EveryStyleHasANameAFamilyAndItsOwnProcedure() {
    if (Effects[0].Proc != nullptr || Effects[0].Family != EffectFamily::Cut) return false;
    for (int s = 1; s <= kEffectCount; ++s) {
        if (Effects[s].Proc == nullptr || Effects[s].Name[0] == '\0') return false;
        if (Effects[s].Family == EffectFamily::Cut) return false;
        for (int t = 1; t < s; ++t)
            if (Effects[t].Proc == Effects[s].Proc) return false;
    }
    return true;
}
static_assert(EveryStyleHasANameAFamilyAndItsOwnProcedure(),
              "every style needs a name, a family and a procedure no other style uses");

// Stops at the first difference: every compiler's step limit for constant
// evaluation must hold all 14,878 pairs of names.
constexpr bool SameName(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) ++a, ++b;
    return *a == *b;
}

// Two names occur twice, each time for another procedure: 18 and 33, 25 and
// 34. Any other repeat is a copy-and-paste slip.
constexpr bool OnlyTheKnownNamesRepeat() {
    int repeats = 0;
    for (int s = 1; s <= kEffectCount; ++s)
        for (int t = 1; t < s; ++t)
            if (SameName(Effects[t].Name, Effects[s].Name)) {
                if (!((t == 18 && s == 33) || (t == 25 && s == 34))) return false;
                ++repeats;
            }
    return repeats == 2;
}
static_assert(OnlyTheKnownNamesRepeat(), "a name repeats that should not");

}  // namespace

void DrawEffect(int style, Bitmap& dest, const Bitmap& source, int percent) {
    if (style < 1 || style > kEffectCount) return;
    const int W = dest.width(), H = dest.height();
    if (W <= 0 || H <= 0 || source.width() != W || source.height() != H) return;
    // The members are written for 0..100; outside it their arithmetic overflows.
    percent = std::clamp(percent, 0, 100);
    const ProgressSize size = ProgressSizeOf(W, H, percent);
    Effects[style].Proc(dest, source, W, H, size.w, size.h, percent);
}

}  // namespace effects
