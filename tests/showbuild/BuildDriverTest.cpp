// Whole builds through the driver: every format and standard, the sync
// modes, captions, abort, and what happens to unreadable pictures, a
// missing show and encoder failures. Every video is checked by ffprobe and
// by the disc authoring tools.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/PerImage.h"
#include "model/Show.h"
#include "showbuild/BuildDriver.h"
#include "showbuild/BuildTestUtil.h"
#include "showbuild/ShowTiming.h"

namespace video::test {
namespace {

using Status = BuildResult::Status;

struct FormatCase {
    int videoType;
    int tvSet;
    uint8_t musicSync;
};

class EveryShowFormat : public BuildTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(EveryShowFormat, BuildsAPlayableShowWithCaptions) {
    const FormatCase c = GetParam();
    show_.settings.VideoType = static_cast<uint8_t>(c.videoType);
    show_.settings.TVSet = c.tvSet;
    show_.settings.MusicSync = c.musicSync;
    QuickShow(1);
    // One effect, not a draw from a set seeded by the scratch folder's name:
    // this one changes the whole frame twice within a few frames, which once
    // gave a disc two I pictures so close that the authoring tools dropped
    // the second from the disc's index.
    show_.settings.useeffects = model::StyleSet{};
    show_.settings.useeffects.set(17);
    show_.settings.ShowCaption = true;
    AddPicture("first.jpg", 200, 150);
    AddPicture("second.png", 90, 160);
    // 2.8 s of pictures (2 x (1 s + 10 transition frames) at PAL) and 2 s of music.
    AddMusic("tone.mp3", 2.0, 2000);

    const BuildResult result = BuildShow();
    ASSERT_EQ(result.status, Status::Completed) << result.message;
    EXPECT_TRUE(result.Problems().empty()) << result.Problems().front();
    EXPECT_EQ(result.videoFile, BuildDriver::TemporaryVideoPath());
    EXPECT_EQ(result.videoFile, File("tmp.mpg"));

