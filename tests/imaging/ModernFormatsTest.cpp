// HEIF and AVIF, camera RAW, WebP, and the Photoshop and PCX kinds FFmpeg
// refuses, from files made here with Debian's encoders and ImageMagick.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ModernPictures.h"
#include "imaging/DecoderRegistry.h"
#include "imaging/ImagingTestUtil.h"
#include "imaging/JpegDecoder.h"
#include "imaging/Orientation.h"
#include "imaging/PictureError.h"
#include "imaging/PictureLoader.h"
#include "imaging/TestPictures.h"

namespace imaging {
namespace {

using namespace imaging::testing;
using testpictures::EncodeHeif;
using testpictures::HeifSample;
using testpictures::RunTool;

constexpr Color kYellow = RGB(250, 220, 0);

// Upright: red above blue. Phones store it turned; the file says how to turn
// it back.
raster::Bitmap Upright() {
    return Quadrants(24, 48, kRed, kRed, kBlue, kBlue);
}

void ExpectUpright(const DecodedImage& image, int tolerance) {
    ASSERT_EQ(image.pixels.width(), 24);
    ASSERT_EQ(image.pixels.height(), 48);
    EXPECT_EQ(image.natural, (Size{24, 48}));
    EXPECT_TRUE(Near(image.pixels.pixel(12, 8), kRed, tolerance))
        << std::hex << image.pixels.pixel(12, 8);
    EXPECT_TRUE(Near(image.pixels.pixel(12, 40), kBlue, tolerance))
        << std::hex << image.pixels.pixel(12, 40);
}

TEST(ModernFormats, HeifIsTurnedUprightByItsTransformsOrElseItsExif) {
    TempDir dir;
    // The stored picture is the upright one turned a quarter anticlockwise:
    // orientation 6 turns it back.
    const raster::Bitmap stored = Reorient(Upright(), 8);
    const struct {
        const char* name;
        heif_orientation transform;
        int exif;
    } cases[] = {
        {"transform.heic", heif_orientation_rotate_90_cw, 0},
        {"exif-only.heic", heif_orientation_normal, 6},
        // Phones write both; turning twice would leave it upside down.
        {"both.heic", heif_orientation_rotate_90_cw, 6},
        {"transform.avif", heif_orientation_rotate_90_cw, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HeifSample sample;
        sample.avif = std::string(c.name).ends_with(".avif");
        sample.transform = c.transform;
        sample.exifOrientation = c.exif;
        WriteFile(dir.file(c.name), EncodeHeif(stored, sample));
        EXPECT_EQ(ChooseDecoder(dir.file(c.name)).format, sample.avif ? "AVIF" : "HEIF");
        ExpectUpright(DecodePictureFile(dir.file(c.name)), 24);
    }
}

TEST(ModernFormats, TenBitHeifIsRoundedToEightBits) {
    TempDir dir;
    // Three grey bands whose 10-bit values a shift would cut down: 3 is
    // 0.75 of an 8-bit step, 203 is 50.6, 1023 is 255.
    const uint16_t bands[3] = {3, 203, 1023};
    const uint8_t expected[3] = {1, 51, 255};
    HeifSample sample;
    sample.bits = 10;
    sample.lossless = true;
    const raster::Bitmap picture(48, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 48; ++x) sample.grey10.push_back(bands[x / 16]);
    WriteFile(dir.file("deep.heic"), EncodeHeif(picture, sample));
    const DecodedImage image = DecodePictureFile(dir.file("deep.heic"));
    ASSERT_EQ(image.pixels.width(), 48);
    for (int band = 0; band < 3; ++band) {
        const uint8_t v = expected[band];
        EXPECT_EQ(image.pixels.pixel(16 * band + 8, 8), RGB(v, v, v)) << "band " << band;
    }
}

TEST(ModernFormats, AvifAlphaIsFlattenedOntoTheFill) {
    TempDir dir;
    HeifSample sample;
    sample.avif = true;
    sample.alpha.assign(32 * 32, 255);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 16; ++x) sample.alpha[size_t(y) * 32 + size_t(x)] = 0;
    WriteFile(dir.file("clear-left.avif"), EncodeHeif(raster::Bitmap(32, 32, kRed), sample));
    const auto loaded = LoadByContent(dir.file("clear-left.avif"), kGreen);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(Near(loaded->bitmap.pixel(4, 16), kGreen, 12));
    EXPECT_TRUE(Near(loaded->bitmap.pixel(28, 16), kRed, 12));
    EXPECT_FALSE(loaded->opacity.isEmpty());
}

// A caller that shrinks the picture anyway gets the file's thumbnail when it
// is large enough, and the full picture when it is not.
TEST(ModernFormats, HeifThumbnailServesReducedDecodes) {
    TempDir dir;
    HeifSample sample;
    sample.thumbnailBox = 80;
    WriteFile(dir.file("big.heic"),
              EncodeHeif(Quadrants(320, 240, kRed, kGreen, kBlue, kWhite), sample));
    for (const auto& [box, width] : {std::pair{Size{60, 45}, 80}, {Size{200, 150}, 320}}) {
        DecodeRequest request;
        request.reduceTo = [wanted = box](Size) { return std::optional<Size>(wanted); };
        const DecodedImage image = DecodePictureFile(dir.file("big.heic"), request);
        EXPECT_EQ(image.natural, (Size{320, 240}));
        EXPECT_EQ(image.pixels.width(), width);
        EXPECT_TRUE(Near(image.pixels.pixel(width * 3 / 4, width * 3 / 16), kGreen, 24));
    }
}

TEST(ModernFormats, DngUsesItsEmbeddedPreviewElseTheSensorData) {
    TempDir dir;
    // The preview is yellow and the sensor grey, so the colour tells which
    // was used.
    testpictures::DngSample withPreview;
    withPreview.sensor = raster::Bitmap(64, 48, RGB(128, 128, 128));
    withPreview.previewJpeg = EncodeJpeg(raster::Bitmap(64, 48, kYellow));
    withPreview.previewWidth = 64;
    withPreview.previewHeight = 48;
    WriteFile(dir.file("preview.dng"), testpictures::MakeDng(withPreview));
    const DecodedImage preview = DecodePictureFile(dir.file("preview.dng"));
    EXPECT_EQ(preview.natural, (Size{64, 48}));
    EXPECT_TRUE(Near(preview.pixels.pixel(32, 24), kYellow, 8))
        << std::hex << preview.pixels.pixel(32, 24);

    // No preview: the sensor data is developed; bright above dark once the
    // camera's quarter turn is applied.
    testpictures::DngSample sensorOnly;
    sensorOnly.sensor =
        Reorient(Quadrants(32, 64, kWhite, kWhite, RGB(20, 20, 20), RGB(20, 20, 20)), 8);
    sensorOnly.orientation = 6;
    WriteFile(dir.file("sensor.dng"), testpictures::MakeDng(sensorOnly));
    const DecodedImage developed = DecodePictureFile(dir.file("sensor.dng"));
    ASSERT_EQ(developed.pixels.width(), 32);
    ASSERT_EQ(developed.pixels.height(), 64);
    const auto luma = [&](int x, int y) {
        const Color c = developed.pixels.pixel(x, y);
        return raster::RedOf(c) + raster::GreenOf(c) + raster::BlueOf(c);
    };
    EXPECT_GT(luma(16, 12), luma(16, 52) + 200);
}

TEST(ModernFormats, AnimatedWebpGivesItsFirstFrameWithAlpha) {
    TempDir dir;
    const Bytes alpha(20 * 20, 128);
    ASSERT_TRUE(ToQImage(raster::Bitmap(20, 20, kRed), alpha)
                    .save(QString::fromStdString(dir.file("1.png"))));
    ASSERT_TRUE(
        ToQImage(raster::Bitmap(20, 20, kBlue)).save(QString::fromStdString(dir.file("2.png"))));
    ASSERT_TRUE(RunTool("img2webp -lossless -loop 0 '" + dir.file("1.png") + "' '" +
                        dir.file("2.png") + "' -o '" + dir.file("moving.webp") + "'"));
    const DecodedImage image = DecodePictureFile(dir.file("moving.webp"));
    EXPECT_TRUE(Near(image.pixels.pixel(10, 10), kRed, 2))
        << std::hex << image.pixels.pixel(10, 10);
    ASSERT_EQ(image.alpha.size(), 400u);
    EXPECT_NEAR(image.alpha[210], 128, 2);
}

// Files as ImageMagick writes them: layered Photoshop documents whose merged
// image is run-length encoded, every colour mode and depth, and PCX with an
// opacity plane.
TEST(ModernFormats, PhotoshopAndPcxWrittenByImageMagick) {
    TempDir dir;
    const std::string source = dir.file("q.png");
    ASSERT_TRUE(ToQImage(Quadrants(40, 30, kRed, kGreen, kBlue, RGB(10, 120, 250)))
                    .save(QString::fromStdString(source)));
    const std::string layer = dir.file("layer.png");
    ASSERT_TRUE(ToQImage(raster::Bitmap(20, 15, kWhite)).save(QString::fromStdString(layer)));
    const Color quadrants[4] = {kRed, kGreen, kBlue, RGB(10, 120, 250)};
    const struct {
        const char* name;
        const char* options;
        bool layered;  // the first image is the merged one, the others the layers
        bool grey;
    } cases[] = {
        {"layered-rle.psd", "-type TrueColor -compress RLE", true, false},
        {"raw.psd", "-type TrueColor -compress None", false, false},
        {"deep.psd", "-type TrueColor -depth 16 -compress RLE", true, false},
        {"cmyk.psd", "-colorspace CMYK -compress RLE", false, false},
        {"grey.psd", "-colorspace Gray -compress RLE", false, true},
        {"rgb.pcx", "-type TrueColor", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = dir.file(c.name);
        const std::string inputs =
            "'" + source + "'" + (c.layered ? " '" + source + "' '" + layer + "'" : "");
        ASSERT_TRUE(RunTool("convert " + inputs + " " + c.options + " '" + out + "'"));
        const DecodedImage image = DecodePictureFile(out);
        ASSERT_EQ(image.pixels.width(), 40);
        ASSERT_EQ(image.pixels.height(), 30);
        for (int i = 0; i < 4; ++i) {
            Color want = quadrants[i];
            if (c.grey) {
                const int y = (raster::RedOf(want) * 2126 + raster::GreenOf(want) * 7152 +
                               raster::BlueOf(want) * 722) /
                              10000;
                want = RGB(uint8_t(y), uint8_t(y), uint8_t(y));
            }
            const Color got = image.pixels.pixel(10 + 20 * (i % 2), 7 + 15 * (i / 2));
            EXPECT_TRUE(Near(got, want, c.grey ? 40 : 3)) << i << ": " << std::hex << got;
        }
    }

    // Four planes: the fourth is the opacity.
    const Bytes half(40 * 30, 128);
    ASSERT_TRUE(ToQImage(Quadrants(40, 30, kRed, kGreen, kBlue, kWhite), half)
                    .save(QString::fromStdString(dir.file("a.png"))));
    ASSERT_TRUE(RunTool("convert '" + dir.file("a.png") + "' '" + dir.file("rgba.pcx") + "'"));
    const auto loaded = LoadByContent(dir.file("rgba.pcx"), kWhite);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(Near(loaded->bitmap.pixel(10, 7), RGB(255, 128, 128), 3))
        << std::hex << loaded->bitmap.pixel(10, 7);
    EXPECT_TRUE(Near(loaded->bitmap.pixel(30, 22), kWhite, 3));
}

// Each is named and refused, never shown half made up.
TEST(ModernFormats, BrokenFilesAreRefusedWithTheirName) {
    TempDir dir;
    const Bytes heic = EncodeHeif(Quadrants(64, 64, kRed, kGreen, kBlue, kWhite), {});
    const Bytes psd = [&] {
        const std::string png = dir.file("p.png");
        ToQImage(Quadrants(40, 30, kRed, kGreen, kBlue, kWhite)).save(QString::fromStdString(png));
        RunTool("convert '" + png + "' -type TrueColor -compress RLE '" + dir.file("p.psd") + "'");
        return ReadFile(dir.file("p.psd"));
    }();
    Bytes hugePsd = MakePsd(raster::Bitmap(2, 2));
    hugePsd[14] = 0x00, hugePsd[15] = 0x00, hugePsd[16] = 0x75, hugePsd[17] = 0x30;  // 30000 rows
    hugePsd[18] = 0x00, hugePsd[19] = 0x00, hugePsd[20] = 0x75, hugePsd[21] = 0x30;  // 30000 wide
    Bytes hugePcx(128 + 16, 0);
    hugePcx[0] = 0x0A, hugePcx[1] = 5, hugePcx[2] = 1, hugePcx[3] = 8, hugePcx[65] = 3;
    hugePcx[8] = 0xFF, hugePcx[9] = 0x3F, hugePcx[10] = 0xFF, hugePcx[11] = 0x3F;  // 16384 square
    hugePcx[66] = 0x00, hugePcx[67] = 0x40;
    // 3 x 3, three planes, a line and a half of data.
    Bytes cutPcx(hugePcx.begin(), hugePcx.begin() + 128);
    cutPcx[8] = 2, cutPcx[9] = 0, cutPcx[10] = 2, cutPcx[11] = 0, cutPcx[66] = 3, cutPcx[67] = 0;
    cutPcx.insert(cutPcx.end(), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
    const struct {
        const char* name;
        Bytes bytes;
        PictureError::Kind kind;
    } cases[] = {
        {"cut.heic", Bytes(heic.begin(), heic.begin() + long(heic.size() * 2 / 3)),
         PictureError::Kind::Damaged},
        {"cut.psd", Bytes(psd.begin(), psd.end() - 40), PictureError::Kind::Damaged},
        {"huge.psd", hugePsd, PictureError::Kind::TooLarge},
        {"huge.pcx", hugePcx, PictureError::Kind::TooLarge},
        {"cut.pcx", cutPcx, PictureError::Kind::Damaged},
        // A TIFF header and nothing a camera wrote.
        {"empty.nef",
         {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         PictureError::Kind::WrongContent},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(dir.file(c.name), c.bytes);
        const Refusal refusal = RefusalOf(dir.file(c.name));
        EXPECT_EQ(refusal.kind, c.kind) << refusal.message;
    }
}

}  // namespace
}  // namespace imaging
