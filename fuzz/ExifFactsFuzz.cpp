// The facts read from a picture's EXIF block for captions and sorting: the
// JPEG segment walk in front of it, or libheif's Exif item, then the block
// itself through libexif. The first byte picks the container.
#include "fuzz/FuzzInput.h"
#include "imaging/HeifDecoder.h"
#include "imaging/PictureFacts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto input = fuzz::SelectBy(data, size, 3);
    switch (input.choice) {
        case 0:
            (void)imaging::ReadExifFacts(imaging::JpegExifBlock(input.payload));
            break;
        case 1:
            (void)imaging::ReadExifFacts(imaging::HeifExifBlock(input.payload));
            break;
        default:
            (void)imaging::ReadExifFacts(input.payload);
            break;
    }
    return 0;
}
