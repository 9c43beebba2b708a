// Whether a picture file holds all the data its own structure announces.
//
// Some decoders return what they could read of a cut-off file without a
// word: Qt's BMP and GIF readers, and FFmpeg's Sun raster decoder for
// run-length data. The rest of the picture comes out black or stays
// unpainted, and such a file would go into a video unnoticed. These checks
// walk the file's structure (not its pixels) and say what is missing.
// Bytes beyond the announced end are no damage.
#pragma once

#include <cstdint>
#include <span>

#include "base/Result.h"

namespace imaging {

enum class StructuredFormat { Bmp, Gif, SunRaster };

// Ok when every announced byte is there (or the structure is one this check
// does not know; the decoder judges those); otherwise a BadData fault whose
// message says what is missing, for the caller to put behind the file name.
base::Status CheckComplete(StructuredFormat format, std::span<const uint8_t> bytes);

}  // namespace imaging
