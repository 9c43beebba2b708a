// What a viewer sees in built frames, decoded from the video: captions
// inside the frame and centred on their ink in every format and standard,
// transparent pictures over the show's background, and tiled backgrounds
// in display proportions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/Settings.h"
#include "video/BuildDriver.h"
#include "video/BuildTestUtil.h"
#include "video/EncoderPresets.h"

namespace video::test {
namespace {

struct FormatCase {
    int videoType;
    int tvSet;
};

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
    // Builds the show as set up and decodes the luma of its first frame.
    std::vector<uint8_t> FirstFrameLuma() {
        const FormatCase c = GetParam();
        model::Settings.VideoType = static_cast<uint8_t>(c.videoType);
        model::Settings.TVSet = c.tvSet;
        model::Settings.EffectSpeed2 = 1;
        model::Settings.ImageInterval = 0;
        BuildDriver driver;
        const BuildResult result = driver.Build();
        EXPECT_EQ(result.status, BuildResult::Status::Completed) << result.message;
        const FrameSize size = SizeOf(c);
        return DecodeFirstFrameLuma(result.videoFile, size.width, size.height);
    }
};

TEST_P(FrameLook, CaptionsLieInsideTheFrameCentredOnTheirInk) {
    const FrameSize size = SizeOf(GetParam());
    const std::string black = File("black.png");
    WriteSolidPicture(black, 160, 120, 0x000000);
    model::Settings.Pictures = {black};
    model::Settings.ShowCaption = true;
    for (const std::string caption : {
             "Holiday at the lake!",                                          // 20
             "Holiday at the lake in June 20",                                // 30
             "Holiday at the lake in June 2024 with all of the family, too",  // 60
         }) {
        model::OptionsStore().WriteString("captions", "black.png", caption);
        const std::vector<uint8_t> luma = FirstFrameLuma();
        ASSERT_EQ(luma.size(), static_cast<size_t>(size.width) * size.height);
        int left = size.width, right = -1, top = size.height, bottom = -1;
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x)
                if (luma[static_cast<size_t>(y) * size.width + x] > 60) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
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

INSTANTIATE_TEST_SUITE_P(EveryFormat, FrameLook,
                         ::testing::Values(FormatCase{0, 0}, FormatCase{0, 1}, FormatCase{1, 0},
                                           FormatCase{1, 1}, FormatCase{2, 0}, FormatCase{2, 1}));

}  // namespace
}  // namespace video::test
