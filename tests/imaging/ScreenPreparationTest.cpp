#include <gtest/gtest.h>

#include "imaging/BlurredFill.h"
#include "imaging/ImagingTestUtil.h"
#include "imaging/PictureLoader.h"
#include "imaging/ScreenPreparation.h"
#include "imaging/TestPictures.h"
#include "raster/Blit.h"
#include "raster/Fill.h"

namespace imaging {
namespace {

using namespace imaging::testing;

constexpr Color kColor = RGB(1, 2, 3);

ScreenPictureSettings Screen720x480(uint8_t sizeMode) {
    ScreenPictureSettings s;
    s.Width = 720;
    s.Height = 480;
    s.ClientRect = raster::Rect{0, 0, 720, 480};
    s.SizeMode = sizeMode;
    s.Color = kColor;
    return s;
}

Size SizeOf(const raster::Bitmap& b) {
    return Size{b.width(), b.height()};
}

// Prepares one picture on a fresh screen (the first picture is never padded).
raster::Bitmap PrepareFirst(raster::Bitmap picture, const ScreenPictureSettings& screen) {
    std::optional<raster::Bitmap> last;
    PreparePicture(picture, last, screen);
    return picture;
}

TEST(ScreenPreparation, ScaleToFitUsesTheBoxArithmetic) {
    const auto screen = Screen720x480(2);
    EXPECT_EQ(SizeOf(PrepareFirst(raster::Bitmap(1024, 768), screen)), (Size{639, 480}));
    EXPECT_EQ(SizeOf(PrepareFirst(raster::Bitmap(800, 600), screen)), (Size{640, 480}));
    EXPECT_EQ(SizeOf(PrepareFirst(raster::Bitmap(640, 480), screen)), (Size{640, 480}));
    EXPECT_EQ(SizeOf(PrepareFirst(raster::Bitmap(180, 120), screen)), (Size{720, 480}));

    const auto shrinkOnly = Screen720x480(0);
    EXPECT_EQ(SizeOf(PrepareFirst(raster::Bitmap(1024, 768), shrinkOnly)), (Size{639, 480}));
    EXPECT_EQ(SizeOf(PrepareFirst(raster::Bitmap(180, 120), shrinkOnly)), (Size{180, 120}));
    EXPECT_EQ(SizeOf(PrepareFirst(raster::Bitmap(1024, 768), Screen720x480(9))), (Size{1024, 768}));
}

TEST(ScreenPreparation, ActualSizeCutsALargePictureAroundItsCentre) {
    const raster::Bitmap picture = Coordinates(1000, 300);
    const raster::Bitmap cut = PrepareFirst(picture, Screen720x480(1));
    ASSERT_EQ(SizeOf(cut), (Size{720, 480}));
    // Wider than the screen: columns 140.. of the picture; lower: centred rows.
    EXPECT_EQ(cut.pixel(0, 90), picture.pixel(140, 0));
    EXPECT_EQ(cut.pixel(719, 389), picture.pixel(859, 299));
    EXPECT_EQ(cut.pixel(0, 89), kColor);
    EXPECT_EQ(cut.pixel(719, 390), kColor);
    // A picture that fits keeps its size.
    EXPECT_EQ(SizeOf(PrepareFirst(raster::Bitmap(700, 480), Screen720x480(1))), (Size{700, 480}));
}

// With its subject known the cut goes around it: centred on the aim point,
// moved to hold the kept box whole, inside the picture.
TEST(ScreenPreparation, ActualSizeCutsAroundTheSubjectWhenItIsKnown) {
    const raster::Bitmap picture = Coordinates(1000, 900);
    struct Case {
        const char* name;
        CutAim aim;
        int left, top;  // the picture's pixel at the cut's corner
    };
    const Case cases[] = {
        {"centred on the point", {0.6, 0.4}, 240, 120},
        {"held to the picture", {0.95, 0.05}, 280, 0},
        // A box from 0.1 to 0.3 across, centred at 0.5: moved only as far
        // as holding the box's left edge needs.
        {"moved to hold the box", {0.5, 0.5, 0.1, 0.4, 0.3, 0.6}, 100, 210},
    };
    for (const Case& c : cases) {
        ScreenPictureSettings screen = Screen720x480(1);
        screen.Aim = c.aim;
        const raster::Bitmap cut = PrepareFirst(picture, screen);
        ASSERT_EQ(SizeOf(cut), (Size{720, 480})) << c.name;
        EXPECT_EQ(cut.pixel(0, 0), picture.pixel(c.left, c.top)) << c.name;
        EXPECT_EQ(cut.pixel(719, 479), picture.pixel(c.left + 719, c.top + 479)) << c.name;
    }
}

TEST(ScreenPreparation, StretchAndTileModes) {
    EXPECT_EQ(SizeOf(PrepareFirst(raster::Bitmap(300, 200), Screen720x480(3))), (Size{720, 480}));
    EXPECT_EQ(SizeOf(PrepareFirst(raster::Bitmap(1000, 200), Screen720x480(3))), (Size{720, 480}));

    const raster::Bitmap strip = Coordinates(640, 200);
    const raster::Bitmap tiled = PrepareFirst(strip, Screen720x480(4));
    ASSERT_EQ(SizeOf(tiled), (Size{720, 480}));
    for (const raster::Point p :
         {raster::Point{0, 0}, raster::Point{650, 10}, raster::Point{700, 470}})
        EXPECT_EQ(tiled.pixel(p.x, p.y), strip.pixel(p.x % 640, p.y % 200));
    // Pictures of at least 250 x 250 are scaled as in mode 2.
    EXPECT_EQ(SizeOf(PrepareFirst(raster::Bitmap(1024, 768), Screen720x480(4))), (Size{639, 480}));
    EXPECT_EQ(SizeOf(PrepareFirst(raster::Bitmap(640, 480), Screen720x480(4))), (Size{640, 480}));
}

TEST(ScreenPreparation, PaddingCoversThePreviousPicture) {
    const auto screen = Screen720x480(0);
    std::optional<raster::Bitmap> last;
    raster::Bitmap first(640, 480, RGB(9, 9, 9));
    PreparePicture(first, last, screen);
    EXPECT_EQ(SizeOf(first), (Size{640, 480})) << "the first picture is not padded";

    raster::Bitmap second = Coordinates(400, 300);
    const raster::Bitmap original = second;
    PreparePicture(second, last, screen);
    ASSERT_EQ(SizeOf(second), (Size{643, 483}));
    EXPECT_EQ(second.pixel(122, 92), original.pixel(0, 0));
    EXPECT_EQ(second.pixel(521, 391), original.pixel(399, 299));
    EXPECT_EQ(second.pixel(121, 92), kColor);
    EXPECT_EQ(second.pixel(122, 91), kColor);
    ASSERT_TRUE(last);
    EXPECT_EQ(SizeOf(*last), (Size{400, 300})) << "LastPicture is the picture before padding";

    // The next picture is compared with 400 x 300.
    raster::Bitmap third = Coordinates(300, 400);
    PreparePicture(third, last, screen);
    ASSERT_EQ(SizeOf(third), (Size{403, 403}));
    EXPECT_EQ(third.pixel(52, 2), Coordinates(300, 400).pixel(0, 0));
    raster::Bitmap fourth(200, 100);
    PreparePicture(fourth, last, screen);
    EXPECT_EQ(SizeOf(fourth), (Size{303, 403}));
}

TEST(ScreenPreparation, FullFramePadsEveryPictureToTheClientSize) {
    auto screen = Screen720x480(0);
    screen.FullFrame = true;
    std::optional<raster::Bitmap> last;
    raster::Bitmap picture = Coordinates(200, 100);
    PreparePicture(picture, last, screen);
    ASSERT_EQ(SizeOf(picture), (Size{723, 483}));
    EXPECT_EQ(picture.pixel(262, 192), Coordinates(200, 100).pixel(0, 0));
    raster::Bitmap large(700, 480);
    PreparePicture(large, last, screen);
    EXPECT_EQ(SizeOf(large), (Size{723, 483}));
}

TEST(ScreenPreparation, FrameBackgroundsAreTiledOrStretchedUnderThePicture) {
    auto screen = Screen720x480(0);
    const raster::Bitmap pattern = Coordinates(16, 16);
    screen.FrameBackground = 1;
    screen.FrameBackgroundPicture = &pattern;
    const raster::Bitmap picture(100, 50, RGB(200, 0, 0));
    std::optional<raster::Bitmap> last;
    raster::Bitmap tiled = picture;
    PreparePicture(tiled, last, screen);
    ASSERT_EQ(SizeOf(tiled), (Size{720, 480}));
    EXPECT_EQ(tiled.pixel(17, 3), pattern.pixel(1, 3));
    EXPECT_EQ(tiled.pixel(310, 215), RGB(200, 0, 0));
    EXPECT_EQ(tiled.pixel(409, 264), RGB(200, 0, 0));
    EXPECT_EQ(tiled.pixel(410, 264), pattern.pixel(410 % 16, 264 % 16));

    // A smaller next picture is not padded on a background.
    raster::Bitmap next(50, 50);
    PreparePicture(next, last, screen);
    EXPECT_EQ(SizeOf(next), (Size{720, 480}));

    const raster::Bitmap fourColours =
        Quadrants(2, 2, RGB(10, 0, 0), RGB(20, 0, 0), RGB(30, 0, 0), RGB(40, 0, 0));
    screen.FrameBackground = 2;
    screen.FrameBackgroundPicture = &fourColours;
    raster::Bitmap stretched = picture;
    PreparePicture(stretched, last, screen);
    EXPECT_EQ(stretched.pixel(0, 0), RGB(10, 0, 0));
    EXPECT_EQ(stretched.pixel(719, 0), RGB(20, 0, 0));
    EXPECT_EQ(stretched.pixel(0, 479), RGB(30, 0, 0));
    EXPECT_EQ(stretched.pixel(719, 479), RGB(40, 0, 0));

    // Blurred: the picture's own colour, darkened, all round it; no pattern.
    screen.FrameBackground = 3;
    raster::Bitmap blurred = picture;
    PreparePicture(blurred, last, screen);
    ASSERT_EQ(SizeOf(blurred), (Size{720, 480}));
    EXPECT_EQ(blurred.pixel(360, 240), RGB(200, 0, 0));
    const uint8_t dark = uint8_t(200 * kBlurredFillBrightness / 256);
    for (const auto& [x, y] : {std::pair{0, 0}, {719, 0}, {0, 479}, {719, 479}})
        EXPECT_TRUE(Near(blurred.pixel(x, y), RGB(dark, 0, 0), 1)) << x << "," << y;
}

TEST(ScreenPreparation, TransparentPicturesShowWhatLiesUnderThem) {
    TempDir dir;
    // Clear on the left half, opaque red on the right; scaled to fit 720 x 480.
    QImage logo(120, 80, QImage::Format_ARGB32);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x)
            logo.setPixel(x, y, x < 60 ? qRgba(0, 0, 0, 0) : qRgb(255, 0, 0));
    ASSERT_TRUE(logo.save(QString::fromStdString(dir.file("logo.png")), "png"));
    const raster::Bitmap pattern = Coordinates(16, 16);
    for (const uint8_t background : {0, 1, 2}) {
        SCOPED_TRACE(background);
        auto screen = Screen720x480(2);
        screen.FrameBackground = background;
        screen.FrameBackgroundPicture = &pattern;
        std::optional<raster::Bitmap> last;
        raster::Bitmap picture;
        LoadAndPreparePicture(picture, last, screen, dir.file("logo.png"));
        ASSERT_EQ(SizeOf(picture), (Size{720, 480}));
        raster::Bitmap under(720, 480, kColor);
        if (background == 1) raster::FillPattern(under, under.bounds(), pattern);
        if (background == 2)
            raster::StretchDraw(under, under.bounds(), pattern, raster::StretchMode::Halftone);
        EXPECT_EQ(picture.pixel(100, 200), under.pixel(100, 200));
        EXPECT_EQ(picture.pixel(300, 333), under.pixel(300, 333));
        EXPECT_EQ(picture.pixel(600, 200), RGB(255, 0, 0));
    }
}

TEST(ScreenPreparation, LoadingNeverRaisesAndKeepsThePictureOnErrors) {
    TempDir dir;
    const auto screen = Screen720x480(2);
    std::optional<raster::Bitmap> last;
    raster::Bitmap picture(10, 10, RGB(7, 7, 7));
    LoadAndPreparePicture(picture, last, screen, dir.file("missing.png"));
    EXPECT_EQ(SizeOf(picture), (Size{10, 10}));
    EXPECT_FALSE(last);

    // A screen without size stops preparation after loading.
    ScreenPictureSettings empty = screen;
    empty.Width = 0;
    ASSERT_TRUE(
        ToQImage(Coordinates(64, 32)).save(QString::fromStdString(dir.file("a.png")), "png"));
    LoadAndPreparePicture(picture, last, empty, dir.file("a.png"));
    EXPECT_EQ(SizeOf(picture), (Size{64, 32}));

    // A large JPEG is decoded reduced and comes out as a full decode would.
    WriteFile(dir.file("big.jpg"), EncodeJpeg(PhotoLike(2048, 1536, 9)));
    raster::Bitmap loaded;
    std::optional<raster::Bitmap> lastLoaded;
    LoadAndPreparePicture(loaded, lastLoaded, screen, dir.file("big.jpg"));
    ASSERT_EQ(SizeOf(loaded), (Size{639, 480}));
    raster::Bitmap full;
    std::optional<raster::Bitmap> lastFull;
    LoadPictureFile(full, dir.file("big.jpg"), 0);
    PreparePicture(full, lastFull, screen);
    EXPECT_GE(Psnr(loaded, full), 40.0);
}

}  // namespace
}  // namespace imaging
