// Header checks for the raster formats that FFmpeg decodes.
//
// FFmpeg's image decoders accept almost any bytes for some formats (a Targa
// file has no signature) and learn the picture size only while decoding. We
// read the fixed header ourselves first, so that a file whose content does
// not match the chosen format, and a picture above the pixel limit, are refused
// before the decoder allocates anything.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace imaging {

enum class RasterFormat { Pcx, Targa, Sgi, Photoshop, PhotoCd, SunRaster, Xwd };

struct HeaderSize {
    int64_t width = 0;
    int64_t height = 0;
};

// The name of the format in messages.
const char* FormatName(RasterFormat format);

// The picture size declared by the header, or nullopt when the bytes do not
// start with a plausible header of that format.
std::optional<HeaderSize> PeekHeaderSize(RasterFormat format, std::span<const uint8_t> bytes);

}  // namespace imaging
