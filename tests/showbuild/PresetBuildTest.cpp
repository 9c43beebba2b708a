// Every show preset through the build's own path: the settings it makes
// give the encoder, and the frames the build renders, the size, shape and
// rate the preset is for, under either television standard.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "model/Settings.h"
#include "model/ShowPresets.h"
#include "model/VideoFormatKeys.h"
#include "showbuild/FrameGeometry.h"
#include "video/EncoderPresets.h"

namespace video::test {
namespace {

struct Promise {
    int width;
    int height;
    AVRational display;
    AVRational rate;
};

TEST(PresetBuildTest, EveryPresetGivesTheEncoderTheFrameAndRateItIsFor) {
    // The screens' own numbers, PAL then NTSC.
    const std::map<std::string, std::pair<Promise, Promise>> promised{
        {"tv", {{1920, 1080, {16, 9}, {50, 1}}, {1920, 1080, {16, 9}, {60, 1}}}},
        {"phone", {{1080, 1920, {9, 16}, {30, 1}}, {1080, 1920, {9, 16}, {30, 1}}}},
        {"square", {{1080, 1080, {1, 1}, {30, 1}}, {1080, 1080, {1, 1}, {30, 1}}}},
        {"4k-tv", {{3840, 2160, {16, 9}, {50, 1}}, {3840, 2160, {16, 9}, {60, 1}}}},
        {"dvd", {{720, 576, {4, 3}, {25, 1}}, {720, 480, {4, 3}, {30000, 1001}}}},
        {"dvd-wide", {{720, 576, {16, 9}, {25, 1}}, {720, 480, {16, 9}, {30000, 1001}}}},
        {"svcd", {{480, 576, {4, 3}, {25, 1}}, {480, 480, {4, 3}, {30000, 1001}}}},
        {"vcd", {{352, 288, {4, 3}, {25, 1}}, {352, 240, {4, 3}, {30000, 1001}}}},
    };
    ASSERT_EQ(promised.size(), model::ShowPresets().size());
    for (const model::ShowPreset& preset : model::ShowPresets()) {
        ASSERT_TRUE(promised.contains(preset.name)) << preset.name;
        for (const int32_t tvSet : {0, 1}) {
            const auto& [pal, ntsc] = promised.at(preset.name);
            const Promise& want = tvSet == 1 ? ntsc : pal;
            // From a show saved in another format, shape and rate.
            model::TslSettings s;
            s.VideoType = 3;
            s.VideoAspect = 1;
            s.DvdAspect = 0;
            s.VideoRate = 1;
            s.TVSet = tvSet;
            model::ApplyPreset(s, preset);
            const std::string what = std::string(preset.name) + (tvSet == 1 ? " NTSC" : " PAL");

            const std::optional<EncoderPreset> encoder = ResolvePreset(
                s.VideoType, tvSet, model::BuildAspect(s), s.VideoQuality, s.VideoRate);
            ASSERT_TRUE(encoder) << what;
            EXPECT_EQ(encoder->width, want.width) << what;
            EXPECT_EQ(encoder->height, want.height) << what;
            EXPECT_EQ(av_cmp_q(encoder->displayAspect, want.display), 0) << what;
            EXPECT_EQ(av_cmp_q(encoder->frameRate, want.rate), 0) << what;
            if (encoder->constantQuality()) {
                EXPECT_EQ(av_cmp_q(encoder->sampleAspect(), {1, 1}), 0) << what;
            }

            // The rendered frame is shown in the same shape, at the same rate.
            const std::optional<FrameFormat> format = FrameFormatOf(s);
            ASSERT_TRUE(format) << what;
            EXPECT_EQ(av_cmp_q({format->displayWidth, format->displayHeight}, want.display), 0)
                << what;
            EXPECT_EQ(format->rate, (FrameRate{want.rate.num, want.rate.den})) << what;
        }
    }
}

}  // namespace
}  // namespace video::test
