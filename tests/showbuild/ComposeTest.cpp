// Frame sizes per format, fitting in display proportions, and composing a
// picture onto the three kinds of background.
#include <gtest/gtest.h>

#include "raster/Bitmap.h"
#include "raster/Fill.h"
#include "showbuild/FrameGeometry.h"
#include "showbuild/PictureComposer.h"

namespace video {
namespace {

using raster::Bitmap;
using raster::RGB;

constexpr raster::Color kRed = RGB(255, 0, 0);
constexpr raster::Color kBlue = RGB(0, 0, 255);

PictureRect FitOn(int videoType, int width, int height, int aspect = kMclAspectFormat) {
    const FrameFormat format = *FrameFormatFor(videoType, aspect);
    return FitPicture(width, height, format.width, format.height, format.displayWidth,
                      format.displayHeight);
}

// The picture's width over its height as the format's screen shows it.
double DisplayedAspect(const PictureRect& rect, const FrameFormat& format) {
    const double pixelAspect =
        double(format.displayWidth) * format.height / (double(format.displayHeight) * format.width);
    return rect.width * pixelAspect / rect.height;
}

TEST(FrameGeometryTest, FrameSizesAndDisplayBoxes) {
    EXPECT_EQ(FrameFormatFor(0)->width, 320);
    EXPECT_EQ(FrameFormatFor(0)->height, 288);
    EXPECT_EQ(FrameFormatFor(1)->width, 480);
    EXPECT_EQ(FrameFormatFor(1)->height, 576);
    EXPECT_EQ(FrameFormatFor(2)->width, 720);
    EXPECT_EQ(FrameFormatFor(2)->height, 576);
    EXPECT_FALSE(FrameFormatFor(6).has_value());
    // 4:5 is made at 1080p only; shapes and rates beyond the tables are none.
    EXPECT_FALSE(FrameFormatFor(3, 4).has_value());
    EXPECT_FALSE(FrameFormatFor(4, 5).has_value());
    EXPECT_FALSE(FrameFormatFor(4, 0, 0, 8).has_value());
    // A disc keeps its frame and its standard's rate whatever rate the MP4
    // formats are set to, at 16:9 too, and is made in no upright shape.
    EXPECT_EQ(FrameFormatFor(2, kMclAspectWide, 1, 4)->rate, kNtscRate);
    EXPECT_EQ(FrameFormatFor(2, kMclAspectWide, 1, 4)->width, 720);
    EXPECT_FALSE(FrameFormatFor(2, kMclAspectVertical).has_value());
    // Square-pixel boxes: 6:5, 8:5 and 16:15 pixels widen the frames to 4:3.
    EXPECT_EQ(DisplayBoxOf(*FrameFormatFor(0)).width, 384);
    EXPECT_EQ(DisplayBoxOf(*FrameFormatFor(1)).width, 768);
    EXPECT_EQ(DisplayBoxOf(*FrameFormatFor(2)).width, 768);
    // MP4: square pixels in every shape, the box the frame itself, at the
    // chosen rate (0: the standard's).
    struct Hd {
        int type, aspect, standard, rate, width, height;
        FrameRate frameRate;
    };
    for (const Hd& hd :
         {Hd{3, 0, 0, 0, 1280, 720, {25, 1}}, Hd{3, 1, 1, 0, 960, 720, {30000, 1001}},
          Hd{4, 0, 0, 4, 1920, 1080, {50, 1}}, Hd{4, 1, 0, 1, 1440, 1080, {24, 1}},
          Hd{5, 0, 1, 5, 3840, 2160, {60, 1}}, Hd{5, 1, 0, 3, 2880, 2160, {30, 1}},
          Hd{3, 2, 0, 7, 720, 1280, {60000, 1001}}, Hd{4, 2, 1, 2, 1080, 1920, {25, 1}},
          Hd{5, 2, 0, 6, 2160, 3840, {30000, 1001}}, Hd{3, 3, 0, 0, 720, 720, {25, 1}},
          Hd{4, 3, 0, 0, 1080, 1080, {25, 1}}, Hd{5, 3, 0, 0, 2160, 2160, {25, 1}},
          Hd{4, 4, 0, 0, 1080, 1350, {25, 1}}}) {
        const FrameFormat format = *FrameFormatFor(hd.type, hd.aspect, hd.standard, hd.rate);
        EXPECT_EQ(format.width, hd.width) << format.name;
        EXPECT_EQ(format.height, hd.height) << format.name;
        EXPECT_EQ(format.rate, hd.frameRate) << format.name;
        EXPECT_TRUE(format.squarePixels()) << format.name;
        EXPECT_EQ(DisplayBoxOf(format).width, hd.width) << format.name;
    }
    EXPECT_FALSE(FrameFormatFor(2).value().squarePixels());
    // A widescreen DVD keeps its frame, its pixels 64:45 wide; VCD and SVCD
    // stay 4:3 whatever is asked.
    const FrameFormat wide = *FrameFormatFor(2, kMclAspectWide);
    EXPECT_EQ(wide.width, 720);
    EXPECT_EQ(wide.height, 576);
    EXPECT_EQ(DisplayBoxOf(wide).width, 1024);
    EXPECT_EQ(DisplayBoxOf(*FrameFormatFor(2, kMclAspectStandard)).width, 768);
    for (int type : {0, 1})
        EXPECT_EQ(FrameFormatFor(type, kMclAspectWide)->displayWidth, 4) << type;
}

TEST(FrameGeometryTest, FitKeepsThePicturesProportionsOnTheScreen) {
    // A 4:3 photo fills every 4:3 screen (not 720 x 540 at (0, 18)).
    EXPECT_EQ(FitOn(2, 1600, 1200), (PictureRect{0, 0, 720, 576}));
    EXPECT_EQ(FitOn(1, 1600, 1200), (PictureRect{0, 0, 480, 576}));
    EXPECT_EQ(FitOn(0, 640, 480), (PictureRect{0, 0, 320, 288}));
    // Small pictures are enlarged.
    EXPECT_EQ(FitOn(2, 40, 30), (PictureRect{0, 0, 720, 576}));
    // 16:9 on DVD: full width, 432 rows (768 x 432 on the screen).
    EXPECT_EQ(FitOn(2, 1920, 1080), (PictureRect{0, 72, 720, 432}));
    // Portrait 3:4: 405 columns wide, the odd leftover widens it to 406.
    EXPECT_EQ(FitOn(2, 1200, 1600), (PictureRect{157, 0, 406, 576}));
    // A 4:3 photo in a 16:9 MP4 frame: centred, the background both sides.
    EXPECT_EQ(FitOn(4, 1600, 1200), (PictureRect{240, 0, 1440, 1080}));
    // On a widescreen DVD a 16:9 photo fills the frame, a 4:3 one is 540
    // columns wide (768 of the 1024 on the screen).
    EXPECT_EQ(FitOn(2, 1920, 1080, kMclAspectWide), (PictureRect{0, 0, 720, 576}));
    EXPECT_EQ(FitOn(2, 1600, 1200, kMclAspectWide), (PictureRect{90, 0, 540, 576}));
    for (const auto& [type, aspect] : {std::pair{0, kMclAspectFormat},
                                       {1, kMclAspectFormat},
                                       {2, kMclAspectFormat},
                                       {2, kMclAspectWide}}) {
        const FrameFormat format = *FrameFormatFor(type, aspect);
        for (const auto& [w, h] : {std::pair{1920, 1080}, {1200, 1600}, {3000, 1000}, {500, 500}}) {
            const PictureRect rect = FitOn(type, w, h, aspect);
            EXPECT_NEAR(DisplayedAspect(rect, format), double(w) / h, 0.02 * w / h)
                << format.name << " " << w << "x" << h;
            EXPECT_GE(rect.x, 0);
            EXPECT_GE(rect.y, 0);
            EXPECT_LE(rect.x + rect.width, format.width);
            EXPECT_LE(rect.y + rect.height, format.height);
        }
    }
    // A one-pixel-high panorama still covers a row.
    EXPECT_GE(FitOn(2, 100000, 1).height, 1);
}

TEST(ComposeTest, PictureOnColourBackground) {
    const FrameFormat dvd = *FrameFormatFor(2);
    const Bitmap background =
        PrepareBackground({BackgroundSpec::Kind::Colour, kBlue, {}}, *FrameFormatFor(2));
    Bitmap frame(720, 576);
    const uint32_t handle = frame.handle();

    ComposePicture(frame, background, Bitmap(1600, 1200, kRed), 1600, 1200, dvd);
    EXPECT_TRUE(frame.samePixels(Bitmap(720, 576, kRed)));
    EXPECT_EQ(frame.handle(), handle);  // the frame keeps its identity

    // 16:9: background bands above and below, the picture between.
    ComposePicture(frame, background, Bitmap(1920, 1080, kRed), 1920, 1080, dvd);
    for (int y : {0, 71, 504, 575}) EXPECT_EQ(frame.pixel(360, y), kBlue) << y;
    for (int y : {72, 300, 503}) EXPECT_EQ(frame.pixel(360, y), kRed) << y;
    for (int x : {0, 719}) EXPECT_EQ(frame.pixel(x, 300), kRed) << x;
}

TEST(ComposeTest, ReducedDecodeLandsWhereTheFullPictureWould) {
    const FrameFormat dvd = *FrameFormatFor(2);
    const Bitmap background =
        PrepareBackground({BackgroundSpec::Kind::Colour, 0, {}}, *FrameFormatFor(2));
    // A 1200 x 1600 picture given as a quarter-size decode (300 x 400).
    Bitmap quarter(300, 400, kRed);
    Bitmap frame;
    ComposePicture(frame, background, quarter, 1200, 1600, dvd);
    EXPECT_EQ(frame.pixel(156, 300), 0u);
    EXPECT_EQ(frame.pixel(157, 300), kRed);
    EXPECT_EQ(frame.pixel(562, 300), kRed);
    EXPECT_EQ(frame.pixel(563, 300), 0u);
}

TEST(ComposeTest, TiledBackgroundOnSquarePixelsKeepsThePatternsOwnSize) {
    Bitmap pattern(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) pattern.setPixel(x, y, RGB(x * 30, y * 50, 9));
    const FrameFormat square{9, "square", 720, 540, 4, 3, ".mpg"};
    const Bitmap background =
        PrepareBackground({BackgroundSpec::Kind::Tiled, kBlue, pattern}, square);
    Bitmap frame;
    ComposePicture(frame, background, Bitmap(1920, 1080, kRed), 1920, 1080, square);
    for (int y : {0, 33, 66, 473, 539})
        for (int x : {0, 6, 7, 100, 719})
            EXPECT_EQ(frame.pixel(x, y), pattern.pixel(x % 7, y % 5)) << x << "," << y;
    EXPECT_EQ(frame.pixel(100, 100), kRed);
}

TEST(ComposeTest, StretchedBackgroundCoversTheFrame) {
    Bitmap quadrants(2, 2);
    quadrants.setPixel(0, 0, RGB(10, 0, 0));
    quadrants.setPixel(1, 0, RGB(0, 20, 0));
    quadrants.setPixel(0, 1, RGB(0, 0, 30));
    quadrants.setPixel(1, 1, RGB(40, 40, 40));
    const Bitmap background =
        PrepareBackground({BackgroundSpec::Kind::Stretched, kBlue, quadrants}, *FrameFormatFor(0));
    EXPECT_EQ(background.pixel(0, 0), RGB(10, 0, 0));
    EXPECT_EQ(background.pixel(319, 0), RGB(0, 20, 0));
    EXPECT_EQ(background.pixel(0, 287), RGB(0, 0, 30));
    EXPECT_EQ(background.pixel(319, 287), RGB(40, 40, 40));
    EXPECT_EQ(background.pixel(159, 143), RGB(10, 0, 0));
    EXPECT_EQ(background.pixel(160, 144), RGB(40, 40, 40));

    // An empty background picture (unreadable) leaves the colour.
    const Bitmap fallback =
        PrepareBackground({BackgroundSpec::Kind::Stretched, kBlue, Bitmap()}, *FrameFormatFor(0));
    EXPECT_TRUE(fallback.samePixels(Bitmap(320, 288, kBlue)));
}

}  // namespace
}  // namespace video
