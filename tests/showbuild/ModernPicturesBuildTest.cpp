// Today's pictures in built frames: a turned HEIC photo upright, an AVIF
// with transparency over the background colour, and a portrait photo over
// its own blurred copy instead of plain bars.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "ModernPictures.h"
#include "imaging/Orientation.h"
#include "model/Show.h"
#include "showbuild/BuildTestUtil.h"

namespace video::test {
namespace {

using raster::RGB;

constexpr raster::Color kBlue = RGB(0, 0, 255), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0);

bool Near(raster::Color a, raster::Color b, int tolerance) {
    return std::abs(raster::RedOf(a) - raster::RedOf(b)) <= tolerance &&
           std::abs(raster::GreenOf(a) - raster::GreenOf(b)) <= tolerance &&
           std::abs(raster::BlueOf(a) - raster::BlueOf(b)) <= tolerance;
}

raster::Bitmap Halves(int width, int height, raster::Color top, raster::Color bottom) {
    raster::Bitmap out(width, height, top);
    for (int y = height / 2; y < height; ++y)
        for (int x = 0; x < width; ++x) out.setPixel(x, y, bottom);
    return out;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class ModernPicturesBuild : public BuildTest {
protected:
    // Builds the show with every picture cutting in at once; the last frame
    // of each picture.
    std::vector<raster::Bitmap> BuildFrames() {
        show_.settings.EffectSpeed2 = 1;
        show_.settings.ImageInterval = 0;
        show_.settings.BackgroundColor = 0xFF0000;  // blue
        const std::vector<raster::Bitmap> shown = BuiltFrames();
        std::vector<raster::Bitmap> last;
        // Speed 1: ten frames a picture.
        for (size_t i = 9; i < shown.size(); i += 10) last.push_back(shown[i]);
        return last;
    }
    std::string Add(const std::string& name, const std::vector<uint8_t>& bytes) {
        WriteBytes(File(name), bytes);
        show_.settings.Pictures.push_back(File(name));
        show_.notes.WriteString("effects", name, "");  // cut in
        return File(name);
    }
};

TEST_F(ModernPicturesBuild, HeifTurnedUprightAndAvifFlattenedOverTheColour) {
    // Stored a quarter turn anticlockwise; the file's transform turns it back.
    testpictures::HeifSample turned;
    turned.transform = heif_orientation_rotate_90_cw;
    Add("turned.heic",
        testpictures::EncodeHeif(imaging::Reorient(Halves(24, 48, kRed, kGreen), 8), turned));
    testpictures::HeifSample clearLeft;
    clearLeft.avif = true;
    clearLeft.alpha.assign(32 * 32, 255);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 16; ++x) clearLeft.alpha[size_t(y) * 32 + size_t(x)] = 0;
    Add("clear-left.avif", testpictures::EncodeHeif(raster::Bitmap(32, 32, kRed), clearLeft));

    const std::vector<raster::Bitmap> frames = BuildFrames();
    ASSERT_EQ(frames.size(), 2u);
    // 1:2 portrait on the 4:3 DVD screen: 576 rows, 270 columns at 225.
    const raster::Bitmap& heic = frames[0];
    EXPECT_TRUE(Near(heic.pixel(360, 100), kRed, 30)) << std::hex << heic.pixel(360, 100);
    EXPECT_TRUE(Near(heic.pixel(360, 476), kGreen, 30)) << std::hex << heic.pixel(360, 476);
    EXPECT_EQ(heic.pixel(100, 288), kBlue);
    // Square: 540 columns at 90; the clear left half shows the colour.
    const raster::Bitmap& avif = frames[1];
    EXPECT_TRUE(Near(avif.pixel(200, 288), kBlue, 12)) << std::hex << avif.pixel(200, 288);
    EXPECT_TRUE(Near(avif.pixel(500, 288), kRed, 12)) << std::hex << avif.pixel(500, 288);
}

// On the DVD's 4:3 screen and in a square-pixel HD frame alike.
TEST_F(ModernPicturesBuild, BlurredFillShowsThePicturesOwnColoursBesideIt) {
    show_.settings.Back_Mode_Blurred = true;
    const std::string portrait = File("portrait.png");
    ASSERT_TRUE(
        testpictures::RunTool("convert -size 60x120 xc:'rgb(250,140,0)' -size 60x120 "
                              "xc:'rgb(0,160,230)' -append -resize 60x120! '" +
                              portrait + "'"));
    show_.notes.WriteString("effects", "portrait.png", "");
    const struct {
        uint8_t videoType;
        int width, height;
    } formats[] = {{2, 720, 576}, {3, 1280, 720}};
    for (const auto& format : formats) {
        SCOPED_TRACE(format.width);
        show_.settings.VideoType = format.videoType;
        show_.settings.Pictures = {portrait};
        const std::vector<raster::Bitmap> frames = BuildFrames();
        ASSERT_EQ(frames.size(), 1u);
        const raster::Bitmap& frame = frames[0];
        ASSERT_EQ(frame.width(), format.width);
        // Places given on the DVD frame, scaled to this one.
        const auto at = [&](int x, int y) {
            return frame.pixel(x * format.width / 720, y * format.height / 576);
        };
        // The sides take the picture's colours, darkened, never the blue.
        const raster::Color top = at(40, 60), bottom = at(680, 520);
        EXPECT_GT(raster::RedOf(top), 140) << std::hex << top;
        EXPECT_LT(raster::RedOf(top), 250) << std::hex << top;
        EXPECT_LT(raster::BlueOf(top), 40) << std::hex << top;
        EXPECT_GT(raster::BlueOf(bottom), 130) << std::hex << bottom;
        EXPECT_LT(raster::RedOf(bottom), 40) << std::hex << bottom;
        // Smooth: down the side, from orange to blue over some 60 rows, no
        // step is sharp (an edge would jump by 200).
        const int side = 60 * format.width / 720;
        for (int y = 1; y < frame.height(); ++y) {
            const raster::Color a = frame.pixel(side, y - 1), b = frame.pixel(side, y);
            ASSERT_TRUE(Near(a, b, 8)) << "row " << y << std::hex << ": " << a << " " << b;
        }
        // The sharp picture in the middle.
        EXPECT_TRUE(Near(at(360, 100), RGB(250, 140, 0), 6)) << std::hex << at(360, 100);
    }
}

}  // namespace
}  // namespace video::test
