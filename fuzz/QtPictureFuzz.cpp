// The formats read through Qt's image readers; the first byte picks one.
#include <iterator>

#include "fuzz/PictureFuzz.h"
#include "imaging/QtDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const kFormats[] = {"png", "gif", "bmp", "tiff", "webp", "ico",
                                           "cur", "pbm", "pgm", "ppm",  "xpm",  "xbm"};
    const auto input = fuzz::SelectBy(data, size, std::size(kFormats));
    fuzz::DecodePicture(input.payload, [&](const std::string& name) {
        return imaging::DecodeWithQt(name, kFormats[input.choice]);
    });
    return 0;
}