    const auto info = ProbeFile(result.videoFile);
    ASSERT_TRUE(info.has_value());
    ExpectStream(*info, c.videoType, c.tvSet, true);
    ExpectEndsTogether(*info);
    const double frame = 1.0 / info->video->frameRate;
    if (c.musicSync == 2) {
        // Two seconds of music: the show is cut when the music ends.
        EXPECT_NEAR(info->video->end - info->video->start, 2.0, frame + 0.03);
    } else {
        EXPECT_EQ(info->video->packets, result.totalFrames);
        EXPECT_EQ(result.framesEncoded, result.totalFrames);
    }
    ExpectAuthoringAccepts(result.videoFile, c.videoType, c.tvSet, dir_);
}

std::string FormatCaseName(const ::testing::TestParamInfo<FormatCase>& info) {
    static const char* const kNames[] = {"Vcd", "Svcd", "Dvd"};
    static const char* const kSync[] = {"NoSync", "MusicToPictures", "PicturesToMusic"};
    return std::string(kNames[info.param.videoType]) + (info.param.tvSet == 1 ? "Ntsc" : "Pal") +
           kSync[info.param.musicSync];
}

INSTANTIATE_TEST_SUITE_P(Builds, EveryShowFormat,
                         ::testing::Values(FormatCase{0, 0, 0}, FormatCase{0, 1, 1},
                                           FormatCase{1, 0, 2}, FormatCase{1, 1, 0},
                                           FormatCase{2, 0, 1}, FormatCase{2, 1, 2}),
                         FormatCaseName);

TEST_F(BuildTest, FitToMusicEndsWithTheMusic) {
    show_.settings.MusicSync = 2;
    QuickShow(1);
    AddPicture("a.jpg");
    AddPicture("b.jpg");
    AddMusic("one.mp3", 1.5, 1500);
    AddMusic("two.mp3", 1.7, 1700);
    // 2.8 s of pictures for 3.2 s of music: pictures are appended to cover it.
    const BuildResult result = BuildShow();
    ASSERT_EQ(result.status, Status::Completed) << result.message;
    EXPECT_EQ(result.pictureStartFrames.size(), 3u);
    const auto info = ProbeFile(result.videoFile);
    ASSERT_TRUE(info && info->video && info->audio);
    const double frame = 1.0 / info->video->frameRate;
    const double musicEnd = MusicEndTime(result.videoFile, *info);
    EXPECT_NEAR(musicEnd, 3.2, 0.1);
    EXPECT_NEAR(info->video->end - info->video->start, musicEnd, frame + 0.03);
    EXPECT_LT(result.framesEncoded, result.totalFrames);
    ExpectEndsTogether(*info);
}

// A song of 37.54 s over 7 s pictures: the video ends within a frame of the
// music, never before it, at both rates. In NTSC the stored length is too
// short, as for a file replaced since it was measured: the last picture is
// held until the music really ends.
TEST_F(BuildTest, FitToMusicEndsWithinAFrameOfASongOfFractionalLength) {
    MakeSineMp3(File("song.mp3"), 37.54);
    for (const int tvSet : {0, 1}) {
        show_ = model::Show{};
        show_.settings.VideoType = 0;
        show_.settings.TVSet = tvSet;
        show_.settings.MusicSync = 2;
        QuickShow(7);
        AddPicture("a.jpg");
        show_.settings.Music = {File("song.mp3")};
        show_.notes.WriteInteger("Mp3Length", File("song.mp3"), tvSet == 0 ? 37'540 : 30'000);
        const BuildResult result = BuildShow();
        ASSERT_EQ(result.status, Status::Completed) << result.message;
        const auto info = ProbeFile(result.videoFile);
        ASSERT_TRUE(info && info->video && info->audio);
        const double frame = 1.0 / info->video->frameRate;
        const double videoLength = result.framesEncoded * frame;
        const double musicEnd = MusicEndTime(result.videoFile, *info);
        EXPECT_NEAR(musicEnd, 37.54, 0.1) << tvSet;
        EXPECT_GE(videoLength, 37.54) << tvSet;
        EXPECT_LT(videoLength, 37.54 + frame + 0.03) << tvSet;
        EXPECT_EQ(info->video->packets, result.framesEncoded);
        ExpectEndsTogether(*info);
    }
}

// With no music at all there is nothing to fit the pictures to: the whole
// show is built, not a video that ends at its first frame.
TEST_F(BuildTest, FitToMusicWithoutMusicBuildsTheWholeShow) {
    show_.settings.MusicSync = 2;
    QuickShow(1);
    AddPicture("a.jpg");
    AddPicture("b.jpg");
    const BuildResult result = BuildShow();
    ASSERT_EQ(result.status, Status::Completed) << result.message;
    EXPECT_EQ(result.totalFrames, 2 * (25 + 10));
    EXPECT_EQ(result.framesEncoded, result.totalFrames);
    const auto info = ProbeFile(result.videoFile);
    ASSERT_TRUE(info && info->video);
    EXPECT_EQ(info->video->packets, result.totalFrames);
    ExpectEndsTogether(*info);
}

// Music switched off: the encoder gets no music, and fitting to the music
// it would have played neither cuts nor lengthens the show.
TEST_F(BuildTest, MusicOffGivesASilentTrackAndThePlainShow) {
    show_.settings.MusicSync = 2;
    show_.settings.PlayMusic = false;
    QuickShow(1);
    AddPicture("a.jpg");
    AddPicture("b.jpg");
    AddMusic("tone.mp3", 1.0, 60'000);  // stored as a minute: no repeats
    model::IniFile store;
    store.WriteBool("Music", File("broken.mp3"), true);
    store.WriteInteger("Mp3Length", File("broken.mp3"), -1);
    std::ofstream(File("broken.mp3")) << "not music";
    CollectShow(store);
    ASSERT_EQ(show_.leftOutMusic.size(), 1u);
    const BuildResult result = BuildShow();
    ASSERT_EQ(result.status, Status::Completed) << result.message;
    EXPECT_EQ(result.framesEncoded, 2 * (25 + 10));
    const auto info = ProbeFile(result.videoFile);
    ASSERT_TRUE(info && info->video && info->audio);
    EXPECT_EQ(info->video->packets, result.framesEncoded);
    EXPECT_EQ(LastSoundTime(DecodeAudio(result.videoFile, 8000), 8000), 0.0);  // silence
    ExpectEndsTogether(*info);
    EXPECT_EQ(result.pictureStartFrames.size(), 2u);
    EXPECT_TRUE(result.Problems().empty());  // music not played is not music left out
}

TEST_F(BuildTest, FitToPicturesRepeatsTheMusicToTheEnd) {
    show_.settings.MusicSync = 1;
    QuickShow(2);
    AddPicture("a.jpg");
    AddPicture("b.jpg");
    AddMusic("short.mp3", 1.0, 1000);
    // 4.8 s of pictures, 1 s of music: k = 4 - 1 + 1, the music plays 5 times.
    const BuildResult result = BuildShow();
    ASSERT_EQ(result.status, Status::Completed) << result.message;
    const auto info = ProbeFile(result.videoFile);
    ASSERT_TRUE(info && info->video);
    EXPECT_NEAR(MusicEndTime(result.videoFile, *info), 4.8, 0.15);
    ExpectEndsTogether(*info);
}

TEST_F(BuildTest, AbortKeepsAPlayablePartialVideo) {
    show_.settings.VideoType = 2;
    AddPicture("a.jpg");
    AddPicture("b.jpg");
    AddMusic("tone.mp3", 3.0, 3000);
    std::vector<BuildState> states;
    BuildDriver* self = nullptr;
    bool buildUsableMeanwhile = true, abortUsableMeanwhile = false;
    BuildResult nested;
    BuildHooks hooks;
    hooks.stateChanged = [&](BuildState state) { states.push_back(state); };
    hooks.progress = [&](const BuildProgress& progress) {
        buildUsableMeanwhile = self->BuildEnabled();
        abortUsableMeanwhile = self->AbortEnabled();
        if (progress.kind == 3 && progress.framesDone == 30) {
            nested = self->Build(show_);  // a second build cannot start inside the first
            self->Abort();
        }
    };
    BuildDriver driver(hooks);
    self = &driver;
    const BuildResult result = driver.Build(show_);
    ASSERT_EQ(result.status, Status::Aborted) << result.message;
    EXPECT_EQ(nested.status, Status::Busy);
    EXPECT_FALSE(buildUsableMeanwhile);
    EXPECT_TRUE(abortUsableMeanwhile);
    EXPECT_EQ(states, (std::vector<BuildState>{BuildState::Building, BuildState::Idle}));
    EXPECT_TRUE(driver.BuildEnabled());
    EXPECT_FALSE(driver.AbortEnabled());

    const auto info = ProbeFile(result.videoFile);
    ASSERT_TRUE(info && info->video);
    EXPECT_NEAR(static_cast<double>(info->video->packets), 31, 1);
    ExpectEndsTogether(*info);
    ExpectAuthoringAccepts(result.videoFile, 2, 0, dir_);
}

// Abort pressed while the show is still being prepared (before the encoder
// runs) is not lost: the conversion stops before its first frame.
TEST_F(BuildTest, AbortBeforeTheConversionStartsStopsItAtOnce) {
    show_.settings.VideoType = 0;
    AddPicture("a.jpg");
    AddPicture("b.jpg");
    BuildDriver* self = nullptr;
    bool abortThisBuild = true;
    BuildHooks hooks;
    hooks.stateChanged = [&](BuildState state) {
        if (state == BuildState::Building && abortThisBuild) self->Abort();
    };
    BuildDriver driver(hooks);
    self = &driver;
    const BuildResult result = driver.Build(show_);
    EXPECT_EQ(result.status, Status::Aborted) << result.message;
    EXPECT_EQ(result.framesEncoded, 0);
    EXPECT_TRUE(driver.BuildEnabled());

    // Neither that request nor one made while idle stops the next build.
    abortThisBuild = false;
    driver.Abort();
    const BuildResult whole = driver.Build(show_);
    EXPECT_EQ(whole.status, Status::Completed) << whole.message;
    EXPECT_EQ(whole.framesEncoded, whole.totalFrames);
}

TEST_F(BuildTest, EmptyShowEncodesNothing) {
    BuildDriver driver;
    BuildResult result = driver.Build(show_);
    EXPECT_EQ(result.status, Status::NoPictures);
    EXPECT_EQ(result.message, "No pictures to build.");
    EXPECT_FALSE(std::filesystem::exists(File("tmp.mpg")));

    // Pictures that all fail to read leave an empty show too.
    show_.settings.Pictures = {File("missing.jpg")};
    result = driver.Build(show_);
    EXPECT_EQ(result.status, Status::NoPictures);
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(File("tmp.mpg")));
    EXPECT_TRUE(driver.BuildEnabled());
}

TEST_F(BuildTest, AShowLongerThanAVideoCanLastIsRefusedBeforeAnythingGrows) {
    // A garbled interval of 2,000,000,000 s against one second of music used
    // to repeat the music list billions of times before the first frame.
    show_.settings.MusicSync = 1;
    show_.settings.ImageInterval = 2000000000;
    AddPicture("a.jpg");
    AddMusic("short.mp3", 1.0, 1000);
    BuildDriver driver;
    BuildResult result = driver.Build(show_);
    EXPECT_EQ(result.status, Status::Failed);
    EXPECT_NE(result.message.find("longer than a video can, which is 26 hours"), std::string::npos)
        << result.message;
    EXPECT_FALSE(std::filesystem::exists(File("tmp.mpg")));
    EXPECT_TRUE(driver.BuildEnabled());

    // Fitted to the music, the music's length counts: 55 hours of it.
    show_.settings.MusicSync = 2;
    show_.settings.ImageInterval = 2;
    show_.settings.Music = {File("short.mp3")};
    show_.notes.WriteString("Mp3Length", File("short.mp3"), "200000000");
    result = driver.Build(show_);
    EXPECT_EQ(result.status, Status::Failed);
    EXPECT_NE(result.message.find("longer than a video can"), std::string::npos) << result.message;
}

TEST_F(BuildTest, UnreadablePicturesAreLeftOutBeforeTiming) {
    QuickShow(1);
    AddPicture("good.jpg");
    const std::string broken = File("broken.jpg");
    std::ofstream(broken) << "this is not a picture";
    show_.settings.Pictures.push_back(broken);
    const std::string missing = File("gone.png");
    show_.settings.Pictures.push_back(missing);
    const std::string empty = File("empty.bmp");
    std::ofstream{empty};
    show_.settings.Pictures.push_back(empty);
    AddPicture("good2.png");

    const BuildResult result = BuildShow();
    ASSERT_EQ(result.status, Status::Completed) << result.message;
    ASSERT_EQ(result.skipped.size(), 3u);
    EXPECT_EQ(result.skipped[0].path, broken);
    EXPECT_EQ(result.skipped[1].path, missing);
    EXPECT_EQ(result.skipped[2].path, empty);
    // Two pictures timed: 2 x (25 + 10) frames, and the report names the rest.
    EXPECT_EQ(result.totalFrames, 70);
    EXPECT_EQ(ProbeFile(result.videoFile)->video->packets, 70);
    const std::vector<std::string> problems = result.Problems();
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0], "3 pictures could not be read and were left out:");
    EXPECT_NE(problems[1].find("broken.jpg"), std::string::npos);
}

