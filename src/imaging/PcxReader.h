// PCX pictures of 8 bits a plane: one plane with the 256-colour table at the
// end of the file, three planes (RGB) or four (RGB and opacity), read by our
// own bounded reader. FFmpeg's decoder refuses the four-plane kind that
// ImageMagick and others write for pictures with transparency; the older
// 1-, 2- and 4-bit kinds still go to FFmpeg.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "imaging/DecodedImage.h"

namespace imaging {

// Whether the header describes a picture this reader decodes.
bool IsPcxOfByteSamples(std::span<const uint8_t> header);

// Raises PictureError for anything else, or for broken or cut-off data.
DecodedImage DecodePcx(const std::string& fileName, const DecodeRequest& request);

}  // namespace imaging
