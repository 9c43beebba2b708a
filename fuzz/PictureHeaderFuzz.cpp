// The header checks that stand before FFmpeg's image decoders: the first
// byte picks the format, the rest is the file.
#include <cstdint>
#include <cstdlib>
#include <iterator>

#include "fuzz/PictureFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto input = fuzz::SelectBy(data, size, std::size(fuzz::kFfmpegFormats));
    const auto header = imaging::PeekHeaderSize(fuzz::kFfmpegFormats[input.choice], input.payload);
    if (header && (header->width < 0 || header->height < 0)) std::abort();
    return 0;
}
