// The small previews' transition against the effect table drawn by hand on
// the pictures composed as the build composes them.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cstring>
#include <string>
#include <vector>

#include "effects/Effects.h"
#include "model/Show.h"
#include "showbuild/BuildPictures.h"
#include "showbuild/FrameTimeline.h"
#include "showbuild/PictureComposer.h"
#include "showbuild/ShowSeed.h"
#include "showbuild/ShowTiming.h"
#include "showbuild/TransitionPreview.h"
#include "video/EncoderTestUtil.h"

namespace video::test {
namespace {

// A gradient of one hue, so a misplaced, mis-scaled or swapped picture shows.
std::string WritePicture(const ScratchDir& dir, const std::string& name, int width, int height,
                         int hue) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           QColor::fromHsv(hue, 60 + x * 195 / width, 80 + y * 175 / height).rgb());
    const std::string path = dir.file(name);
    EXPECT_TRUE(image.save(QString::fromStdString(path))) << path;
    return path;
}

bool SamePixels(const raster::Bitmap& a, const raster::Bitmap& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.row(y), b.row(y), static_cast<size_t>(a.width()) * 3) != 0) return false;
    return true;
}

// The picture fitted onto the background colour at 'format'.
raster::Bitmap Composed(const std::string& path, const FrameFormat& format, raster::Color colour) {
    const DisplayBox box = DisplayBoxOf(format);
    const BuildPicture picture = LoadBuildPicture(path, PictureBox{box.width, box.height});
    BackgroundSpec background;
    background.colour = colour;
    raster::Bitmap composed;
    ComposePicture(composed, PrepareBackground(background, format), picture.bitmap,
                   picture.naturalWidth, picture.naturalHeight, format, picture.opacity);
    return composed;
}

model::Show ShowOnBlue() {
    model::Show show;
    show.settings.VideoType = 3;  // MP4 720p: 16:9
    show.settings.TVSet = 1;
    show.settings.EffectSpeed2 = 1;
    show.settings.BackgroundColor = 0xC04010;
    show.settings.Back_Mode_UseColor = true;
    return show;
}

// Every step of the preview is the table's frame drawn onto the one before,
// from the outgoing picture, with the incoming picture as the build seeds
// it; across the families and above the styles a slideshow screen once drew
// itself.
TEST(TransitionPreviewTest, EachStepIsTheTablesFrameOfTheComposedPictures) {
    const ScratchDir dir;
    const std::vector<std::string> pictures = {WritePicture(dir, "wide.png", 640, 360, 30),
                                               WritePicture(dir, "tall.png", 300, 500, 200)};
    const model::Show show = ShowOnBlue();
    const FrameFormat format = PreviewFrameFormat(show.settings, 160);
    ASSERT_EQ(format.height, 90);
    const raster::Bitmap from = Composed(pictures[0], format, show.settings.BackgroundColor);
    raster::Bitmap to = Composed(pictures[1], format, show.settings.BackgroundColor);
    to.setHandle(ShowSeed(pictures));
    const int32_t steps = TransitionFrameCount(1, kNtscRate);

    for (const int style : {5, 80, 118, 130, 150, 169, 172}) {
        SCOPED_TRACE(style);
        const base::Result<TransitionPreview> preview =
            DrawTransitionPreview(show, pictures, style, format);
        ASSERT_TRUE(preview) << preview.message();
        ASSERT_EQ(preview->steps(), steps);
        EXPECT_TRUE(SamePixels(preview->frames[0], from));
        raster::Bitmap expected = from;
        for (int32_t k = 1; k <= steps; ++k) {
            effects::DrawEffect(style, expected, to, TransitionProgress(k, steps));
            ASSERT_TRUE(SamePixels(preview->frames[static_cast<size_t>(k)], expected)) << k;
        }
        // The steps are not all the same frame.
        EXPECT_FALSE(SamePixels(preview->frames[1], preview->frames[static_cast<size_t>(steps)]));
    }
}

// A lone picture (or one left after a missing one is left out) comes in
// from the black frame the video opens with; only the first two count, and
// a preview of no readable picture fails.
TEST(TransitionPreviewTest, TheFirstTwoReadablePicturesOrOneFromBlack) {
    const ScratchDir dir;
    const std::string a = WritePicture(dir, "a.png", 200, 150, 0);
    const std::string b = WritePicture(dir, "b.png", 150, 200, 120);
    const std::string c = WritePicture(dir, "c.png", 150, 150, 240);
    const std::string missing = dir.file("missing.jpg");
    const model::Show show = ShowOnBlue();
    const FrameFormat format = PreviewFrameFormat(show.settings, 96);
    const raster::Color colour = show.settings.BackgroundColor;
    const raster::Bitmap black(format.width, format.height);

    struct Case {
        std::vector<std::string> pictures;
        raster::Bitmap from;
        std::string to;
    };
    const Case cases[] = {
        {{a, b, c}, Composed(a, format, colour), b},
        {{c}, black, c},
        {{missing, c}, black, c},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.to);
        const base::Result<TransitionPreview> preview =
            DrawTransitionPreview(show, test.pictures, 118, format);
        ASSERT_TRUE(preview) << preview.message();
        EXPECT_TRUE(SamePixels(preview->frames.front(), test.from));
        EXPECT_TRUE(SamePixels(preview->frames.back(), Composed(test.to, format, colour)));
    }
    EXPECT_FALSE(DrawTransitionPreview(show, {}, 118, format));
    EXPECT_FALSE(DrawTransitionPreview(show, {missing}, 118, format));
}

}  // namespace
}  // namespace video::test
