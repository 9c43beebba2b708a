// One decoding of fuzzer bytes through a picture decoder, shared by the
// picture targets: errors must come back as PictureError (or an allocation
// failure), and a decoded picture must be as large as its pixels say.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <new>

#include "fuzz/FuzzInput.h"
#include "imaging/DecodedImage.h"
#include "imaging/ImageHeaders.h"
#include "imaging/PictureError.h"

namespace fuzz {

// The formats FFmpeg decodes for us; a leading byte picks one by position.
inline constexpr imaging::RasterFormat kFfmpegFormats[] = {
    imaging::RasterFormat::Pcx,     imaging::RasterFormat::Targa,
    imaging::RasterFormat::Sgi,     imaging::RasterFormat::Photoshop,
    imaging::RasterFormat::PhotoCd, imaging::RasterFormat::SunRaster,
    imaging::RasterFormat::Xwd};

template <typename Decode>
void DecodePicture(std::span<const uint8_t> bytes, Decode decode) {
    static MemoryFile file;
    const std::string name = file.Fill(bytes);
    if (name.empty()) std::abort();
    try {
        const imaging::DecodedImage image = decode(name);
        const auto& pixels = image.pixels;
        if (pixels.width() <= 0 || pixels.height() <= 0) std::abort();
        if (!image.alpha.empty() &&
            image.alpha.size() != static_cast<size_t>(pixels.width()) * pixels.height())
            std::abort();
    } catch (const imaging::PictureError&) {
    } catch (const std::bad_alloc&) {
    }
}

}  // namespace fuzz
