// What a viewer sees in built frames, decoded from the video: captions
// inside the frame and centred on their ink in every format and standard,
// transparent pictures over the show's background, and tiled backgrounds
// in display proportions, a widescreen DVD's included.
#include <gtest/gtest.h>

#include <QImage>

#include <string>
#include <vector>

#include "model/Show.h"
#include "showbuild/BuildDriver.h"
#include "showbuild/BuildTestUtil.h"
#include "video/EncoderPresets.h"

namespace video::test {
namespace {

struct FormatCase {
    int videoType;
    int tvSet;
    uint8_t dvdAspect = 1;  // 0 a widescreen DVD
};

// The display's width over its height.
double DisplayAspect(const FormatCase& c) {
    return c.videoType == 2 && c.dvdAspect == 0 ? 16.0 / 9 : 4.0 / 3;
}

// The encoded picture's size for a case.
struct FrameSize {
    int width;
    int height;
};
FrameSize SizeOf(const FormatCase& c) {
    const EncoderPreset* preset = FindPreset(c.videoType, c.tvSet);
    return preset ? FrameSize{preset->width, preset->height} : FrameSize{0, 0};
}

class FrameLook : public BuildTest, public ::testing::WithParamInterface<FormatCase> {
protected:
    // Builds the show as set up and decodes the luma of its last frame.
    // Each picture cuts in: held for one frame, the last frame is the
    // transition's final one, and the transition would be drawn at random
    // (some leave an edge or a wedge of the frame before; a busy one leaves
    // the low-rate encoder too few bits to draw the picture's edges sharply).
    std::vector<uint8_t> BuiltLuma() {
        const FormatCase c = GetParam();
        show_.settings.VideoType = static_cast<uint8_t>(c.videoType);
        show_.settings.TVSet = c.tvSet;
        show_.settings.DvdAspect = c.dvdAspect;
        QuickShow(0);
        show_.settings.useeffects.reset();
        const BuildResult result = BuildShow();
        EXPECT_EQ(result.status, BuildResult::Status::Completed) << result.message;
        const FrameSize size = SizeOf(c);
        return DecodeFrameLuma(result.videoFile, size.width, size.height, kLastFrame);
    }
};

TEST_P(FrameLook, CaptionsLieInsideTheFrameCentredOnTheirInk) {
    const FrameSize size = SizeOf(GetParam());
    const std::string black = File("black.png");
    WriteSolidPicture(black, 160, 120, 0x000000);
    show_.settings.Pictures = {black};
    show_.settings.ShowCaption = true;
    for (const std::string caption : {
             "Holiday at the lake!",                                          // 20
             "Holiday at the lake in June 20",                                // 30
             "Holiday at the lake in June 2024 with all of the family, too",  // 60
         }) {
        show_.notes.WriteString("captions", "black.png", caption);
        const std::vector<uint8_t> luma = BuiltLuma();
        ASSERT_EQ(luma.size(), static_cast<size_t>(size.width) * size.height);
        const auto [left, right, top, bottom] = BrightBox(luma, size.width, 60, 0, size.height - 1);
        SCOPED_TRACE(caption + " in " + std::to_string(size.width) + "x" +
                     std::to_string(size.height));
        ASSERT_GE(right, 0);
        // Inside the frame with its margins, nothing touching an edge.
        EXPECT_GE(left, size.width / 20 - 2);
        EXPECT_LE(right, size.width - size.width / 20 + 2);
        EXPECT_GT(top, size.height / 2);
        EXPECT_LT(bottom, size.height - 1);
        EXPECT_NEAR((left + right) / 2.0, size.width / 2.0, 3.0);
    }
}

TEST_P(FrameLook, TransparentPicturesShowWhatLiesUnderThem) {
    const FrameSize size = SizeOf(GetParam());
    // Clear on the left, opaque black on the right; 4:3, so it fills the frame.
    QImage logo(160, 120, QImage::Format_ARGB32);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            logo.setPixel(x, y, x < 80 ? qRgba(0, 0, 0, 0) : qRgb(0, 0, 0));
    const std::string logoPath = File("logo.png");
    ASSERT_TRUE(logo.save(QString::fromStdString(logoPath)));
    show_.settings.Pictures = {logoPath};
    const std::string greyPath = File("grey.png");
    WriteSolidPicture(greyPath, 40, 30, 0x808080);
    show_.settings.BackgroundColor = 0xFFFFFF;
    const auto lumaAt = [&](const std::vector<uint8_t>& luma, int x) {
        return luma.at(static_cast<size_t>(size.height / 2) * size.width + x);
    };

    // On the white colour: white where clear, black where opaque.
    std::vector<uint8_t> luma = BuiltLuma();
    ASSERT_FALSE(luma.empty());
    EXPECT_GT(lumaAt(luma, size.width / 4), 225);
    EXPECT_LT(lumaAt(luma, size.width * 3 / 4), 30);

    // On a grey background picture, tiled or stretched: the grey shows through.
    show_.settings.Back_Mode_UseColor = false;
    show_.settings.Back_Image_Filename = greyPath;
    for (const bool tiled : {true, false}) {
        show_.settings.Back_Image_UseTiled = tiled;
        luma = BuiltLuma();
        ASSERT_FALSE(luma.empty());
        EXPECT_NEAR(lumaAt(luma, size.width / 4), 126, 6) << "tiled " << tiled;
        EXPECT_LT(lumaAt(luma, size.width * 3 / 4), 30);
    }
}

// Mean distance between the rising edges (dark to light) of 'count' luma
// samples 'step' bytes apart.
double EdgePeriod(const uint8_t* samples, int count, ptrdiff_t step) {
    int first = -1, last = -1, edges = 0;
    for (int i = 1; i < count; ++i) {
        if (samples[(i - 1) * step] < 128 && samples[i * step] >= 128) {
            if (first < 0) first = i;
            last = i;
            ++edges;
        }
    }
    return edges > 1 ? static_cast<double>(last - first) / (edges - 1) : 0.0;
}

TEST_P(FrameLook, ASquareTileShowsSquare) {
    const FrameSize size = SizeOf(GetParam());
    // A checkerboard of 16-pixel squares, repeated behind a narrow picture.
    QImage tile(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            tile.setPixel(x, y, (x < 16) == (y < 16) ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const std::string tilePath = File("tile.png");
    ASSERT_TRUE(tile.save(QString::fromStdString(tilePath)));
    show_.settings.Back_Mode_UseColor = false;
    show_.settings.Back_Image_UseTiled = true;
    show_.settings.Back_Image_Filename = tilePath;
    AddPicture("narrow.png", 4, 1000);

    const std::vector<uint8_t> luma = BuiltLuma();
    ASSERT_EQ(luma.size(), static_cast<size_t>(size.width) * size.height);
    // Across the left third, and down a column left of the picture.
    const double across = EdgePeriod(
        luma.data() + static_cast<size_t>(size.height / 2) * size.width, size.width / 3, 1);
    const double down = EdgePeriod(luma.data() + size.width / 8, size.height, size.width);
    ASSERT_GT(across, 0.0);
    ASSERT_GT(down, 0.0);
    // The encoded picture fills the display.
    const double shownAspect =
        (across * DisplayAspect(GetParam()) / size.width) / (down * 1.0 / size.height);
    RecordProperty("shownAspect", std::to_string(shownAspect));
    EXPECT_NEAR(shownAspect, 1.0, 0.02) << across << " x " << down;
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, FrameLook,
                         ::testing::Values(FormatCase{0, 0}, FormatCase{0, 1}, FormatCase{1, 0},
                                           FormatCase{1, 1}, FormatCase{2, 0}, FormatCase{2, 1},
                                           FormatCase{2, 0, 0}));

// A widescreen DVD's pixels are 4/3 as wide as a 4:3 DVD's: its caption is
// 3/4 as many pixels wide, and so as wide on screen, not stretched.
TEST_F(BuildTest, AWidescreenDvdCaptionIsAsWideOnScreenAsAFourThreeOne) {
    const std::string black = File("black.png");
    WriteSolidPicture(black, 160, 120, 0x000000);
    show_.settings.Pictures = {black};
    show_.settings.ShowCaption = true;
    show_.notes.WriteString("captions", "black.png", "Holiday at the lake!");
    show_.settings.VideoType = 2;
    QuickShow(0);
    show_.settings.useeffects.reset();
    int inkWidth[2] = {};
    for (const uint8_t aspect : {0, 1}) {
        show_.settings.DvdAspect = aspect;
        const BuildResult result = BuildShow();
        ASSERT_EQ(result.status, BuildResult::Status::Completed) << result.message;
        const std::vector<uint8_t> luma = DecodeFrameLuma(result.videoFile, 720, 576, kLastFrame);
        ASSERT_EQ(luma.size(), size_t{720} * 576);
        const auto [left, right, top, bottom] = BrightBox(luma, 720, 60, 0, 575);
        ASSERT_GT(right, left);
        inkWidth[aspect] = right - left + 1;
    }
    EXPECT_NEAR(inkWidth[0], inkWidth[1] * 0.75, 4) << inkWidth[0] << " vs " << inkWidth[1];
}

}  // namespace
}  // namespace video::test
