// Broken, mislabelled, oversized and unsupported files: each gives a clear
// error naming the file, and nothing crashes.
#include <gtest/gtest.h>

#include <QBuffer>

#include "imaging/DecoderRegistry.h"
#include "imaging/ImagingTestUtil.h"
#include "imaging/PictureError.h"
#include "imaging/TestPictures.h"

namespace imaging {
namespace {

using namespace imaging::testing;
using Kind = PictureError::Kind;

uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

Bytes SavedWithQt(const raster::Bitmap& bitmap, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ToQImage(bitmap).save(&buffer, format);
    return Bytes(bytes.begin(), bytes.end());
}

// Sets the size a JPEG's SOF0 marker declares.
Bytes WithJpegSize(Bytes jpeg, uint16_t width, uint16_t height) {
    for (size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = uint8_t(height >> 8);
            jpeg[i + 6] = uint8_t(height);
            jpeg[i + 7] = uint8_t(width >> 8);
            jpeg[i + 8] = uint8_t(width);
            return jpeg;
        }
    throw std::runtime_error("no SOF0");
}

TEST(BadInput, EmptyMissingAndUnregisteredFiles) {
    TempDir dir;
    for (const char* name : {"empty.jpg", "empty.png", "empty.gif", "empty.pcx", "empty.tga"}) {
        WriteFile(dir.file(name), {});
        EXPECT_EQ(RefusalOf(dir.file(name)).kind, Kind::Empty) << name;
    }
    EXPECT_EQ(RefusalOf(dir.file("missing.png")).kind, Kind::NotFound);
    EXPECT_EQ(RefusalOf(dir.file("missing.jpg")).kind, Kind::NotFound);
    std::filesystem::create_directory(dir.file("folder.png"));
    EXPECT_EQ(RefusalOf(dir.file("folder.png")).kind, Kind::NotFound);
    const std::string text = "Not a picture, only words.\n";
    WriteFile(dir.file("notes.xyz"), Bytes(text.begin(), text.end()));
    EXPECT_EQ(RefusalOf(dir.file("notes.xyz")).kind, Kind::UnknownExtension);
    WriteFile(dir.file("notes"), Bytes(text.begin(), text.end()));
    EXPECT_EQ(RefusalOf(dir.file("notes")).kind, Kind::UnknownExtension);
}

TEST(BadInput, MetafilesAreNotSupportedOnThisPlatform) {
    TempDir dir;
    for (const char* name : {"a.wmf", "a.EMF"}) {
        WriteFile(dir.file(name), Bytes(64, 1));
        const Refusal refusal = RefusalOf(dir.file(name));
        EXPECT_EQ(refusal.kind, Kind::Unsupported);
        EXPECT_NE(refusal.message.find("not supported on this platform"), std::string::npos);
    }
}

// Content without any picture signature falls to the decoder of the name,
// which says the content is not what it reads.
TEST(BadInput, ContentWithoutSignatureThatDoesNotMatchTheExtension) {
    TempDir dir;
    const std::string text = "Not a picture, only words; long enough for every header.\n";
    Bytes words;
    while (words.size() < 4096) words.insert(words.end(), text.begin(), text.end());
    for (const char* name :
         {"a.jpg", "a.gif", "a.bmp", "a.tif", "a.webp", "a.ico", "a.ppm", "a.xpm", "a.pcx", "a.tga",
          "a.sgi", "a.psd", "a.pcd", "a.ras", "a.xwd", "a.png"}) {
        WriteFile(dir.file(name), words);
        EXPECT_EQ(RefusalOf(dir.file(name)).kind, Kind::WrongContent) << name;
    }
}

TEST(BadInput, CorruptHeadersAndData) {
    TempDir dir;
    const Bytes jpeg = EncodeJpeg(PhotoLike(64, 64));
    // A JPEG cut inside its header, and one whose header is overwritten.
    WriteFile(dir.file("header.jpg"), Bytes(jpeg.begin(), jpeg.begin() + 100));
    EXPECT_EQ(RefusalOf(dir.file("header.jpg")).kind, Kind::Corrupt);
    Bytes garbled = jpeg;
    for (size_t i = 2; i < 200; ++i) garbled[i] = uint8_t(i * 37);
    WriteFile(dir.file("garbled.jpg"), garbled);
    EXPECT_EQ(RefusalOf(dir.file("garbled.jpg")).kind, Kind::Corrupt);

    const Bytes png = SavedWithQt(raster::Bitmap(8, 8, kRed), "png");
    WriteFile(dir.file("cut.png"), Bytes(png.begin(), png.begin() + 20));
    EXPECT_EQ(RefusalOf(dir.file("cut.png")).kind, Kind::Corrupt);

    // A Sun raster header with an impossible depth.
    Bytes sun;
    for (uint32_t v : {0x59A66A95u, 8u, 8u, 13u, 0u, 1u, 0u, 0u}) PutBe32(sun, v);
    sun.resize(200, 0);
    WriteFile(dir.file("depth.ras"), sun);
    EXPECT_EQ(RefusalOf(dir.file("depth.ras")).kind, Kind::Corrupt);
}

TEST(BadInput, PicturesAboveOneHundredMegapixelsAreRefusedFromTheHeader) {
    TempDir dir;
    WriteFile(dir.file("huge.jpg"), WithJpegSize(EncodeJpeg(PhotoLike(16, 16)), 20000, 20000));
    EXPECT_EQ(RefusalOf(dir.file("huge.jpg")).kind, Kind::TooLarge);

    Bytes png = SavedWithQt(raster::Bitmap(8, 8, kRed),
                            "png");  // IHDR: length, type, width, height, ..., CRC at 29
    for (size_t i : {16u, 20u}) {
        png[i] = 0;
        png[i + 1] = 0;
        png[i + 2] = 0x4E;  // 20000
        png[i + 3] = 0x20;
    }
    const uint32_t crc = Crc32(png.data() + 12, 17);
    for (int k = 0; k < 4; ++k) png[29 + size_t(k)] = uint8_t(crc >> (24 - 8 * k));
    WriteFile(dir.file("huge.png"), png);
    EXPECT_EQ(RefusalOf(dir.file("huge.png")).kind, Kind::TooLarge);

    Bytes tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 24, 0};
    tga.resize(1000, 0);
    WriteFile(dir.file("huge.tga"), tga);
    EXPECT_EQ(RefusalOf(dir.file("huge.tga")).kind, Kind::TooLarge);
    WriteFile(dir.file("huge.psd"), MakePsd(raster::Bitmap(4, 4), {}, 30000, 30000));
    EXPECT_EQ(RefusalOf(dir.file("huge.psd")).kind, Kind::TooLarge);
    Bytes sun;
    for (uint32_t v : {0x59A66A95u, 1000000u, 1000000u, 24u, 0u, 1u, 0u, 0u}) PutBe32(sun, v);
    WriteFile(dir.file("huge.ras"), sun);
    EXPECT_EQ(RefusalOf(dir.file("huge.ras")).kind, Kind::TooLarge);
}

std::vector<uint8_t> Stripes(size_t count) {
    std::vector<uint8_t> indices(count);
    for (size_t i = 0; i < count; ++i) indices[i] = uint8_t(i / 7 % 4);
    return indices;
}

// A file cut short decodes with part of the picture made up (grey, black or
// unpainted), so every decoder path refuses it as damaged; bytes after the
// picture's end harm nothing and the picture is kept.
TEST(BadInput, CutOffPicturesAreDamagedAndTrailingBytesAreHarmless) {
    const raster::Bitmap photo = PhotoLike(96, 64, 4);
    const struct {
        const char* name;
        Bytes whole;
    } cases[] = {
        {"photo.jpg", EncodeJpeg(photo, {})},  // libjpeg-turbo
        {"photo.bmp", SavedWithQt(photo, "bmp")},
        {"photo.gif", MakeGif(96, 64, {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF}, Stripes(96 * 64),
                              -1)},  // Qt's readers
        {"photo.ras", EncodeWithFfmpeg(AV_CODEC_ID_SUNRAST, AV_PIX_FMT_BGR24, photo)},  // FFmpeg
    };
    TempDir dir;
    for (const auto& c : cases) {
        const std::string cut = dir.file(std::string("cut-") + c.name);
        WriteFile(cut, Bytes(c.whole.begin(), c.whole.begin() + long(c.whole.size() * 2 / 3)));
        const Refusal refusal = RefusalOf(cut);
        EXPECT_EQ(refusal.kind, Kind::Damaged) << c.name;
        EXPECT_NE(refusal.message.find("damaged"), std::string::npos) << refusal.message;

        Bytes padded = c.whole;
        padded.insert(padded.end(), 300, 0x5A);
        const std::string extra = dir.file(std::string("extra-") + c.name);
        WriteFile(extra, padded);
        const DecodedImage image = DecodePictureFile(extra);
        EXPECT_EQ(image.pixels.width(), 96) << c.name;
        EXPECT_EQ(image.pixels.height(), 64) << c.name;
    }
}

TEST(BadInput, ProgressiveJpegWithEndlessScansIsRefused) {
    // One scan per coefficient and bit plane: valid, but thousands of passes.
    std::vector<jpeg_scan_info> scans;
    for (int c = 0; c < 3; ++c) scans.push_back({1, {c}, 0, 0, 0, 0});
    for (int c = 0; c < 3; ++c)
        for (int k = 1; k < 64; ++k) {
            scans.push_back({1, {c}, k, k, 0, 10});
            for (int bit = 10; bit > 0; --bit) scans.push_back({1, {c}, k, k, bit, bit - 1});
        }
    JpegOptions options;
    options.scans = scans.data();
    options.scanCount = int(scans.size());
    TempDir dir;
    WriteFile(dir.file("scans.jpg"), EncodeJpeg(PhotoLike(16, 16), options));
    EXPECT_EQ(RefusalOf(dir.file("scans.jpg")).kind, Kind::Corrupt);
}

// Damaged copies of good files (bytes overwritten, files cut short) either
// decode or raise PictureError; nothing else escapes and nothing crashes.
TEST(BadInput, DamagedFilesOfEveryFormatFailCleanly) {
    TempDir dir;
    const raster::Bitmap picture = PhotoLike(48, 40, 2);
    std::vector<std::pair<std::string, Bytes>> originals = {
        {"jpg", EncodeJpeg(picture)},
        {"gif", MakeGif(8, 8, {0, 0xFF, 0xFF00, 0xFF0000}, std::vector<uint8_t>(64, 1), 2)},
        {"psd", MakePsd(picture)},
        {"pcx", EncodeWithFfmpeg(AV_CODEC_ID_PCX, AV_PIX_FMT_RGB24, picture)},
        {"tga", EncodeWithFfmpeg(AV_CODEC_ID_TARGA, AV_PIX_FMT_BGR24, picture)},
        {"sgi", EncodeWithFfmpeg(AV_CODEC_ID_SGI, AV_PIX_FMT_RGB24, picture)},
        {"ras", EncodeWithFfmpeg(AV_CODEC_ID_SUNRAST, AV_PIX_FMT_BGR24, picture)},
        {"xwd", EncodeWithFfmpeg(AV_CODEC_ID_XWD, AV_PIX_FMT_BGR24, picture)},
    };
    for (const char* format : {"png", "bmp", "tiff", "webp", "ico", "ppm", "xpm"}) {
        const std::string path = dir.file(std::string("q.") + format);
        ASSERT_TRUE(ToQImage(picture).save(QString::fromStdString(path), format));
        originals.emplace_back(format, ReadFile(path));
    }
    std::mt19937 random(1234);
    for (const auto& [extension, bytes] : originals) {
        for (int round = 0; round < 40; ++round) {
            Bytes damaged = bytes;
            if (round % 4 == 3) {
                damaged.resize(random() % damaged.size() + 1);
            } else {
                // Headers matter most: damage mostly the first bytes.
                const size_t span =
                    round % 2 ? damaged.size() : std::min<size_t>(64, damaged.size());
                for (int n = 0; n < 1 + round % 5; ++n)
                    damaged[random() % span] = uint8_t(random());
            }
            const std::string path = dir.file("damaged." + extension);
            WriteFile(path, damaged);
            try {
                const DecodedImage image = DecodePictureFile(path);
                EXPECT_FALSE(image.pixels.isEmpty()) << extension << " round " << round;
            } catch (const PictureError&) {
            }
        }
    }
}

}  // namespace
}  // namespace imaging