// What the video goes without is named: a cut-off JPEG (found only when its
// pixels are decoded), music that does not decode, and music whose length
// could not be measured. The show is timed without the music left out and
// goes on without the damaged picture.
TEST_F(BuildTest, DamagedPicturesAndUnplayableMusicAreNamed) {
    QuickShow(1);
    AddPicture("good.jpg");
    const std::string cut = File("cut.jpg");
    WritePicture(cut, 320, 240);
    std::filesystem::resize_file(cut, std::filesystem::file_size(cut) / 2);
    show_.settings.Pictures.push_back(cut);
    AddPicture("good2.png");
    const std::string noise = File("noise.mp3");
    std::ofstream(noise) << std::string(5000, 'x');
    show_.settings.Music = {noise};
    show_.notes.WriteInteger("Mp3Length", noise, 5000);
    const std::string unmeasured = File("unmeasured.mp3");
    std::ofstream(unmeasured) << "RIFF";
    model::IniFile store;
    store.WriteBool("Music", unmeasured, true);
    store.WriteInteger("Mp3Length", unmeasured, -1);
    CollectShow(store);

    const BuildResult result = BuildShow();
    ASSERT_EQ(result.status, Status::Completed) << result.message;
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped[0].path, cut);
    EXPECT_NE(result.skipped[0].reason.find("damaged"), std::string::npos);
    ASSERT_EQ(result.skippedMusic.size(), 2u);
    EXPECT_EQ(result.skippedMusic[0].path, unmeasured);
    EXPECT_EQ(result.skippedMusic[1].path, noise);
    // Neither is played: the track under the two pictures is silent.
    EXPECT_EQ(LastSoundTime(DecodeAudio(result.videoFile, 8000), 8000), 0.0);
    EXPECT_TRUE(result.errors.empty());
    // Two pictures shown, 35 frames each.
    EXPECT_EQ(result.framesEncoded, 70);
    const std::vector<std::string> problems = result.Problems();
    ASSERT_EQ(problems.size(), 5u);
    EXPECT_EQ(problems[0], "1 picture could not be read and was left out:");
    EXPECT_NE(problems[1].find("cut.jpg\": the picture is damaged"), std::string::npos);
    EXPECT_EQ(problems[2], "2 music files were left out:");
    EXPECT_EQ(problems[3], "  \"" + unmeasured + "\": it could not be read as MP3 music");
    EXPECT_NE(problems[4].find("noise.mp3\": "), std::string::npos) << problems[4];
}

