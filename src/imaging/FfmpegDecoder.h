// Pictures read through FFmpeg's image decoders: PCX, Targa, SGI, Photoshop,
// Photo-CD, Sun raster and XWD.
//
// The codec follows from the registry's choice, never from FFmpeg's own
// probing. The header
// is checked before the decoder runs (see ImageHeaders.h), and the decoded
// frame, whatever its pixel format, is converted with libswscale.
#pragma once

#include <string>

#include "imaging/DecodedImage.h"
#include "imaging/ImageHeaders.h"

namespace imaging {

DecodedImage DecodeWithFfmpeg(const std::string& fileName, RasterFormat format);

}  // namespace imaging
