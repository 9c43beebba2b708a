// JPEG pictures through libjpeg-turbo.
//
// When the caller will shrink the picture (DecodeRequest::reduceTo), the
// picture is decoded at the smallest DCT scale M/8 (M = 1..8) whose output is
// still at least the requested size in both directions: a 24-megapixel photo
// meant for a 720 x 576 frame is decoded at 1/8 and never fully expanded.
// The EXIF orientation is applied, so a phone photo taken upright shows
// upright. libjpeg errors never end the process: they come back as
// PictureError. A truncated file gives what could be decoded (libjpeg fills
// the rest), a broken header a clean error.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "imaging/DecodedImage.h"

namespace imaging {

DecodedImage DecodeJpeg(const std::string& fileName, const DecodeRequest& request);

// The same for a JPEG held in memory (a preview inside another file, which
// 'fileName' names in messages). A preview's orientation is its container's,
// so its own EXIF orientation can be left unapplied.
DecodedImage DecodeJpegBytes(const std::string& fileName, std::span<const uint8_t> bytes,
                             const DecodeRequest& request, bool applyExifOrientation);

}  // namespace imaging
