#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/FitArithmetic.h"
#include "imaging/ImagingTestUtil.h"
#include "imaging/PictureError.h"
#include "imaging/PictureLoader.h"
#include "imaging/TestPictures.h"
#include "raster/Blit.h"

namespace imaging {
namespace {

using namespace imaging::testing;

constexpr Color kFill = RGB(0, 0, 255);

// Three pixels: opaque red, half-transparent red, fully transparent red.
const Bytes kAlphas = {255, 128, 0};
raster::Bitmap ThreeReds() {
    return raster::Bitmap(3, 1, kRed);
}

TEST(PictureLoader, TransparentFormatsAreFlattenedOntoTheFillColour) {
    TempDir dir;
    ASSERT_TRUE(
        ToQImage(ThreeReds(), kAlphas).save(QString::fromStdString(dir.file("a.png")), "png"));
    WriteFile(dir.file("a.tga"),
              EncodeWithFfmpeg(AV_CODEC_ID_TARGA, AV_PIX_FMT_BGRA, ThreeReds(), kAlphas));
    // A PNG named ".jpg" is read, and flattened, as the PNG it is: by the
    // screen's, the previews' and the build's loaders alike.
    std::filesystem::copy_file(dir.file("a.png"), dir.file("png-named.jpg"));
    for (const char* name : {"a.png", "a.tga", "png-named.jpg"}) {
        SCOPED_TRACE(name);
        raster::Bitmap picture;
        LoadPictureFile(picture, dir.file(name), kFill);
        ASSERT_EQ(picture.width(), 3);
        EXPECT_EQ(picture.pixel(0, 0), kRed);
        EXPECT_TRUE(Near(picture.pixel(1, 0), RGB(128, 0, 127), 1));
        EXPECT_EQ(picture.pixel(2, 0), kFill);

        raster::Bitmap preview;
        LoadPictureScaled(preview, dir.file(name), 30, 30, kFill);
        ASSERT_EQ(preview.width(), 3);
        EXPECT_EQ(preview.pixel(2, 0), kFill);

        const SourcePicture source = LoadSourcePicture(dir.file(name), Size{720, 576}, kFill);
        EXPECT_EQ(source.natural, (Size{3, 1}));
        EXPECT_EQ(source.bitmap.pixel(2, 0), kFill);
    }

    // GIF transparency is a palette index.
    WriteFile(dir.file("a.Gif"), MakeGif(2, 1, {kRed, RGB(0, 255, 0)}, {0, 1}, 1));
    raster::Bitmap gif;
    LoadPictureFile(gif, dir.file("a.Gif"), kFill);
    ASSERT_EQ(gif.width(), 2);
    EXPECT_EQ(gif.pixel(0, 0), kRed);
    EXPECT_EQ(gif.pixel(1, 0), kFill);
}

TEST(PictureLoader, JpegAndBmpAreNeverFlattened) {
    EXPECT_FALSE(FlattensOnLoad(".JPG"));
    EXPECT_FALSE(FlattensOnLoad(".JPEG"));
    EXPECT_FALSE(FlattensOnLoad(".BMP"));
    for (const char* ext : {".GIF", ".PNG", ".TIF", ".WMF", ".EMF", ".PCX", ".TGA"})
        EXPECT_TRUE(FlattensOnLoad(ext));

    // A BMP's alpha channel is ignored: its colours stay as stored.
    TempDir dir;
    WriteFile(dir.file("a.bmp"), MakeBmpWithAlpha(ThreeReds(), kAlphas));
    raster::Bitmap bmp;
    LoadPictureFile(bmp, dir.file("a.bmp"), kFill);
    ASSERT_EQ(bmp.width(), 3);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(bmp.pixel(x, 0), kRed);
}

TEST(PictureLoader, MissingJpegDecodesNothingButOtherFilesRaise) {
    TempDir dir;
    raster::Bitmap picture(4, 4, kRed);
    LoadPictureFile(picture, dir.file("missing.jpg"), kFill);
    EXPECT_EQ(picture.width(), 4) << "the picture keeps its bitmap";
    EXPECT_EQ(picture.pixel(0, 0), kRed);
    EXPECT_THROW(LoadPictureFile(picture, dir.file("missing.png"), kFill), PictureError);
    EXPECT_THROW(LoadSourcePicture(dir.file("missing.jpg")), PictureError);

    // The scaled loader hands the temporary picture's empty bitmap over.
    raster::Bitmap target(4, 4, kRed);
    LoadPictureScaled(target, dir.file("missing.jpg"), -1, -1, kFill);
    EXPECT_TRUE(target.isEmpty());
}

TEST(PictureLoader, ScaledLoaderUsesTheBoxArithmeticAndNeverRaises) {
    TempDir dir;
    WriteFile(dir.file("640.jpg"), EncodeJpeg(PhotoLike(640, 480)));
    ASSERT_TRUE(
        ToQImage(PhotoLike(1600, 1200)).save(QString::fromStdString(dir.file("1600.png")), "png"));
    ASSERT_TRUE(
        ToQImage(PhotoLike(300, 300)).save(QString::fromStdString(dir.file("300.bmp")), "bmp"));
    const struct {
        const char* name;
        int maxWidth, maxHeight;
        Size expected;
    } cases[] = {
        {"640.jpg", 200, 150, {199, 150}},  {"640.jpg", 200, 200, {200, 149}},
        {"1600.png", 320, 240, {320, 240}}, {"300.bmp", 300, 200, {200, 200}},
        {"300.bmp", 400, 400, {300, 300}},  {"1600.png", -1, -1, {1600, 1200}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.maxWidth));
        raster::Bitmap target;
        LoadPictureScaled(target, dir.file(c.name), c.maxWidth, c.maxHeight, 0);
        EXPECT_EQ((Size{target.width(), target.height()}), c.expected);
    }

