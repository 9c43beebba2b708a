#include <gtest/gtest.h>

#include "imaging/DecoderRegistry.h"
#include "imaging/ImagingTestUtil.h"
#include "imaging/TestPictures.h"
#include "raster/Blit.h"

namespace imaging {
namespace {

using namespace imaging::testing;

struct Corners {
    Color tl, tr, bl, br;
};

Corners CornersOf(const raster::Bitmap& b) {
    // Quadrant centres, away from JPEG ringing at the edges between them.
    const int w = b.width(), h = b.height();
    return {b.pixel(w / 4, h / 4), b.pixel(3 * w / 4, h / 4), b.pixel(w / 4, 3 * h / 4),
            b.pixel(3 * w / 4, 3 * h / 4)};
}

TEST(JpegDecoder, AppliesEveryExifOrientation) {
    TempDir dir;
    // Stored picture: red, green over blue, white; 64 wide, 32 high.
    const raster::Bitmap stored = Quadrants(64, 32, kRed, kGreen, kBlue, kWhite);
    // What a viewer shows for each orientation, worked out by hand.
    const Corners upright[9] = {
        {},
        {kRed, kGreen, kBlue, kWhite},  // 1 as stored
        {kGreen, kRed, kWhite, kBlue},  // 2 mirrored left to right
        {kWhite, kBlue, kGreen, kRed},  // 3 half turn
        {kBlue, kWhite, kRed, kGreen},  // 4 mirrored top to bottom
        {kRed, kBlue, kGreen, kWhite},  // 5 transposed
        {kBlue, kRed, kWhite, kGreen},  // 6 quarter turn clockwise
        {kWhite, kGreen, kBlue, kRed},  // 7 transversed
        {kGreen, kWhite, kRed, kBlue},  // 8 quarter turn anticlockwise
    };
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const std::string path = dir.file("o" + std::to_string(orientation) + ".jpg");
        JpegOptions options;
        options.quality = 95;
        options.app1 = ExifOrientation(orientation, orientation % 2 == 0);
        WriteFile(path, EncodeJpeg(stored, options));

        const DecodedImage image = DecodePictureFile(path);
        const bool swapped = orientation >= 5;
        EXPECT_EQ(image.pixels.width(), swapped ? 32 : 64);
        EXPECT_EQ(image.pixels.height(), swapped ? 64 : 32);
        EXPECT_EQ(image.natural, (Size{image.pixels.width(), image.pixels.height()}));
        const Corners got = CornersOf(image.pixels);
        EXPECT_TRUE(Near(got.tl, upright[orientation].tl, 8));
        EXPECT_TRUE(Near(got.tr, upright[orientation].tr, 8));
        EXPECT_TRUE(Near(got.bl, upright[orientation].bl, 8));
        EXPECT_TRUE(Near(got.br, upright[orientation].br, 8));
    }
}

TEST(JpegDecoder, PicksTheSmallestDctScaleThatStillCoversTheTarget) {
    TempDir dir;
    const std::string path = dir.file("photo.jpg");
    WriteFile(path, EncodeJpeg(PhotoLike(1600, 1200)));
    struct Case {
        Size target, decoded;
    };
    const Case cases[] = {
        {{200, 150}, {200, 150}},      // 1/8 exactly
        {{201, 150}, {400, 300}},      // one pixel more needs 2/8
        {{720, 540}, {800, 600}},      // 3/8 gives 600 x 450, too small
        {{1500, 1125}, {1600, 1200}},  // 7/8 gives 1400 x 1050
        {{2000, 1500}, {1600, 1200}},  // never more than the natural size
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target.width);
        DecodeRequest request;
        Size seen;
        request.reduceTo = [&](Size natural) {
            seen = natural;
            return std::optional<Size>(c.target);
        };
        const DecodedImage image = DecodePictureFile(path, request);
        EXPECT_EQ(seen, (Size{1600, 1200}));
        EXPECT_EQ(image.natural, (Size{1600, 1200}));
        EXPECT_EQ((Size{image.pixels.width(), image.pixels.height()}), c.decoded);
    }
}

// The scaled path must look like a full decode followed by the same area
// reduction.
TEST(JpegDecoder, ScaledDecodeMatchesFullDecodeAndReduction) {
    TempDir dir;
    struct Case {
        int orientation;
        Size target;
    };
    const Case cases[] = {
        {1, {200, 150}}, {1, {300, 225}}, {1, {720, 540}}, {1, {1000, 750}}, {6, {300, 400}}};
    const std::string path = dir.file("photo.jpg");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target.width);
        JpegOptions options;
        options.app1 = ExifOrientation(c.orientation, true);
        WriteFile(path, EncodeJpeg(PhotoLike(1600, 1200, 7), options));
        const DecodedImage full = DecodePictureFile(path);
        DecodeRequest request;
        request.reduceTo = [&](Size) { return std::optional<Size>(c.target); };
        const DecodedImage scaled = DecodePictureFile(path, request);
        EXPECT_LT(scaled.pixels.width(), full.pixels.width());
        const raster::Bitmap reference =
            raster::ResampleArea(full.pixels, c.target.width, c.target.height);
        const raster::Bitmap result =
            raster::ResampleArea(scaled.pixels, c.target.width, c.target.height);
        EXPECT_GE(Psnr(reference, result), 40.0);
    }
}

TEST(JpegDecoder, GreyAndCmykPicturesComeOutInColourOrder) {
    TempDir dir;
    const raster::Bitmap stored = Quadrants(32, 32, kRed, kGreen, kBlue, RGB(40, 80, 160));
    JpegOptions cmyk;
    cmyk.cmyk = true;
    cmyk.quality = 95;
    WriteFile(dir.file("cmyk.jpg"), EncodeJpeg(stored, cmyk));
    const Corners got = CornersOf(DecodePictureFile(dir.file("cmyk.jpg")).pixels);
    EXPECT_TRUE(Near(got.tl, kRed, 8));
    EXPECT_TRUE(Near(got.tr, kGreen, 8));
    EXPECT_TRUE(Near(got.bl, kBlue, 8));
    EXPECT_TRUE(Near(got.br, RGB(40, 80, 160), 8));

    const raster::Bitmap grey =
        Quadrants(32, 32, RGB(0, 0, 0), RGB(90, 90, 90), RGB(180, 180, 180), kWhite);
    QImage greyImage = ToQImage(grey).convertToFormat(QImage::Format_Grayscale8);
    ASSERT_TRUE(greyImage.save(QString::fromStdString(dir.file("grey.jpg")), "jpeg", 95));
    const Corners g = CornersOf(DecodePictureFile(dir.file("grey.jpg")).pixels);
    EXPECT_TRUE(Near(g.tr, RGB(90, 90, 90), 4));
    EXPECT_TRUE(Near(g.bl, RGB(180, 180, 180), 4));
}

}  // namespace
}  // namespace imaging
