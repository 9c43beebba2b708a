// HEIF pictures (HEIC from phones, AVIF from the web) through libheif.
//
// The primary picture of the file is read, turned upright by the rotation and
// mirror transforms the file carries, or, when it carries none, by its EXIF
// orientation. Pictures with more than 8 bits a sample are reduced to 8 with
// rounding. A caller that will shrink the picture gets the smallest embedded
// thumbnail that still covers the requested size, where the file has one;
// HEVC and AV1 cannot be decoded at a reduced scale otherwise. A cut-off or
// broken file comes back as PictureError, never as a half-grey picture.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/DecodedImage.h"

namespace imaging {

DecodedImage DecodeHeif(const std::string& fileName, const DecodeRequest& request);

// The primary picture's EXIF block of a HEIF file in memory, starting
// "Exif\0\0" as a JPEG's does; empty when it has none or is no HEIF file.
std::vector<uint8_t> HeifExifBlock(std::span<const uint8_t> file);

}  // namespace imaging