TEST_F(BuildTest, EncoderErrorsAreReportedAndTheDriverIsIdleAgain) {
    AddPicture("a.jpg");
    QuickShow(0);
    BuildDriver driver;
    // An output folder that does not exist.
    BuildResult result = driver.Build(show_, File("no/such/folder/out.mpg"));
    EXPECT_EQ(result.status, Status::Failed);
    EXPECT_NE(result.message.find("could not be made"), std::string::npos) << result.message;
    EXPECT_FALSE(result.errors.empty());
    // Told once: the failure already names the encoder's reason.
    EXPECT_EQ(result.Problems(), std::vector<std::string>{result.message});
    EXPECT_TRUE(driver.BuildEnabled());

    // An exception inside a callback ends the build; the frames are released
    // and Build is usable again.
    BuildHooks throwing;
    throwing.frameShown = [](const raster::Bitmap&) { throw std::runtime_error("display gone"); };
    BuildDriver failing(throwing);
    result = failing.Build(show_);
    EXPECT_EQ(result.status, Status::Failed);
    EXPECT_NE(result.message.find("display gone"), std::string::npos);
    EXPECT_TRUE(failing.BuildEnabled());
    EXPECT_FALSE(failing.AbortEnabled());
}

TEST_F(BuildTest, FramesShowTheComposedPicture) {
    // Speed 1: ten transition frames, then the picture complete.
    QuickShow(0);
    show_.settings.BackgroundColor = 0x0000FF;  // red
    // A background picture that cannot be read: named, and the colour is used.
    std::ofstream(File("back.png")) << "not a picture";
    show_.settings.Back_Mode_UseColor = false;
    show_.settings.Back_Image_Filename = File("back.png");
    const std::string wide = File("wide.png");
    WriteSolidPicture(wide, 320, 90, 0x00FF00);
    show_.settings.Pictures = {wide, wide};
    // An empty effect set of its own: each picture cuts in.
    show_.notes.WriteString("effects", "wide.png", "");
    std::vector<raster::Bitmap> shown;
    BuildHooks hooks;
    hooks.frameShown = [&](const raster::Bitmap& frame) { shown.push_back(frame); };
    const BuildResult result = BuildShow(hooks);
    ASSERT_EQ(result.status, Status::Completed) << result.message;
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_NE(result.warnings[0].find("back.png"), std::string::npos) << result.warnings[0];
    // An interval of 0 still completes each transition: 2 x 10 frames.
    ASSERT_EQ(shown.size(), 20u);
    const raster::Bitmap& complete = shown.back();
    EXPECT_EQ(complete.width(), 720);
    // 320 x 90 on a 4:3 screen of 720 x 576 pixels: 720 x 216 rows at y = 180.
    EXPECT_EQ(complete.pixel(360, 179), raster::RGB(255, 0, 0));
    EXPECT_EQ(complete.pixel(360, 180), raster::RGB(0, 255, 0));
    EXPECT_EQ(complete.pixel(360, 395), raster::RGB(0, 255, 0));
    EXPECT_EQ(complete.pixel(360, 396), raster::RGB(255, 0, 0));
    for (size_t i = 0; i < shown.size(); ++i)
        EXPECT_TRUE(shown[i].samePixels(complete)) << "frame " << i;
}

