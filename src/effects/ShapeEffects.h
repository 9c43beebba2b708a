// Shape reveals: curves, ellipses, diagonals, sweeps, starbursts, turning shapes, V, bow tie,
// zigzag and diamonds.
//
// Every procedure follows the contract of Effects.h; the table in
// EffectTable.cpp gives each its style.
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

TEffectFunction CurvedRevealFromLeft;
TEffectFunction CurvedRevealFromRight;
TEffectFunction CurvedRevealFromTop;
TEffectFunction CurvedRevealFromBottom;
TEffectFunction CurvedRevealFromTopLeft;
TEffectFunction CurvedRevealFromTopRight;
TEffectFunction CurvedRevealFromBottomLeft;
TEffectFunction CurvedRevealFromBottomRight;
TEffectFunction EllipticRevealOutFromCentre;
TEffectFunction EllipticRevealInToCentre;
TEffectFunction RevealDiagonalFromTopLeft;
TEffectFunction RevealDiagonalFromTopRight;
TEffectFunction RevealDiagonalFromBottomLeft;
TEffectFunction RevealDiagonalFromBottomRight;
TEffectFunction DiagonalSweepFromTopLeftBottomRightAnticlockwise;
TEffectFunction DiagonalSweepFromTopLeftBottomRightClockwise;
TEffectFunction StarburstClockwiseFromCenter;
TEffectFunction StarburstAnticlockwiseFromCenter;
TEffectFunction SweepClockwise;
TEffectFunction SweepAnticlockwise;
TEffectFunction RotationalRectangleInCenter;
TEffectFunction RotationalStarInCenter;
TEffectFunction SpiralRectangle;
TEffectFunction RevealVFromLeft;
TEffectFunction RevealVFromRight;
TEffectFunction RevealVFromTop;
TEffectFunction RevealVFromBottom;
TEffectFunction BowTieHorizontal;
TEffectFunction BowTieVertical;
TEffectFunction DiagonalCrossIn;
TEffectFunction DiagonalCrossOut;
TEffectFunction ZigzagHorizontal;
TEffectFunction ZigzagVertical;
TEffectFunction RevealDiamondOutFromCentre;
TEffectFunction RevealDiamondInToCentre;
TEffectFunction DiagonalBoxOut;

}  // namespace effects
