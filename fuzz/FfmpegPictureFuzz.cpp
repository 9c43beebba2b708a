// The formats read through FFmpeg's image decoders, header check included;
// the first byte picks one.
#include <iterator>

#include "fuzz/PictureFuzz.h"
#include "imaging/FfmpegDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto input = fuzz::SelectBy(data, size, std::size(fuzz::kFfmpegFormats));
    fuzz::DecodePicture(input.payload, [&](const std::string& name) {
        return imaging::DecodeWithFfmpeg(name, fuzz::kFfmpegFormats[input.choice]);
    });
    return 0;
}
