// Every registered format, from files written in the test.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <filesystem>
#include <utility>

#include "imaging/DecoderRegistry.h"
#include "imaging/ImagingTestUtil.h"
#include "imaging/PictureError.h"
#include "imaging/TestPictures.h"

namespace imaging {
namespace {

using namespace imaging::testing;

// Checks the quadrant centres of a decoded picture.
void ExpectQuadrants(const std::string& path, int width, int height, const Color (&colours)[4],
                     int tolerance) {
    SCOPED_TRACE(path);
    const DecodedImage image = DecodePictureFile(path);
    ASSERT_EQ(image.pixels.width(), width);
    ASSERT_EQ(image.pixels.height(), height);
    EXPECT_EQ(image.natural, (Size{width, height}));
    const int xs[4] = {width / 4, 3 * width / 4, width / 4, 3 * width / 4};
    const int ys[4] = {height / 4, height / 4, 3 * height / 4, 3 * height / 4};
    for (int i = 0; i < 4; ++i) {
        const Color got = image.pixels.pixel(xs[i], ys[i]);
        EXPECT_TRUE(Near(got, colours[i], tolerance))
            << "quadrant " << i << " got " << std::hex << got;
    }
}

TEST(DecoderFormats, QtReadersDecodeWhatQtWrote) {
    // The readers must work headless, as in the command-line build.
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    TempDir dir;
    const Color colours[4] = {kRed, kGreen, kBlue, kWhite};
    const QImage picture = ToQImage(Quadrants(40, 30, kRed, kGreen, kBlue, kWhite));
    // Lossy WebP may move flat colours a little.
    const struct {
        const char* name;
        const char* qtFormat;
        int tolerance;
    } formats[] = {{"a.png", "png", 0},   {"a.BMP", "bmp", 0},    {"a.tif", "tiff", 0},
                   {"a.tiff", "tiff", 0}, {"a.webp", "webp", 12}, {"a.ico", "ico", 0},
                   {"a.ppm", "ppm", 0},   {"a.xpm", "xpm", 0}};
    for (const auto& f : formats) {
        ASSERT_TRUE(picture.save(QString::fromStdString(dir.file(f.name)), f.qtFormat));
        ExpectQuadrants(dir.file(f.name), 40, 30, colours, f.tolerance);
    }

    const Color greys[4] = {kBlack, kGrey, RGB(200, 200, 200), kWhite};
    ASSERT_TRUE(ToQImage(Quadrants(40, 30, greys[0], greys[1], greys[2], greys[3]))
                    .convertToFormat(QImage::Format_Grayscale8)
                    .save(QString::fromStdString(dir.file("a.pgm")), "pgm"));
    ExpectQuadrants(dir.file("a.pgm"), 40, 30, greys, 0);

    const Color mono[4] = {kBlack, kWhite, kWhite, kBlack};
    const QImage monoPicture = ToQImage(Quadrants(40, 30, kBlack, kWhite, kWhite, kBlack))
                                   .convertToFormat(QImage::Format_Mono);
    for (const char* f : {"pbm", "xbm"}) {
        const std::string path = dir.file(std::string("a.") + f);
        ASSERT_TRUE(monoPicture.save(QString::fromStdString(path), f));
        ExpectQuadrants(path, 40, 30, mono, 0);
    }
}

TEST(DecoderFormats, GifWithoutTransparencyKeepsItsPalette) {
    TempDir dir;
    std::vector<uint8_t> indices;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) indices.push_back(uint8_t((y < 6 ? 0 : 2) + (x < 8 ? 0 : 1)));
    WriteFile(dir.file("a.gif"), MakeGif(16, 12, {kRed, kGreen, kBlue, kWhite}, indices, -1));
    const Color colours[4] = {kRed, kGreen, kBlue, kWhite};
    ExpectQuadrants(dir.file("a.gif"), 16, 12, colours, 0);
    EXPECT_TRUE(DecodePictureFile(dir.file("a.gif")).alpha.empty());
}

TEST(DecoderFormats, FfmpegReadersDecodeWhatFfmpegWrote) {
    TempDir dir;
    const Color colours[4] = {kRed, kGreen, kBlue, RGB(10, 120, 250)};
    const raster::Bitmap picture =
        Quadrants(40, 30, colours[0], colours[1], colours[2], colours[3]);
    const struct {
        const char* name;
        AVCodecID codec;
        AVPixelFormat format;
    } formats[] = {
        {"a.pcx", AV_CODEC_ID_PCX, AV_PIX_FMT_RGB24},
        {"a.tga", AV_CODEC_ID_TARGA, AV_PIX_FMT_BGR24},
        {"a.sgi", AV_CODEC_ID_SGI, AV_PIX_FMT_RGB24},
        {"a.rgb", AV_CODEC_ID_SGI, AV_PIX_FMT_RGB24},
        {"a.ras", AV_CODEC_ID_SUNRAST, AV_PIX_FMT_BGR24},
        {"a.im24", AV_CODEC_ID_SUNRAST, AV_PIX_FMT_BGR24},
        {"a.xwd", AV_CODEC_ID_XWD, AV_PIX_FMT_BGR24},
        {"a.Pcx", AV_CODEC_ID_PCX, AV_PIX_FMT_RGB8},
    };
    for (const auto& f : formats) {
        WriteFile(dir.file(f.name), EncodeWithFfmpeg(f.codec, f.format, picture));
        ExpectQuadrants(dir.file(f.name), 40, 30, colours, f.format == AV_PIX_FMT_RGB8 ? 40 : 0);
    }
}

TEST(DecoderFormats, PhotoshopAndPhotoCdFilesWrittenByHand) {
    TempDir dir;
    const Color colours[4] = {kRed, kGreen, kBlue, RGB(10, 120, 250)};
    WriteFile(dir.file("a.psd"),
              MakePsd(Quadrants(40, 30, colours[0], colours[1], colours[2], colours[3])));
    ExpectQuadrants(dir.file("a.psd"), 40, 30, colours, 0);

    // Neutral chroma: the two luma halves come out as greys.
    WriteFile(dir.file("a.pcd"), MakePhotoCd(40, 220));
    const DecodedImage pcd = DecodePictureFile(dir.file("a.pcd"));
    ASSERT_EQ(pcd.pixels.width(), 768);
    ASSERT_EQ(pcd.pixels.height(), 512);
    EXPECT_TRUE(Near(pcd.pixels.pixel(100, 256), RGB(40, 40, 40), 3));
    EXPECT_TRUE(Near(pcd.pixels.pixel(600, 256), RGB(220, 220, 220), 3));
}

// One-pixel and one-pixel-thin pictures, where rows are shorter than any
// padding and every scaler works on a single sample.
TEST(DecoderFormats, TinyAndThinPicturesOfEveryFormatDecodeAtTheirSize) {
    TempDir dir;
    for (const auto& [width, height] : {std::pair{1, 1}, std::pair{1, 7}, std::pair{7, 1}}) {
        const raster::Bitmap picture = Coordinates(width, height);
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        std::vector<std::string> paths;
        for (const char* format : {"png", "bmp", "tiff", "webp", "ico", "ppm", "xpm"}) {
            paths.push_back(dir.file(size + "." + format));
            ASSERT_TRUE(ToQImage(picture).save(QString::fromStdString(paths.back()), format))
                << paths.back();
        }
        paths.push_back(dir.file(size + ".jpg"));
        WriteFile(paths.back(), EncodeJpeg(picture));
        paths.push_back(dir.file(size + ".psd"));
        WriteFile(paths.back(), MakePsd(picture));
        const std::pair<const char*, AVCodecID> ffmpegFormats[] = {{"pcx", AV_CODEC_ID_PCX},
                                                                   {"tga", AV_CODEC_ID_TARGA},
                                                                   {"sgi", AV_CODEC_ID_SGI},
                                                                   {"ras", AV_CODEC_ID_SUNRAST},
                                                                   {"xwd", AV_CODEC_ID_XWD}};
        for (const auto& [extension, codec] : ffmpegFormats) {
            paths.push_back(dir.file(size + "." + extension));
            WriteFile(paths.back(), EncodeWithFfmpeg(codec, Rgb24FormatOf(codec), picture));
        }
        for (const std::string& path : paths) {
            SCOPED_TRACE(path);
            const DecodedImage image = DecodePictureFile(path);
            EXPECT_EQ(image.pixels.width(), width);
            EXPECT_EQ(image.pixels.height(), height);
            EXPECT_EQ(image.natural, (Size{width, height}));
        }
    }
}

// Pictures saved under a name that does not say what they are: the content
// chooses the decoder wherever it has a signature, the name only where not.
TEST(DecoderFormats, ContentChoosesTheDecoderWhateverTheName) {
    TempDir dir;
    const raster::Bitmap picture = Coordinates(5, 3);
    const std::string original = dir.file("original");
    std::filesystem::create_directory(original);
    std::vector<std::pair<std::string, std::string>> files;  // path, registered extension
    // Qt's format name, and the registered extension the content must choose.
    const std::pair<const char*, const char*> qtFormats[] = {
        {"png", ".PNG"}, {"bmp", ".BMP"}, {"tiff", ".TIF"}, {"webp", ".WEBP"}, {"ppm", ".PPM"},
        {"pgm", ".PGM"}, {"pbm", ".PBM"}, {"xpm", ".XPM"},  {"xbm", ".XBM"}};
    for (const auto& [format, extension] : qtFormats) {
        files.emplace_back(original + "/a." + format, extension);
        ASSERT_TRUE(ToQImage(picture).save(QString::fromStdString(files.back().first), format));
    }
    files.emplace_back(original + "/a.gif", ".GIF");
    WriteFile(files.back().first, MakeGif(5, 3, {kRed, kBlue}, std::vector<uint8_t>(15, 1), -1));
    files.emplace_back(original + "/a.jpg", ".JPG");
    WriteFile(files.back().first, EncodeJpeg(picture));
    files.emplace_back(original + "/a.psd", ".PSD");
    WriteFile(files.back().first, MakePsd(picture));
    for (const auto& [extension, codec] : {std::pair{".PCX", AV_CODEC_ID_PCX},
                                           {".SGI", AV_CODEC_ID_SGI},
                                           {".RAS", AV_CODEC_ID_SUNRAST},
                                           {".XWD", AV_CODEC_ID_XWD}}) {
        files.emplace_back(original + "/a" + extension, extension);
        WriteFile(files.back().first, EncodeWithFfmpeg(codec, Rgb24FormatOf(codec), picture));
    }
    for (const auto& [path, extension] : files) {
        for (const char* misnamed : {"photo.jpg", "photo.gif", "photo.tga", "photo.xyz", "photo"}) {
            const std::string copy = dir.file(misnamed);
            std::filesystem::copy_file(path, copy,
                                       std::filesystem::copy_options::overwrite_existing);
            SCOPED_TRACE(path + " as " + misnamed);
            EXPECT_EQ(ChooseDecoder(copy).extension, extension);
            const DecodedImage image = DecodePictureFile(copy);
            EXPECT_EQ(image.natural, (Size{5, 3}));
        }
    }
    // Targa has no signature: its name decides, and under another name the
    // decoder of that name reports what it expected.
    WriteFile(dir.file("a.tga"), EncodeWithFfmpeg(AV_CODEC_ID_TARGA, AV_PIX_FMT_BGR24, picture));
    EXPECT_EQ(DecodePictureFile(dir.file("a.tga")).natural, (Size{5, 3}));
    std::filesystem::copy_file(dir.file("a.tga"), dir.file("targa.jpg"));
    const Refusal refusal = RefusalOf(dir.file("targa.jpg"));
    EXPECT_EQ(refusal.kind, PictureError::Kind::WrongContent);
    EXPECT_NE(refusal.message.find("JPEG"), std::string::npos) << refusal.message;
}

TEST(DecoderFormats, ExtensionsMatchWithoutRegardToCase) {
    EXPECT_EQ(UpperExtension("/photos/IMG_0001.jpg"), ".JPG");
    EXPECT_EQ(UpperExtension("/photos.d/readme"), "");
    EXPECT_EQ(UpperExtension("noext"), "");
    ASSERT_NE(FindDecoder(".jpeg"), nullptr);
    EXPECT_EQ(FindDecoder(".jpeg"), FindDecoder(".JPEG"));
    EXPECT_EQ(FindDecoder(".xyz"), nullptr);
    for (const char* ext :
         {".JPG", ".GIF", ".PNG", ".BMP", ".TIF", ".WEBP", ".ICO", ".PBM", ".PGM", ".PPM",
          ".XPM", ".PCX", ".TGA", ".SGI", ".PSD", ".PCD",  ".RAS", ".XWD", ".WMF", ".EMF"})
        EXPECT_NE(FindDecoder(ext), nullptr) << ext;
}

}  // namespace
}  // namespace imaging
