// Frames drawn by the renderer against the frames the build hands the
// encoder, for a show with captions, motion, the blurred fill and effects
// drawn at random from the whole table.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "model/IniFile.h"
#include "model/MediaPaths.h"
#include "model/MotionSetting.h"
#include "model/PerImage.h"
#include "model/Show.h"
#include "model/StyleSet.h"
#include "showbuild/BuildDriver.h"
#include "showbuild/FrameRenderer.h"
#include "showbuild/RendererTestShow.h"
#include "showbuild/ShowPreparation.h"
#include "video/EncoderTestUtil.h"

namespace video::test {
namespace {

struct SentFrame {
    raster::Bitmap pixels;
    std::vector<CaptionLine> captions;
};

class FrameRendererTest : public ::testing::TestWithParam<int> {
protected:
    ScratchDir dir_;
};

TEST_P(FrameRendererTest, FramesEqualTheBuildsBeforeEncoding) {
    const model::Show show = RendererTestShow(dir_.path().string(), GetParam());
    PreparedShow prepared = PrepareShow(show, ShowLoaders{});
    ASSERT_EQ(prepared.outcome, PreparedShow::Outcome::Ready) << prepared.message;
    const int64_t total = prepared.VideoFrames();
    ASSERT_GT(total, 100);
    // About twenty frames spread over the show, asked for from the end
    // backwards so that no picture comes from the renderer's last step.
    std::vector<int64_t> wanted;
    for (int k = 19; k >= 0; --k) wanted.push_back(k * (total - 1) / 19);

    std::map<int64_t, SentFrame> sent;
    BuildHooks hooks;
    hooks.frameSent = [&](int64_t index, const raster::Bitmap& frame,
                          const std::vector<CaptionLine>& captions) {
        for (const int64_t w : wanted)
            if (w == index) sent[index] = {frame, captions};
    };
    BuildDriver driver(hooks);
    const BuildResult built = driver.Build(show, dir_.file("show.out"));
    ASSERT_EQ(built.status, BuildResult::Status::Completed) << built.message;
    ASSERT_EQ(built.framesEncoded, total);

    FrameRenderer renderer(std::move(prepared));
    for (const int64_t index : wanted) {
        SCOPED_TRACE("frame " + std::to_string(index));
        const base::Result<ShowFrame> frame = renderer.FrameAt(index);
        ASSERT_TRUE(frame) << frame.message();
        const SentFrame& expected = sent.at(index);
        ASSERT_EQ(frame->pixels.width(), expected.pixels.width());
        ASSERT_EQ(frame->pixels.height(), expected.pixels.height());
        for (int y = 0; y < expected.pixels.height(); ++y)
            ASSERT_EQ(0, std::memcmp(frame->pixels.row(y), expected.pixels.row(y),
                                     static_cast<size_t>(expected.pixels.width()) * 3))
                << "row " << y;
        EXPECT_EQ(frame->captions, expected.captions);
        EXPECT_FALSE(frame->captions.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(DiscAndMp4, FrameRendererTest, ::testing::Values(2, 3),
                         [](const auto& info) { return info.param == 2 ? "Dvd" : "Mp4_720p"; });

}  // namespace
}  // namespace video::test
