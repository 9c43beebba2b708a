// The background pictures the build draws into the program folder: enough of
// them, large enough for any frame, readable by our own decoders, and each
// a picture rather than one flat colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "imaging/DecoderRegistry.h"

namespace imaging {
namespace {

TEST(ShippedBackgrounds, TheProgramFolderHoldsLargeJpegPictures) {
    const std::filesystem::path folder = std::filesystem::path(VANTO_OUTPUT_DIR) / "background";
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".jpg") continue;
        SCOPED_TRACE(entry.path().string());
        ++count;
        const DecodedImage image = DecodePictureFile(entry.path().string());
        EXPECT_GE(image.pixels.width(), 1920);
        EXPECT_GE(image.pixels.height(), 1080);
        int darkest = 255 * 3, lightest = 0;
        for (int y = 0; y < image.pixels.height(); y += 37)
            for (int x = 0; x < image.pixels.width(); x += 41) {
                const uint8_t* p = image.pixels.row(y) + 3 * x;
                darkest = std::min(darkest, p[0] + p[1] + p[2]);
                lightest = std::max(lightest, p[0] + p[1] + p[2]);
            }
        EXPECT_GT(lightest - darkest, 12);
    }
    EXPECT_GE(count, 6);
}

}  // namespace
}  // namespace imaging