    // Errors leave the target as it was; an empty name touches nothing.
    WriteFile(dir.file("broken.png"), Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0});
    raster::Bitmap target(5, 5, kRed);
    const uint32_t handle = target.handle();
    for (const std::string& name :
         {dir.file("broken.png"), dir.file("none.gif"), dir.file("a.wmf"), std::string()}) {
        LoadPictureScaled(target, name, 100, 100, 0);
        EXPECT_EQ(target.width(), 5);
        EXPECT_EQ(target.pixel(2, 2), kRed);
    }
    EXPECT_EQ(target.handle(), handle);
}

TEST(PictureLoader, ScaledLoaderMatchesAFullDecodeOfALargeJpeg) {
    TempDir dir;
    const raster::Bitmap photo = PhotoLike(2400, 1800, 3);
    WriteFile(dir.file("big.jpg"), EncodeJpeg(photo));
    raster::Bitmap preview;
    LoadPictureScaled(preview, dir.file("big.jpg"), 300, 200, 0);
    ASSERT_EQ((Size{preview.width(), preview.height()}), *ShrinkIntoBox({2400, 1800}, 300, 200));
    raster::Bitmap full;
    LoadPictureFile(full, dir.file("big.jpg"), 0);
    EXPECT_GE(Psnr(preview, raster::ResampleArea(full, preview.width(), preview.height())), 40.0);
}

