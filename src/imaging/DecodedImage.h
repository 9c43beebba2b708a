// What a decoder is asked for and what it hands back.
//
// Decoders return the picture upright (a JPEG's EXIF orientation applied) as
// a 24-bit bitmap plus, for formats that can be transparent, an alpha plane.
// A caller that will shrink the picture anyway may say so through
// DecodeRequest::reduceTo; a decoder that can decode at a reduced scale (JPEG)
// then returns fewer pixels, but never fewer than the caller asked for.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "raster/Bitmap.h"

namespace imaging {

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct DecodeRequest {
    // Called at most once, with the upright size of the picture as stored,
    // before the pixels are decoded. Returns the size the caller will reduce
    // the picture to, or nullopt to keep every pixel. A decoder honouring it
    // returns a bitmap at least that large in both directions (or the natural
    // size when that is smaller).
    std::function<std::optional<Size>(Size natural)> reduceTo;
    // Whether a small picture the file carries (a camera's EXIF thumbnail)
    // may stand in for the picture when it covers the reduced size and has
    // the picture's shape. For previews only: it says nothing of whether the
    // picture itself decodes, and shows it as it was when taken.
    bool embeddedThumbnail = false;
};

struct DecodedImage {
    raster::Bitmap pixels;  // upright; natural size unless reduceTo allowed less
    // Opacity per pixel, row by row (pixels.width() * pixels.height() bytes,
    // 255 opaque). Empty when the picture is opaque everywhere.
    std::vector<uint8_t> alpha;
    Size natural;  // upright size of the picture as stored in the file
};

// A decoder reads one file; it raises PictureError naming the file.
using DecodeFunction = DecodedImage (*)(const std::string& fileName, const DecodeRequest& request);

}  // namespace imaging