TEST_F(BuildTest, CaptionsOnlyWhenAskedFor) {
    show_.settings.VideoType = 0;
    QuickShow(0);
    const std::string black = File("black.png");
    WriteSolidPicture(black, 160, 120, 0x000000);
    show_.settings.Pictures = {black};
    show_.notes.WriteString("captions", "black.png", "WWWWWWWW");
    // Bright pixels in the bottom fifth of the picture, where the caption goes.
    auto brightCaptionPixels = [&](int height) {
        const BuildResult result = BuildShow();
        EXPECT_EQ(result.status, Status::Completed) << result.message;
        const std::vector<uint8_t> luma = DecodeFirstFrameLuma(result.videoFile, 352, height);
        int bright = 0;
        for (int y = height * 4 / 5; y < height; ++y)
            for (int x = 100; x < 252; ++x) bright += luma[static_cast<size_t>(y) * 352 + x] > 150;
        return bright;
    };
    show_.settings.ShowCaption = false;
    EXPECT_EQ(brightCaptionPixels(288), 0);
    show_.settings.ShowCaption = true;
    EXPECT_GT(brightCaptionPixels(288), 100);
    // NTSC pictures are shorter; the caption is still in them.
    show_.settings.TVSet = 1;
    EXPECT_GT(brightCaptionPixels(240), 100);
}

