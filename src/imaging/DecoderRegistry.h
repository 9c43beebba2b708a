// The picture decoders, registered by file extension.
//
// Extensions are written upper-case with their dot (".JPG") and match without
// regard to case. The decoder is chosen by the extension alone: a file whose
// content is of another kind is an error, never decoded as that other kind.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "imaging/DecodedImage.h"

namespace imaging {

struct DecoderInfo {
    std::string_view extension;  // ".JPG"
    std::string_view format;     // a short name of the format, for messages and file filters
    DecodeFunction decode;       // null where the platform has no decoder (metafiles)
};

// The upper-cased extension of a path, dot included; "" when it has none.
std::string UpperExtension(const std::string& fileName);

// The decoder registered for an extension (any case, dot included), or null.
const DecoderInfo* FindDecoder(std::string_view extension);

// Every registered extension, in a fixed order.
const std::vector<DecoderInfo>& RegisteredDecoders();

// Decodes a file with the decoder of its extension. Raises PictureError for a
// missing, unreadable or empty file, an extension nobody registered, a
// metafile, and whatever the decoder raises.
DecodedImage DecodePictureFile(const std::string& fileName, const DecodeRequest& request = {});

}  // namespace imaging
