// Title cards as a viewer sees them, decoded from built videos: the words
// centred inside the title-safe area on a disc and in an MP4, shown with
// captions off, the card lasting its own interval, each backdrop what was
// chosen, the words in the subtitles, and the command line's opening title.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "model/TitleCard.h"
#include "showbuild/BuildTestUtil.h"
#include "showbuild/ShowTiming.h"

namespace video::test {
namespace {

struct Format {
    int videoType;
    int width, height;
    int safePercent;
};
constexpr Format kDvd{2, 720, 576, 80};
constexpr Format kMp4{3, 1280, 720, 90};

// A colour dark enough that only the words count as ink.
constexpr unsigned kDarkBlue = 0x102838;

bool Near(const uint8_t* rgb, unsigned colour, int tolerance) {
    return std::abs(rgb[0] - int(colour >> 16 & 0xFF)) <= tolerance &&
           std::abs(rgb[1] - int(colour >> 8 & 0xFF)) <= tolerance &&
           std::abs(rgb[2] - int(colour & 0xFF)) <= tolerance;
}

class TitleCardBuild : public BuildTest {
protected:
    // A card named 'path' with 'card' at the given place of the show.
    void AddCard(const std::string& path, const model::TitleCard& card, int32_t interval = 0) {
        model::WriteTitleCard(show_.notes, path, card);
        if (interval > 0)
            show_.notes.WriteString("intervals", model::ImagePathKey(path),
                                    std::to_string(interval));
        show_.settings.Pictures.push_back(path);
    }
    void AddSolid(const std::string& name, unsigned rgb) {
        WriteSolidPicture(File(name), 160, 120, rgb);
        show_.settings.Pictures.push_back(File(name));
    }
    BuildResult Build(const Format& format) {
        QuickShow(1);
        show_.settings.useeffects.reset();  // cuts: a frame is one picture's or the next's
        show_.settings.VideoType = static_cast<uint8_t>(format.videoType);
        BuildResult result = BuildShow();
        EXPECT_EQ(result.status, BuildResult::Status::Completed) << result.message;
        return result;
    }
    static RgbFrame Decode(const BuildResult& result, const Format& format, int64_t index) {
        return RgbFrame{
            format.width, format.height,
            DecodeFrameRgb(result.videoFile, format.width, format.height, static_cast<int>(index))};
    }
};

TEST_F(TitleCardBuild, WordsAreCentredInsideTheSafeAreaForTheCardsOwnInterval) {
    for (const Format& format : {kDvd, kMp4}) {
        SCOPED_TRACE(format.videoType);
        show_ = {};
        show_.settings.ShowCaption = false;  // a card's words show all the same
        AddCard("title:1",
                {"Summer 2026", "At the lake", model::TitleBackdrop::Colour, kDarkBlue, ""}, 3);
        AddSolid("black.png", 0x000000);
        const BuildResult result = Build(format);
        const FrameRate rate = result.rate;
        const int64_t next = TransitionFrameCount(1, rate) + ImageFrameCount(3, rate);

        const RgbFrame middle = Decode(result, format, next / 2);
        ASSERT_FALSE(middle.rgb.empty());
        EXPECT_TRUE(Near(middle.at(4, 4), kDarkBlue, 10));
        const InkBox ink = middle.inkBox();
        ASSERT_GE(ink.right, 0) << "no words drawn";
        EXPECT_NEAR((ink.left + ink.right) / 2.0, format.width / 2.0, 3);
        EXPECT_NEAR((ink.top + ink.bottom) / 2.0, format.height / 2.0, format.height / 20.0);
        const double mx = format.width * (100 - format.safePercent) / 200.0;
        const double my = format.height * (100 - format.safePercent) / 200.0;
        EXPECT_GE(ink.left, mx);
        EXPECT_LT(ink.right, format.width - mx);
        EXPECT_GE(ink.top, my);
        EXPECT_LT(ink.bottom, format.height - my);
        // Two lines: the title at twice the caption size and the line under it.
        EXPECT_GT(ink.bottom - ink.top, format.height / 8);

        // The card's last frame, then the picture after it.
        EXPECT_TRUE(Near(Decode(result, format, next).at(4, 4), kDarkBlue, 10));
        EXPECT_TRUE(Near(Decode(result, format, next + 1).at(4, 4), 0x000000, 10));

        // An MP4's subtitle track carries the words, captions off or not.
        if (format.videoType != kMp4.videoType) continue;
        EXPECT_EQ(StreamOfType(ProbeSections(result.videoFile, "-show_streams"), "subtitle")
                      .at("codec_name"),
                  "mov_text");
        ASSERT_EQ(result.subtitles.size(), 1u);
        EXPECT_EQ(result.subtitles[0].text, "Summer 2026\nAt the lake");
        EXPECT_EQ(result.subtitles[0].start, 0);
        EXPECT_EQ(result.subtitles[0].end, next);
    }
}

TEST_F(TitleCardBuild, EachBackdropIsTheOneChosen) {
    WriteSolidPicture(File("red.png"), 160, 120, 0xC02010);
    const std::string red = File("red.png");
    AddCard("title:1", {"Colour", "", model::TitleBackdrop::Colour, 0x00A000, ""});
    AddCard("title:2", {"Blurred", "", model::TitleBackdrop::Blurred, 0x00A000, red});
    AddCard("title:3", {"Picture", "", model::TitleBackdrop::Picture, 0x00A000, red});
    AddCard("title:4", {"Gone", "", model::TitleBackdrop::Picture, 0x00A000, File("gone.jpg")});
    const BuildResult result = Build(kDvd);
    const int64_t cycle = TransitionFrameCount(1, result.rate) + ImageFrameCount(1, result.rate);
    const auto corner = [&](int card) {
        const RgbFrame frame = Decode(result, kDvd, card * cycle + cycle / 2);
        EXPECT_FALSE(frame.rgb.empty());
        return std::vector<uint8_t>(frame.at(4, 4), frame.at(4, 4) + 3);
    };
    EXPECT_TRUE(Near(corner(0).data(), 0x00A000, 10));
    // Blurred: the picture's colour, darkened; never the card's colour.
    const std::vector<uint8_t> blurred = corner(1);
    EXPECT_GT(blurred[0], blurred[1] + 30);
    EXPECT_LT(blurred[0], 0xC0 - 10);
    EXPECT_TRUE(Near(corner(2).data(), 0xC02010, 12));
    // A picture that is gone leaves the colour, and the build says so.
    EXPECT_TRUE(Near(corner(3).data(), 0x00A000, 10));
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_NE(result.warnings[0].find("gone.jpg"), std::string::npos) << result.warnings[0];
}

TEST_F(TitleCardBuild, TheCommandLineOpensTheShowWithATitleOverTheFirstPicture) {
    WriteSolidPicture(File("first.png"), 160, 120, 0x2060C0);
    WriteSolidPicture(File("second.png"), 160, 120, 0xFFFFFF);
    const std::string project = File("show.dvprj");
    std::ofstream(project) << "[Set]\nVideoType=3\nImageInterval=2\nEffectSpeed2=1\nuseeffects=\n"
                              "[Pictures]\n"
                           << File("first.png") << "=1\n"
                           << File("second.png") << "=1\n";
    std::vector<std::string> args = {"vantoshow",     "build",   project,           "-o",
                                     File("out.mp4"), "--title", "Our Holiday 2026"};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    ASSERT_EQ(cli::RunCommandLine(static_cast<int>(argv.size()), argv.data()), 0);

    // Three pictures now: the title, then the two of the project.
    const std::vector<Entries> probed = ProbeSections(File("out.mp4"), "-show_streams");
    const int64_t frames = std::stoll(StreamOfType(probed, "video").at("nb_frames"));
    const int64_t cycle = TransitionFrameCount(1, kPalRate) + ImageFrameCount(2, kPalRate);
    EXPECT_NEAR(static_cast<double>(frames), 3.0 * cycle, 2);

    const RgbFrame opening{
        kMp4.width, kMp4.height,
        DecodeFrameRgb(File("out.mp4"), kMp4.width, kMp4.height, static_cast<int>(cycle / 2))};
    ASSERT_FALSE(opening.rgb.empty());
    // The first picture's blurred copy: its blue, darkened, and the title's
    // ink in the middle of the frame.
    const uint8_t* corner = opening.at(4, 4);
    EXPECT_GT(corner[2], corner[0] + 30);
    EXPECT_LT(corner[2], 0xC0 - 10);
    int inked = 0;
    for (int x = kMp4.width / 4; x < kMp4.width * 3 / 4; ++x) {
        const uint8_t* p = opening.at(x, kMp4.height / 2);
        inked += std::min({p[0], p[1], p[2]}) > 180;
    }
    EXPECT_GT(inked, 10) << "no title across the middle row";
}

}  // namespace
}  // namespace video::test