TEST_F(BuildTest, SavingCopiesTheVideoWholeUnderAnMpgName) {
    EXPECT_EQ(VideoFileName("/x/show.MPG"), "/x/show.MPG");
    EXPECT_EQ(VideoFileName("/x/show.mpeg"), "/x/show.mpeg.mpg");
    EXPECT_EQ(VideoFileName("/x/show"), "/x/show.mpg");
    EXPECT_EQ(VideoFileName("/x.mpg/show"), "/x.mpg/show.mpg");

    BuildDriver driver;
    std::ofstream(File("tmp.mpg")) << "video bytes";
    std::ofstream(File("old.mpg")) << "an older video that is much longer";
    EXPECT_EQ(driver.SaveVideo(File("old")).value(), File("old.mpg"));
    EXPECT_EQ(ReadWholeFile(File("old.mpg")), "video bytes");

    // A folder that cannot be written: reported, and nothing is left behind.
    std::filesystem::create_directory(File("locked"));
    std::filesystem::permissions(
        File("locked"), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (::geteuid() != 0) {
        EXPECT_FALSE(driver.SaveVideo(File("locked/show.mpg")).ok());
        EXPECT_TRUE(std::filesystem::is_empty(File("locked")));
    }
    EXPECT_FALSE(driver.SaveVideo(File("no/such/folder/show.mpg")).ok());
    std::filesystem::create_directory(File("folder.mpg"));
    EXPECT_FALSE(driver.SaveVideo(File("folder.mpg")).ok());
    std::filesystem::remove(File("tmp.mpg"));
    EXPECT_FALSE(driver.SaveVideo(File("again.mpg")).ok());
    EXPECT_FALSE(std::filesystem::exists(File("again.mpg")));
}

}  // namespace
}  // namespace video::test
