// Turning a picture upright from the orientation its camera recorded.
//
// Values are those of the EXIF Orientation tag: 1 upright, 2 mirrored left to
// right, 3 turned half round, 4 mirrored top to bottom, 5 mirrored across the
// main diagonal, 6 stored turned a quarter anticlockwise (shown turned
// clockwise), 7 mirrored across the other diagonal, 8 stored turned a quarter
// clockwise. Values 5 to 8 swap width and height.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "raster/Bitmap.h"

namespace imaging {

// True for the orientations that swap width and height.
constexpr bool SwapsAxes(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

// The upright picture for a stored one. Unknown values leave it as it is.
raster::Bitmap Reorient(raster::Bitmap stored, int orientation);

// The same for an opacity plane (width x height bytes, row by row); returns
// the upright plane. Empty stays empty.
std::vector<uint8_t> ReorientPlane(std::vector<uint8_t> plane, int width, int height,
                                   int orientation);

// The Orientation tag of an EXIF block that starts "Exif\0\0" (as a JPEG's
// APP1 segment does); 1 when there is none or it is out of range.
int ExifOrientation(std::span<const uint8_t> exif);

}  // namespace imaging
