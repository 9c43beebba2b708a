// The picture decoders, registered by file extension, and the one place that
// chooses the decoder for a file.
//
// Extensions are written upper-case with their dot (".JPG") and match without
// regard to case. A file's first bytes choose the decoder when they carry a
// known signature (see PictureSignatures.h), so a PNG named ".jpg" is read as
// the PNG it is; the extension decides only when the content says nothing,
// or when it names a format built inside the container the content shows
// (a ".NEF" file's TIFF signature).
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
    // The registered extension whose signature files of this kind carry
    // (most camera RAW files are TIFF files inside); under this extension
    // such content is read by this decoder. Empty for formats of their own.
    std::string_view container = {};
};

// The upper-cased extension of a path, dot included; "" when it has none.
std::string UpperExtension(const std::string& fileName);

// The decoder registered for an extension (any case, dot included), or null.
const DecoderInfo* FindDecoder(std::string_view extension);

// Every registered extension, in a fixed order.
const std::vector<DecoderInfo>& RegisteredDecoders();

// The decoder for a file: the one its content names, else the one of its
// extension. Raises PictureError for a missing, unreadable or empty file, a
// file neither content nor extension names a decoder for, and a metafile.
const DecoderInfo& ChooseDecoder(const std::string& fileName);

// Decodes a file with the decoder ChooseDecoder picks. Raises what it raises
// and whatever the decoder raises.
DecodedImage DecodePictureFile(const std::string& fileName, const DecodeRequest& request = {});

}  // namespace imaging