TEST(PictureLoader, SourcePictureKeepsTheNaturalSizeForTheBuildsArithmetic) {
    TempDir dir;
    WriteFile(dir.file("big.jpg"), EncodeJpeg(PhotoLike(2400, 1800, 5)));
    const SourcePicture natural = LoadSourcePicture(dir.file("big.jpg"));
    EXPECT_EQ(natural.natural, (Size{2400, 1800}));
    EXPECT_EQ(natural.bitmap.width(), 2400);

    const SourcePicture fitted = LoadSourcePicture(dir.file("big.jpg"), Size{720, 576});
    EXPECT_EQ(fitted.natural, (Size{2400, 1800}));
    // 720 x 540 on the frame: 3/8 (900 x 675) is the smallest scale covering it.
    EXPECT_EQ(fitted.bitmap.width(), 900);
    EXPECT_EQ(fitted.bitmap.height(), 675);
    const raster::Bitmap fromFull = raster::ResampleArea(natural.bitmap, 720, 540);
    EXPECT_GE(Psnr(fromFull, raster::ResampleArea(fitted.bitmap, 720, 540)), 40.0);

    // A picture smaller than the frame is never reduced.
    WriteFile(dir.file("small.jpg"), EncodeJpeg(PhotoLike(320, 240)));
    EXPECT_EQ(LoadSourcePicture(dir.file("small.jpg"), Size{720, 576}).bitmap.width(), 320);
}

// A camera's EXIF thumbnail stands in for a preview that it covers and whose
// shape it has, turned as the picture is; never for the whole-picture check.
TEST(PictureLoader, PreviewsUseTheCamerasThumbnailOnlyWhereItServes) {
    TempDir dir;
    const raster::Bitmap picture = Quadrants(1600, 1200, kRed, kGreen, kBlue, kWhite);
    const Bytes ownThumb = EncodeJpeg(Quadrants(160, 120, kWhite, kBlue, kGreen, kRed));
    const Bytes squareThumb = EncodeJpeg(Quadrants(160, 160, kWhite, kBlue, kGreen, kRed));
    const Bytes notAJpeg(300, 0x5A);
    struct Case {
        const char* what;
        const Bytes* thumbnail;
        int orientation;
        int box;
        bool fromThumbnail;
    };
    const Case cases[] = {
        {"covers the tile", &ownThumb, 1, 128, true},
        {"turned with the picture", &ownThumb, 6, 128, true},
        {"as large as the tile", &ownThumb, 1, 160, true},
        {"smaller than the tile", &ownThumb, 1, 256, false},
        {"of another shape", &squareThumb, 1, 128, false},
        {"that does not decode", &notAJpeg, 1, 128, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        JpegOptions options;
        options.quality = 95;
        options.app1 = ExifOrientation(c.orientation, false, *c.thumbnail);
        const std::string path = dir.file("camera.jpg");
        WriteFile(path, EncodeJpeg(picture, options));
        const raster::Bitmap preview = LoadPictureShrunk(path, c.box, c.box, 0);
        const bool turned = c.orientation == 6;
        EXPECT_EQ(preview.width(), turned ? c.box * 3 / 4 : c.box);
        // The quadrants as a viewer shows them; the thumbnail's are the
        // picture's in reverse, so each source shows which one was used.
        const int w = preview.width(), h = preview.height();
        const Color topLeft = preview.pixel(w / 4, h / 4),
                    topRight = preview.pixel(3 * w / 4, h / 4);
        const Color expectedLeft =
            turned ? (c.fromThumbnail ? kGreen : kBlue) : (c.fromThumbnail ? kWhite : kRed);
        const Color expectedRight =
            turned ? (c.fromThumbnail ? kWhite : kRed) : (c.fromThumbnail ? kBlue : kGreen);
        EXPECT_TRUE(Near(topLeft, expectedLeft, 12));
        EXPECT_TRUE(Near(topRight, expectedRight, 12));
    }

    // Cut short after its thumbnail: the preview may show the thumbnail, the
    // whole-picture check still finds the damage.
    JpegOptions options;
    options.app1 = ExifOrientation(1, false, ownThumb);
    Bytes cut = EncodeJpeg(PhotoLike(1600, 1200, 9), options);
    cut.resize(cut.size() * 2 / 3);
    WriteFile(dir.file("cut.jpg"), cut);
    EXPECT_THROW(LoadSourcePicture(dir.file("cut.jpg"), Size{160, 120}), PictureError);
}

}  // namespace
}  // namespace imaging
