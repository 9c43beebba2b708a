// MP4 builds through the driver, read back with ffprobe and ffmpeg: every
// size at both landscape aspects and every other shape, at the rates of the
// standards and at 50, 60 and 59.94, with the stream properties players and
// video sites rely on, sound and picture ending together in every sync mode, a chapter
// per picture, and the picture and caption placed on the square-pixel frame.
// Shows are tiny (one or two small pictures, about a second) to stay fast.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/Show.h"
#include "showbuild/BuildDriver.h"
#include "showbuild/BuildTestUtil.h"

namespace video::test {
namespace {

using Status = BuildResult::Status;

struct Mp4Case {
    int videoType;  // 3 720p, 4 1080p, 5 4K
    int aspect;     // 0 16:9, 1 4:3, 2 9:16, 3 1:1, 4 4:5
    int tvSet;
    int rate;  // the record's VideoRate: 0 the standard's, 2 25, 4 50, 5 60, 7 59.94
    uint8_t musicSync;
    int width;
    int height;
    const char* frameRate;  // as ffprobe gives it
    int interval;           // seconds per picture, with the fastest transition (0.4 s)
    int cycleFrames;        // a picture's frames: its interval and transition at the rate
};

class EveryMp4Format : public BuildTest, public ::testing::WithParamInterface<Mp4Case> {};

TEST_P(EveryMp4Format, SizeRateShapeChaptersAndSoundEndingWithThePicture) {
    const Mp4Case c = GetParam();
    show_.settings.VideoType = static_cast<uint8_t>(c.videoType);
    show_.settings.VideoAspect = static_cast<uint8_t>(c.aspect);
    show_.settings.TVSet = c.tvSet;
    show_.settings.VideoRate = static_cast<uint8_t>(c.rate);
    show_.settings.MusicSync = c.musicSync;
    QuickShow(c.interval);
    show_.settings.ShowCaption = true;
    // A landscape and an upright picture, on the blurred fill; 3 s of music
    // makes every sync mode act.
    show_.settings.Back_Mode_Blurred = true;
    AddPicture("wide.jpg", 160, 120);
    AddPicture("tall.jpg", 90, 160);
    AddMusic("tone.mp3", 3.0, 3000);

    const BuildResult result = BuildShow();
    ASSERT_EQ(result.status, Status::Completed) << result.message;
    const auto info = ProbeFile(result.videoFile);
    ASSERT_TRUE(info && info->video && info->audio);
    EXPECT_EQ(info->video->codec, "h264");
    EXPECT_EQ(info->audio->codec, "aac");
    const std::vector<Entries> sections =
        ProbeSections(result.videoFile, "-show_streams -show_chapters");
    const Entries video = StreamOfType(sections, "video");
    EXPECT_EQ(video.at("width"), std::to_string(c.width));
    EXPECT_EQ(video.at("height"), std::to_string(c.height));
    EXPECT_EQ(video.at("sample_aspect_ratio"), "1:1");
    EXPECT_EQ(video.at("r_frame_rate"), c.frameRate);
    ExpectEndsTogether(*info);

    // A picture lasts its interval and transition, to the frame the rate
    // counts them in (whole frames: at most one short of each).
    const double rate = info->video->frameRate;
    const double frame = 1.0 / rate;
    const double cycle = c.cycleFrames / rate;
    EXPECT_NEAR(cycle, c.interval + 0.4, 2 * frame + 1e-9);
    const double duration = info->video->end - info->video->start;
    EXPECT_NEAR(duration, c.musicSync == 2 ? 3.0 : 2 * cycle, frame + 1e-6);
    // A chapter where each picture starts, those past the end left out.
    std::vector<Entries> chapters;
    std::copy_if(sections.begin(), sections.end(), std::back_inserter(chapters),
                 [](const Entries& s) { return s.at("section") == "chapter"; });
    ASSERT_EQ(chapters.size(), static_cast<size_t>(std::ceil(duration / cycle - 1e-6)));
    for (size_t k = 0; k < chapters.size(); ++k)
        EXPECT_NEAR(std::stod(chapters[k].at("start_time")), k * cycle, 0.001) << k;
}

std::string Mp4CaseName(const ::testing::TestParamInfo<Mp4Case>& info) {
    static const char* const kSync[] = {"NoSync", "MusicToPictures", "PicturesToMusic"};
    static const char* const kShape[] = {"Wide", "Standard", "Vertical", "Square", "Portrait"};
    const Mp4Case& c = info.param;
    std::string rate = c.frameRate;
    rate.erase(std::remove(rate.begin(), rate.end(), '/'), rate.end());
    return std::to_string(c.height) + kShape[c.aspect] + (c.tvSet == 1 ? "Ntsc" : "Pal") + "At" +
           rate + kSync[c.musicSync];
}

// Every size at 16:9 and 4:3 at the standards' rates, the other shapes at
// one size each, and the rates 50, 60 and 59.94. Intervals of 0 keep the
// large frames few.
INSTANTIATE_TEST_SUITE_P(Builds, EveryMp4Format,
                         ::testing::Values(Mp4Case{3, 0, 1, 0, 1, 1280, 720, "30000/1001", 0, 12},
                                           Mp4Case{3, 1, 0, 0, 2, 960, 720, "25/1", 0, 11},
                                           Mp4Case{4, 0, 0, 0, 2, 1920, 1080, "25/1", 0, 11},
                                           Mp4Case{4, 1, 1, 0, 0, 1440, 1080, "30000/1001", 0, 12},
                                           Mp4Case{5, 0, 0, 0, 0, 3840, 2160, "25/1", 0, 11},
                                           Mp4Case{5, 1, 1, 0, 1, 2880, 2160, "30000/1001", 0, 12},
                                           Mp4Case{3, 2, 0, 7, 0, 720, 1280, "60000/1001", 1, 82},
                                           Mp4Case{3, 3, 1, 4, 2, 720, 720, "50/1", 1, 70},
                                           Mp4Case{4, 4, 0, 5, 1, 1080, 1350, "60/1", 1, 84},
                                           Mp4Case{3, 0, 1, 2, 0, 1280, 720, "25/1", 1, 35}),
                         Mp4CaseName);

TEST_F(BuildTest, Mp4HoldsWhatPlayersAndVideoSitesExpect) {
    show_.settings.VideoType = 3;
    QuickShow(1);
    // 2 x (10 + 25) frames: 2.8 s, so a key frame has to come back once.
    AddPicture("first.jpg", 160, 120);
    AddPicture("second.png", 90, 160);
    show_.notes.WriteString("captions", "first.jpg", "Sunrise");
    show_.notes.WriteString("captions", "second.png", "");
    AddMusic("tone.mp3", 2.0, 2000);

    const BuildResult result = BuildShow();
    ASSERT_EQ(result.status, Status::Completed) << result.message;
    const std::string& path = result.videoFile;

    const std::vector<Entries> sections = ProbeSections(path, "-show_streams -show_chapters");
    const Entries video = StreamOfType(sections, "video");
    EXPECT_EQ(video.at("codec_name"), "h264");
    EXPECT_EQ(video.at("profile"), "High");
    EXPECT_EQ(video.at("pix_fmt"), "yuv420p");
    EXPECT_EQ(video.at("width"), "1280");
    EXPECT_EQ(video.at("height"), "720");
    EXPECT_EQ(video.at("sample_aspect_ratio"), "1:1");
    EXPECT_EQ(video.at("r_frame_rate"), "25/1");
    EXPECT_EQ(video.at("color_primaries"), "bt709");
    EXPECT_EQ(video.at("color_transfer"), "bt709");
    EXPECT_EQ(video.at("color_space"), "bt709");
    const Entries audio = StreamOfType(sections, "audio");
    EXPECT_EQ(audio.at("codec_name"), "aac");
    EXPECT_EQ(audio.at("profile"), "LC");
    EXPECT_EQ(audio.at("sample_rate"), "48000");
    EXPECT_EQ(audio.at("channels"), "2");

    // One chapter per picture, named by its caption or else its file name.
    const std::vector<Entries> chapters = ChaptersOf(sections);
    ASSERT_EQ(chapters.size(), 2u);
    EXPECT_EQ(chapters[0].at("tag:title"), "Sunrise");
    EXPECT_EQ(chapters[1].at("tag:title"), "second.png");
    EXPECT_DOUBLE_EQ(std::stod(chapters[1].at("start_time")), 35 / 25.0);
    EXPECT_DOUBLE_EQ(std::stod(chapters[1].at("end_time")), 70 / 25.0);

    // The index comes before the media data: playback starts while it loads.
    const std::string bytes = ReadWholeFile(path);
    ASSERT_NE(bytes.find("moov"), std::string::npos);
    EXPECT_LT(bytes.find("moov"), bytes.find("mdat"));

    // A key frame at least every 2 seconds.
    std::vector<double> keys;
    for (const Entries& packet :
         ProbeSections(path, "-select_streams v -show_entries packet=pts_time,flags"))
        if (packet.count("flags") && packet.at("flags").find('K') != std::string::npos)
            keys.push_back(std::stod(packet.at("pts_time")));
    keys.push_back(2.8);
    ASSERT_GE(keys.size(), 3u);
    for (size_t i = 1; i < keys.size(); ++i) EXPECT_LE(keys[i] - keys[i - 1], 2.0 + 1e-6);

    std::string errors;
    EXPECT_EQ(RunCommand("ffmpeg -nostdin -v error -i '" + path + "' -f null -", &errors), 0);
    EXPECT_EQ(errors, "");
}

TEST_F(BuildTest, Mp4PlacesAFourThreePhotoAndItsCaptionInTheMiddle) {
    show_.settings.VideoType = 3;  // 1280 x 720
    QuickShow(0);
    show_.settings.ShowCaption = true;
    show_.settings.PlayMusic = false;
    const std::string grey = File("grey.png");
    WriteSolidPicture(grey, 160, 120, 0x808080);
    show_.settings.Pictures = {grey};
    // No transition: after the first frame (the black one before the
    // picture) every frame is the whole picture.
    show_.notes.WriteString("effects", "grey.png", "");
    show_.notes.WriteString("captions", "grey.png", "Centred caption WWW");

    const BuildResult result = BuildShow();
    ASSERT_EQ(result.status, Status::Completed) << result.message;
    const int W = 1280, H = 720;
    const std::vector<uint8_t> luma = DecodeFrameLuma(result.videoFile, W, H, 5);
    ASSERT_EQ(luma.size(), static_cast<size_t>(W) * H);
    auto at = [&](int x, int y) { return luma[static_cast<size_t>(y) * W + x]; };

    // Row 100: black background, 960 columns of grey photo from x = 160, black again.
    const InkBox photo = BrightBox(luma, W, 80, 100, 100);
    EXPECT_NEAR(photo.left, 160, 1);
    EXPECT_NEAR(photo.right, 1119, 1);
    EXPECT_LT(at(80, 100), 40);
    EXPECT_LT(at(1200, 100), 40);

    // The caption's bright text: inside the frame, in its lower part, centred.
    const auto [minX, maxX, minY, maxY] = BrightBox(luma, W, 180, 0, H - 1);
    ASSERT_GE(maxX, 0) << "no caption drawn";
    EXPECT_GT(minX, 0);
    EXPECT_LT(maxX, W - 1);
    EXPECT_GT(minY, H * 3 / 4);
    EXPECT_LT(maxY, H - 1);
    // Centred on its ink, shadow included: the text alone is a shadow's
    // width (3 pixels at 720 lines) left of the middle at most.
    EXPECT_NEAR((minX + maxX) / 2.0, W / 2.0, 4.0);
}

}  // namespace
}  // namespace video::test
