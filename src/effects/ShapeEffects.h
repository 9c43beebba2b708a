// Shape reveals: curves, ellipses, diagonals, sweeps, starbursts, turning shapes, V, bow tie,
// zigzag and diamonds.
//
// Every procedure follows the contract of Effects.h; styles are given beside
// each declaration.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "effects/Effects.h"
#include "effects/Primitives.h"
#include "raster/Geometry.h"

namespace effects {

// Fan of Count + 1 vertices: (CX, CY), then Count points on the circle of
// Radius from angle Start in steps of (End - Start) / Count, so the last
// point falls one step short of End. Angles in radians, y downward, so a
// growing angle turns clockwise on screen. No area for Count <= 1.
Region SectorRegion(int CX, int CY, int Radius, long double Start, long double End, int Count);
// The vertices of that fan, in drawing order.
std::vector<raster::Point> SectorPoints(int CX, int CY, int Radius, long double Start,
                                        long double End, int Count);

// Turns every point about (CX, CY) by Angle (clockwise on screen when
// positive), rounding each coordinate to the nearest, ties to even.
void RotatePoints(std::span<raster::Point> points, int CX, int CY, long double Angle);

// Radius of the sweep: reaches the corners from the centre (W div 2, H div 2).
int SweepRadius(int Width, int Height);

// Angle of the turning shapes: a full turn at p = 100, the other way round
// when the incoming picture's handle is odd.
long double TurningAngle(int Percent, uint32_t SourceHandle);

TEffectFunction CurvedRevealFromLeft;                              // 58
TEffectFunction CurvedRevealFromRight;                             // 59
TEffectFunction CurvedRevealFromTop;                               // 69
TEffectFunction CurvedRevealFromBottom;                            // 70
TEffectFunction CurvedRevealFromTopLeft;                           // 80
TEffectFunction CurvedRevealFromTopRight;                          // 81
TEffectFunction CurvedRevealFromBottomLeft;                        // 82
TEffectFunction CurvedRevealFromBottomRight;                       // 83
TEffectFunction EllipticRevealOutFromCentre;                       // 84
TEffectFunction EllipticRevealInToCentre;                          // 85
TEffectFunction RevealDiagonalFromTopLeft;                         // 110
TEffectFunction RevealDiagonalFromTopRight;                        // 111
TEffectFunction RevealDiagonalFromBottomLeft;                      // 112
TEffectFunction RevealDiagonalFromBottomRight;                     // 113
TEffectFunction DiagonalSweepFromTopLeftBottomRightAnticlockwise;  // 114
TEffectFunction DiagonalSweepFromTopLeftBottomRightClockwise;      // 115
TEffectFunction StarburstClockwiseFromCenter;                      // 116
TEffectFunction StarburstAnticlockwiseFromCenter;                  // 117
TEffectFunction SweepClockwise;                                    // 144
TEffectFunction SweepAnticlockwise;                                // 145
TEffectFunction RotationalRectangleInCenter;                       // 150
TEffectFunction RotationalStarInCenter;                            // 151
TEffectFunction SpiralRectangle;                                   // 152
TEffectFunction RevealVFromLeft;                                   // 154
TEffectFunction RevealVFromRight;                                  // 155
TEffectFunction RevealVFromTop;                                    // 156
TEffectFunction RevealVFromBottom;                                 // 157
TEffectFunction BowTieHorizontal;                                  // 158
TEffectFunction BowTieVertical;                                    // 159
TEffectFunction DiagonalCrossIn;                                   // 160
TEffectFunction DiagonalCrossOut;                                  // 161
TEffectFunction ZigzagHorizontal;                                  // 162
TEffectFunction ZigzagVertical;                                    // 163
TEffectFunction RevealDiamondOutFromCentre;                        // 165
TEffectFunction RevealDiamondInToCentre;                           // 166
TEffectFunction DiagonalBoxOut;                                    // 167

}  // namespace effects
