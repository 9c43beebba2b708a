// Camera RAW files (.cr2, .cr3, .nef, .arw, .dng, .orf, .rw2, .raf) through
// LibRaw.
//
// Most cameras embed a JPEG preview; where it is the picture at full size, or
// covers the size the caller will shrink the picture to, it is used: it
// decodes as fast as any JPEG (at a reduced DCT scale where asked) and looks
// as the camera showed it. Otherwise LibRaw develops the sensor data, at half
// size when that still covers the requested size. The camera's orientation
// is applied either way. A file without a readable picture is refused with
// PictureError.
#pragma once

#include <string>

#include "imaging/DecodedImage.h"

namespace imaging {

DecodedImage DecodeRaw(const std::string& fileName, const DecodeRequest& request);

}  // namespace imaging
