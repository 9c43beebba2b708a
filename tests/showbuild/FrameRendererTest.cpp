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
#include "showbuild/ShowPreparation.h"
#include "video/EncoderTestUtil.h"

namespace video::test {
namespace {

// A gradient with a disc, so a misplaced or mis-scaled picture shows.
void WriteTestPicture(const std::string& path, int width, int height, int hue) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           QColor::fromHsv(hue, x * 255 / width, 80 + y * 175 / height).rgb());
    QPainter painter(&image);
    painter.setBrush(Qt::white);
    painter.drawEllipse(width / 4, height / 4, width / 3, height / 3);
    painter.end();
    ASSERT_TRUE(image.save(QString::fromStdString(path))) << path;
}

// Four pictures of different shapes, captioned; two move (one by the
// show's random motion), two stand still on the blurred fill. Their
// effects draw from the program's generator: seeded by the incoming
// picture (Dissolve), unseeded (the uneven shreds), and the last picture's
// is drawn at random from two.
model::Show TestShow(const ScratchDir& dir, int videoType) {
    model::Show show;
    model::TslSettings& s = show.settings;
    s.VideoType = static_cast<uint8_t>(videoType);
    s.EffectSpeed2 = 1;
    s.ImageInterval = 1;
    s.ShowCaption = true;
    s.Back_Mode_UseColor = false;
    s.Back_Mode_Blurred = true;
    s.PlayMusic = false;
    const char* const effects[] = {"169,", "65,", "68,", "101,170,"};
    s.Motion = model::MotionSetting{model::MotionKind::Random, 3};
    const int sizes[][2] = {{640, 480}, {300, 500}, {800, 300}, {500, 500}};
    for (int i = 0; i < 4; ++i) {
        const std::string path = dir.file("picture" + std::to_string(i) + ".png");
        WriteTestPicture(path, sizes[i][0], sizes[i][1], i * 90);
        s.Pictures.push_back(path);
        show.notes.WriteString(model::kCaptionsSection, model::ImagePathKey(path),
                               "Picture number " + std::to_string(i + 1));
        show.notes.WriteString(model::kEffectsSection, model::ImagePathKey(path), effects[i]);
        if (i % 2 == 1)
            model::SetOwnMotion(show.notes, path, model::MotionSetting{model::MotionKind::None, 3});
    }
    model::SetOwnMotion(show.notes, s.Pictures[2],
                        model::MotionSetting{model::MotionKind::PanLeft, 5});
    return show;
}

struct SentFrame {
    raster::Bitmap pixels;
    std::vector<CaptionLine> captions;
};

class FrameRendererTest : public ::testing::TestWithParam<int> {
protected:
    ScratchDir dir_;
};

TEST_P(FrameRendererTest, FramesEqualTheBuildsBeforeEncoding) {
    const model::Show show = TestShow(dir_, GetParam());
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
