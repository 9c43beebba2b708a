// JPEG pictures through libjpeg-turbo and the EXIF orientation; the first
// byte asks for a reduced decode (1/1 to 1/8 of the stored size), and
// whether the EXIF thumbnail may stand in for it (libexif, then a second
// JPEG decode of bytes from inside the first).
#include <optional>

#include "fuzz/PictureFuzz.h"
#include "imaging/JpegDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto input = fuzz::SelectBy(data, size, 16);
    const int scale = static_cast<int>(input.choice % 8) + 1;
    imaging::DecodeRequest request;
    request.embeddedThumbnail = input.choice >= 8;
    request.reduceTo = [scale](imaging::Size natural) -> std::optional<imaging::Size> {
        if (scale == 1) return std::nullopt;
        return imaging::Size{natural.width / scale, natural.height / scale};
    };
    fuzz::DecodePicture(
        input.payload, [&](const std::string& name) { return imaging::DecodeJpeg(name, request); });
    return 0;
}
