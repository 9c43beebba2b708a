// Photoshop pictures: the merged image every PSD file carries after its
// layers, read by our own bounded reader.
//
// FFmpeg's decoder refuses the merged image of many layered files (the
// run-length image as ImageMagick and several editors write it), so the
// whole format is read here: 1-bit bitmap, greyscale, duotone (as grey),
// indexed, RGB and CMYK, at 8 or 16 bits, uncompressed or run-length
// encoded, with an alpha channel where the mode has an extra one. The reader
// decodes row by row straight from the file's bytes, so it allocates no more
// than the picture; sizes are checked against the 100-megapixel limit first,
// and every run is checked against the file's end. Large documents (PSB),
// 32-bit and Lab files are refused with a message naming the reason.
#pragma once

#include <string>

#include "imaging/DecodedImage.h"

namespace imaging {

DecodedImage DecodePsd(const std::string& fileName, const DecodeRequest& request);

}  // namespace imaging
