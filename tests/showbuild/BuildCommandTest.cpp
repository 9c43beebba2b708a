// The headless build command: exit codes and messages, the project's show
// built without touching the user's options, and music measured first.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QFile>
#include <QLocale>

#include "ExifPictures.h"
#include "cli/Cli.h"
#include "cli/ShowOptions.h"
#include "model/FileLimit.h"
#include "model/Settings.h"
#include "model/VideoFormatKeys.h"
#include "showbuild/BuildTestUtil.h"

namespace video::test {
namespace {

struct CommandRun {
    int code = -1;
    std::string errors;
};

CommandRun RunVantoshow(std::vector<std::string> args) {
    args.insert(args.begin(), "vantoshow");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    ::testing::internal::CaptureStderr();
    CommandRun run;
    run.code = cli::RunCommandLine(static_cast<int>(args.size()), argv.data());
    run.errors = ::testing::internal::GetCapturedStderr();
    return run;
}

class BuildCommandTest : public BuildTest {
protected:
    // A project of two pictures and, optionally, a music file whose length
    // is not stored.
    std::string WriteProject(const std::string& name, bool withPictures, bool withMusic) {
        std::string text = "[Set]\nVideoType=2\nImageInterval=1\nEffectSpeed2=1\n";
        if (withPictures) {
            WritePicture(File("p1.jpg"), 120, 90);
            WritePicture(File("p2.png"), 90, 120);
            text += "[Pictures]\n" + File("p1.jpg") + "=1\n" + File("p2.png") + "=1\n";
        }
        if (withMusic) {
            MakeSineMp3(File("song.mp3"), 2.0);
            text += "[Music]\n" + File("song.mp3") + "=1\n";
        }
        const std::string path = File(name);
        std::ofstream(path) << text;
        return path;
    }
};

TEST_F(BuildCommandTest, WrongArgumentsAndMissingInputs) {
    EXPECT_EQ(RunVantoshow({"build", "--help"}).code, 0);
    CommandRun run = RunVantoshow({"build", "show.dvprj"});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.errors.find("-o"), std::string::npos) << run.errors;
    EXPECT_EQ(RunVantoshow({"build", "-o", File("x.mpg"), "--format", "vhs"}).code, 2);
    EXPECT_EQ(RunVantoshow({"build", "-o", File("x.mpg"), "--bogus"}).code, 2);
    EXPECT_EQ(RunVantoshow({"build", "-o", File("x.mpg"), "--background", "plaid"}).code, 2);
    for (const char* motion : {"spin", "zoom-in:6", "pan-left:"}) {
        run = RunVantoshow({"build", "-o", File("x.mpg"), "--motion", motion});
        EXPECT_EQ(run.code, 2) << motion;
        EXPECT_NE(run.errors.find("--motion must be"), std::string::npos) << run.errors;
    }
    EXPECT_EQ(RunVantoshow({"build", "a.dvprj", "b.dvprj", "-o", File("x.mpg")}).code, 2);
    const std::vector<std::pair<std::string, std::string>> badValues{
        {"--fade-in", "10.5"},         {"--fade-out", "-1"},       {"--crossfade", "2s"},
        {"--crossfade", ""},           {"--even-loudness", "yes"}, {"--caption-size", "25"},
        {"--caption-size", "big"},     {"--caption-size", "0"},    {"--caption-position", "mid"},
        {"--caption-align", "justify"}};
    for (const auto& [option, value] : badValues) {
        run = RunVantoshow({"build", "-o", File("x.mpg"), option, value});
        EXPECT_EQ(run.code, 2) << option << " " << value;
        EXPECT_NE(run.errors.find(option + " must be"), std::string::npos) << run.errors;
    }

    run = RunVantoshow({"build", File("missing.dvprj"), "-o", File("x.mpg")});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.errors.find("cannot open project"), std::string::npos) << run.errors;

    std::ofstream(File("garbled.dvprj")) << std::string("\x89PNG\r\n\x1a\n\0\0\0", 12);
    run = RunVantoshow({"build", File("garbled.dvprj"), "-o", File("x.mpg")});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.errors.find("not a project file"), std::string::npos) << run.errors;

    // A video chosen by mistake is refused without being read into memory.
    std::ofstream(File("huge.dvprj")) << "[Set]\n";
    std::filesystem::resize_file(File("huge.dvprj"), 256 << 20);
    run = RunVantoshow({"build", File("huge.dvprj"), "-o", File("x.mpg")});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.errors.find("too large"), std::string::npos) << run.errors;

    run = RunVantoshow({"build", WriteProject("empty.dvprj", false, false), "-o", File("x.mpg")});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.errors.find("No pictures to build."), std::string::npos) << run.errors;

    const std::string project = WriteProject("show.dvprj", true, false);
    run = RunVantoshow({"build", project, "-o", File("no/such/folder/x.mpg")});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.errors.find("cannot write"), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << "one line: " << run.errors;

    // A folder as the output is refused, not given a video beside or inside it.
    std::filesystem::create_directory(File("videos"));
    for (const std::string& folder : {File("videos"), File("videos") + "/", File("new/")}) {
        run = RunVantoshow({"build", project, "-o", folder});
        EXPECT_EQ(run.code, 1) << folder;
        EXPECT_NE(run.errors.find("names a folder"), std::string::npos) << run.errors;
    }
    EXPECT_FALSE(std::filesystem::exists(File("videos.mpg")));
    EXPECT_TRUE(std::filesystem::is_empty(File("videos")));
    EXPECT_FALSE(std::filesystem::exists(File("new")));

    EXPECT_FALSE(std::filesystem::exists(File("x.mpg")));
    EXPECT_FALSE(std::filesystem::exists(File("tmp.mpg")));
}

// A disk that fills up during the build (a file size limit stands in for
// it): one line says why, and neither the video nor a part of it is left.
TEST_F(BuildCommandTest, AFullDiskFailsWithOneLineAndLeavesNothing) {
    const std::string project = WriteProject("show.dvprj", true, false);
    const CommandRun run = [&] {
        const model_test::FileSizeLimit full(200 * 1024);
        return RunVantoshow({"build", project, "-o", File("out.mpg")});
    }();

    EXPECT_EQ(run.code, 1);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = run.errors.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = run.errors.substr(start, end - start);
        if (line.rfind("Progress: ", 0) != 0) lines.push_back(line);  // the progress log
    }
    ASSERT_EQ(lines.size(), 1u) << run.errors;
    EXPECT_NE(lines[0].find("Cannot write the video file"), std::string::npos) << lines[0];
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
        EXPECT_EQ(entry.path().string().find("out.mpg"), std::string::npos) << entry.path();
}

TEST_F(BuildCommandTest, BuildsTheProjectWithoutTouchingTheOptions) {
    // The user's own working state, which the command must leave alone.
    const std::string options = File("options.dat");
    std::ofstream(options) << "[Set]\nVideoType=0\n[Pictures]\n" << File("elsewhere.jpg") << "=1\n";
    const std::string optionsBefore = ReadWholeFile(options);
    const std::string project = WriteProject("show.dvprj", true, true);
    const std::string projectBefore = ReadWholeFile(project);

    // The music's length is unknown in the project: it is measured, so the
    // music plays and the pictures are cut when it ends.
    const CommandRun run = RunVantoshow({"build", project, "-o", File("out.mpg"), "--format",
                                         "svcd", "--standard", "ntsc", "--sync", "music"});
    ASSERT_EQ(run.code, 0) << run.errors;
    EXPECT_NE(run.errors.find("Wrote " + File("out.mpg")), std::string::npos) << run.errors;
    const auto info = ProbeFile(File("out.mpg"));
    ASSERT_TRUE(info.has_value());
    ExpectStream(*info, 1, 1, true);
    EXPECT_NEAR(info->video->end - info->video->start, 2.0, 0.07);
    EXPECT_NEAR(MusicEndTime(File("out.mpg"), *info), 2.0, 0.1);
    ExpectAuthoringAccepts(File("out.mpg"), 1, 1, dir_);

    EXPECT_EQ(ReadWholeFile(options), optionsBefore);
    EXPECT_EQ(ReadWholeFile(project), projectBefore);
    // No temporary file is left beside the output.
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
        EXPECT_EQ(entry.path().string().find(".part"), std::string::npos) << entry.path();
}

// The caption options restyle the show's captions: a font that is not
// installed is named once and the captions are drawn at the top, larger.
TEST_F(BuildCommandTest, CaptionOptionsOverrideTheShowsStyle) {
    const std::string project = WriteProject("show.dvprj", true, false);
    std::ofstream(project, std::ios::app) << "[Set]\nShowCaption=1\n";
    for (const char* picture : {"p1.jpg", "p2.png"}) WriteSolidPicture(File(picture), 120, 90, 0);
    const CommandRun run =
        RunVantoshow({"build", project, "-o", File("out.mpg"), "--format", "vcd", "--caption-font",
                      "Vanto Missing Face", "--caption-size", "10", "--caption-position", "top"});
    ASSERT_EQ(run.code, 0) << run.errors;
    const std::string& said = run.errors;
    const size_t named = said.find("Vanto Missing Face");
    ASSERT_NE(named, std::string::npos) << said;
    EXPECT_EQ(said.find("Vanto Missing Face", named + 1), std::string::npos) << said;
    // The last picture's caption, bright on black, and only in the top half.
    const std::vector<uint8_t> luma = DecodeFrameLuma(File("out.mpg"), 352, 288, kLastFrame);
    ASSERT_EQ(luma.size(), size_t{352} * 288);
    int top = 0, bottom = 0;
    for (int y = 0; y < 288; ++y)
        for (int x = 0; x < 352; ++x)
            (y < 144 ? top : bottom) += luma[static_cast<size_t>(y) * 352 + x] > 200;
    EXPECT_GT(top, 100);
    EXPECT_EQ(bottom, 0);
}

// Fitted to crossfaded music, the show lasts the music less the overlap:
// two songs of 2 s crossfaded over 1.5 s make a video of 2.5 s.
TEST_F(BuildCommandTest, FitsThePicturesToCrossfadedMusic) {
    std::string project = WriteProject("show.dvprj", true, true);
    MakeSineMp3(File("second.mp3"), 2.0, 660);
    std::ofstream(project, std::ios::app) << File("second.mp3") << "=1\n";
    const CommandRun run =
        RunVantoshow({"build", project, "-o", File("out.mpg"), "--format", "vcd", "--sync", "music",
                      "--crossfade", "1.5", "--fade-out", "0", "--even-loudness", "on"});
    ASSERT_EQ(run.code, 0) << run.errors;
    const auto info = ProbeFile(File("out.mpg"));
    ASSERT_TRUE(info.has_value());
    EXPECT_NEAR(info->video->end - info->video->start, 2.5, 0.07);
    EXPECT_NEAR(MusicEndTime(File("out.mpg"), *info), 2.5, 0.1);
}

// Stretched to songs longer and shorter than the show, in both standards and
// at 50 frames a second, every picture (the third with an interval of its
// own) is in the video once, in order, and picture and sound end within a
// frame of the song, as ffprobe reads the file. The frame command times the show the same way.
TEST_F(BuildCommandTest, StretchedToTheMusicEndsWithItShowingEveryPictureOnce) {
    // Holds of 1, 1 and 3 s after ten-frame transitions: 6.2 s at PAL.
    std::string project = WriteProject("show.dvprj", true, false);
    WritePicture(File("p3.jpg"), 120, 90);
    // Keyed by its file name, as older projects key a picture's own settings.
    std::ofstream(project, std::ios::app) << File("p3.jpg") << "=1\n[intervals]\np3.jpg=3\n";
    // The transitions keep their 0.4 s at every rate: 11 frames at 29.97
    // (11.99 cut), 20 at 50.
    const struct {
        const char* name;
        const char* standard;
        const char* fps;
        double songSeconds;
        double rate;
        int transitionFrames;
    } cases[] = {{"pal", "pal", "tv", 9.46, 25.0, 10},
                 {"ntsc", "ntsc", "tv", 4.13, 30000.0 / 1001, 11},
                 {"50", "pal", "50", 7.37, 50.0, 20}};
    for (const auto& c : cases) {
        const std::string song = File(std::string("song-") + c.name + ".mp3");
        MakeSineMp3(song, c.songSeconds);
        const std::string withSong = File(std::string("show-") + c.name + ".dvprj");
        std::ofstream(withSong) << ReadWholeFile(project) << "[Music]\n" << song << "=1\n";
        const std::string out = File(std::string("out-") + c.name + ".mp4");
        const CommandRun run =
            RunVantoshow({"build", withSong, "-o", out, "--format", "mp4-720p", "--standard",
                          c.standard, "--fps", c.fps, "--sync", "stretch"});
        ASSERT_EQ(run.code, 0) << run.errors;
        EXPECT_EQ(run.errors.find("shorter than"), std::string::npos) << run.errors;

        const double frame = 1.0 / c.rate;
        const std::vector<Entries> sections = ProbeSections(out, "-show_streams -show_chapters");
        const Entries video = StreamOfType(sections, "video");
        EXPECT_GE(std::stod(video.at("duration")), c.songSeconds - 0.002) << c.name;
        EXPECT_LT(std::stod(video.at("duration")), c.songSeconds + frame) << c.name;
        EXPECT_NEAR(std::stod(StreamOfType(sections, "audio").at("duration")), c.songSeconds, frame)
            << c.name;
        const auto info = ProbeFile(out);
        ASSERT_TRUE(info.has_value());
        EXPECT_NEAR(MusicEndTime(out, *info), c.songSeconds, 0.1) << c.name;

        // A chapter starts each picture: each once, in order, and the one
        // with three times the interval stays about three times as long.
        const std::vector<Entries> chapters = ChaptersOf(sections);
        ASSERT_EQ(chapters.size(), 3u) << c.name;
        const char* const names[] = {"p1", "p2", "p3"};
        std::vector<double> holds;
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(chapters[i].at("tag:title"), names[i]) << c.name;
            const double end = i + 1 < 3 ? std::stod(chapters[i + 1].at("start_time"))
                                         : std::stod(video.at("duration"));
            holds.push_back(end - std::stod(chapters[i].at("start_time")) -
                            c.transitionFrames * frame);
        }
        EXPECT_NEAR(holds[0], holds[1], 1.5 * frame) << c.name;
        EXPECT_NEAR(holds[2], 3 * holds[0], 2.5 * frame) << c.name;
    }

    // Stretched, the PAL show lasts until 9.46 s, where unstretched it ended
    // at 6.2 s; the frame command draws from the stretched show.
    const std::string withSong = File("show-pal.dvprj");
    CommandRun run = RunVantoshow(
        {"frame", withSong, "--at", "9.3", "--sync", "stretch", "-o", File("late.png")});
    EXPECT_EQ(run.code, 0) << run.errors;
    run = RunVantoshow({"frame", withSong, "--at", "9.3", "-o", File("late.png")});
    EXPECT_NE(run.errors.find("the show lasts"), std::string::npos) << run.errors;
}

// Stretched to a song shorter than the transitions alone, every picture is
// still shown, each held a frame, and the build says why the video runs on.
TEST_F(BuildCommandTest, StretchedToMusicShorterThanTheTransitionsWarns) {
    std::string project = WriteProject("show.dvprj", true, false);
    MakeSineMp3(File("blip.mp3"), 0.3);
    std::ofstream(project, std::ios::app) << "[Music]\n" << File("blip.mp3") << "=1\n";
    const CommandRun run = RunVantoshow(
        {"build", project, "-o", File("out.mpg"), "--format", "vcd", "--sync", "stretch"});
    ASSERT_EQ(run.code, 0) << run.errors;
    EXPECT_NE(run.errors.find("is shorter than the pictures' transitions"), std::string::npos)
        << run.errors;
    const auto info = ProbeFile(File("out.mpg"));
    ASSERT_TRUE(info && info->video);
    EXPECT_EQ(info->video->packets, 2 * (10 + 1));
}

// On the beat, music without one (a held tone) is measured by the command,
// found to have no beat, and the show keeps its intervals there, says so,
// and still ends with the music.
TEST_F(BuildCommandTest, OnTheBeatWithoutABeatKeepsTheIntervalsAndSaysSo) {
    std::string project = WriteProject("show.dvprj", true, false);
    MakeSineMp3(File("tone.mp3"), 7.5);
    std::ofstream(project, std::ios::app) << "[Music]\n" << File("tone.mp3") << "=1\n";
    const CommandRun run = RunVantoshow(
        {"build", project, "-o", File("out.mpg"), "--format", "vcd", "--sync", "beats"});
    ASSERT_EQ(run.code, 0) << run.errors;
    EXPECT_NE(run.errors.find("no steady beat"), std::string::npos) << run.errors;
    const auto info = ProbeFile(File("out.mpg"));
    ASSERT_TRUE(info && info->video);
    // The two pictures of 2.8 s, repeated, end with the music's 7.5 s.
    EXPECT_NEAR(info->video->packets, 7.5 * 25, 1);
}

TEST_F(BuildCommandTest, BuildsTheWorkingOptionsWhenNoProjectIsNamed) {
    const std::string project = WriteProject("show.dvprj", true, false);
    std::filesystem::copy_file(project, File("options.dat"));
    // The portrait picture stands still, so that the fill around it shows.
    std::ofstream(File("options.dat"), std::ios::app) << "[motion]\np2.png=none\n";
    const std::string optionsBefore = ReadWholeFile(File("options.dat"));
    model::CloseOptionsStore();  // as in a fresh process
    const CommandRun run = RunVantoshow({"build", "-o", File("plain"), "--format", "vcd",
                                         "--background", "blur", "--motion", "pan-up:2"});
    ASSERT_EQ(run.code, 0) << run.errors;
    // ".mpg" is added, as the window's save dialog does.
    const auto info = ProbeFile(File("plain.mpg"));
    ASSERT_TRUE(info.has_value());
    ExpectStream(*info, 0, 0, true);
    EXPECT_EQ(info->video->packets, 2 * (25 + 10));
    // The build ran with the blurred fill and the motion; like the format, they
    // hold for this build and are not stored. The sides of the portrait
    // picture show its blurred colours, not the black of the background colour.
    const int width = 352, height = 288;
    const std::vector<uint8_t> portrait = DecodeFrameLuma(File("plain.mpg"), width, height, 69);
    ASSERT_EQ(portrait.size(), static_cast<size_t>(width) * height);
    EXPECT_GT(static_cast<int>(portrait[static_cast<size_t>(height / 2) * width + 10]), 50);
    // The first picture pans while it is held (frames 10 to 34): its gradient
    // slides under the frame.
    const std::vector<uint8_t> early = DecodeFrameLuma(File("plain.mpg"), width, height, 12);
    const std::vector<uint8_t> late = DecodeFrameLuma(File("plain.mpg"), width, height, 34);
    ASSERT_EQ(early.size(), late.size());
    double moved = 0;
    for (size_t i = 0; i < early.size(); ++i) moved += std::abs(early[i] - late[i]);
    EXPECT_GT(moved / static_cast<double>(early.size()), 5.0);
    EXPECT_EQ(ReadWholeFile(File("options.dat")), optionsBefore);
}

TEST_F(BuildCommandTest, Mp4FormatsTakeAShapeAQualityARateAndTheirOwnName) {
    const std::string project = WriteProject("show.dvprj", true, false);
    CommandRun run = RunVantoshow({"build", project, "-o", File("phone"), "--format", "mp4-720p",
                                   "--aspect", "9:16", "--quality", "high", "--fps", "60000/1001"});
    ASSERT_EQ(run.code, 0) << run.errors;
    const auto info = ProbeFile(File("phone.mp4"));
    ASSERT_TRUE(info && info->video);
    EXPECT_EQ(info->video->codec, "h264");
    EXPECT_EQ(info->video->width, 720);
    EXPECT_EQ(info->video->height, 1280);
    EXPECT_NEAR(info->video->frameRate, 60000.0 / 1001, 1e-9);

    struct Refusal {
        std::vector<std::string> args;
        const char* says;
    };
    for (const Refusal& r : {
             Refusal{{"--aspect", "5:4"}, "--aspect must be 16:9, 4:3, 9:16, 1:1 or 4:5"},
             Refusal{{"--fps", "120"}, "--fps must be tv, 24, 25, 30, 50, 60, 29.97, 59.94"},
             Refusal{{"--quality", "best"}, "--quality must be standard or high"},
             Refusal{{"--format", "mp4-8k"}, "mp4-720p, mp4-1080p or mp4-4k"},
             // An MP4 video is no disc.
             Refusal{{"--format", "mp4-1080p", "--disc", "folder"}, "MP4 video cannot be authored"},
             Refusal{{"--format", "mp4-4k", "--disc", "iso"}, "MP4 video cannot be authored"},
             Refusal{{"--format", "mp4-720p", "--disc", "bincue"}, "MP4 video cannot be authored"},
             // Each format takes the shapes it is made in: DVD 16:9 and 4:3,
             // VCD and SVCD 4:3 only, 4:5 at 1080p only.
             Refusal{{"--format", "vcd", "--aspect", "16:9"}, "vcd, which is made in 4:3"},
             Refusal{{"--format", "svcd", "--aspect", "16:9"}, "svcd, which is made in 4:3"},
             Refusal{{"--format", "dvd", "--aspect", "9:16"}, "dvd, which is made in 16:9 or 4:3"},
             Refusal{{"--format", "mp4-720p", "--aspect", "4:5"},
                     "mp4-720p, which is made in 16:9, 4:3, 9:16 or 1:1"},
         }) {
        std::vector<std::string> args{"build", project, "-o", File("refused")};
        args.insert(args.end(), r.args.begin(), r.args.end());
        run = RunVantoshow(args);
        EXPECT_EQ(run.code, 2) << r.says;
        EXPECT_NE(run.errors.find(r.says), std::string::npos) << run.errors;
    }
    EXPECT_FALSE(std::filesystem::exists(File("refused.mp4")));
}

// --preset sets the format, shape and rate as the window's list does; the
// detailed options change what it set, given before or after it, and the
// standard given anywhere chooses its rate; a name there is not is refused
// with the names there are.
TEST_F(BuildCommandTest, PresetBuildsForAPhoneAndDetailedOptionsChangeItInAnyOrder) {
    const std::string project = WriteProject("show.dvprj", true, false);
    CommandRun run = RunVantoshow({"build", project, "-o", File("phone"), "--preset", "phone"});
    ASSERT_EQ(run.code, 0) << run.errors;
    const Entries video = StreamOfType(ProbeSections(File("phone.mp4"), "-show_streams"), "video");
    EXPECT_EQ(video.at("width"), "1080");
    EXPECT_EQ(video.at("height"), "1920");
    EXPECT_EQ(video.at("r_frame_rate"), "30/1");
    EXPECT_EQ(video.at("sample_aspect_ratio"), "1:1");

    struct Case {
        std::vector<std::string> args;
        uint8_t videoType, shape, rate, quality;
    };
    for (const Case& c : {
             Case{{"--preset", "tv", "--fps", "25"}, 4, 0, 2, 0},
             Case{{"--fps", "25", "--preset", "tv"}, 4, 0, 2, 0},
             Case{{"--preset", "4k-tv", "--standard", "ntsc"}, 5, 0, 5, 0},
             Case{{"--standard", "ntsc", "--preset", "TV or computer"}, 4, 0, 5, 0},
             Case{{"--aspect", "4:3", "--quality", "high", "--preset", "Phone, Vertical"},
                  4,
                  1,
                  3,
                  1},
             Case{{"--preset", "square", "--format", "mp4-720p"}, 3, 3, 3, 0},
             Case{{"--format", "mp4-720p", "--preset", "dvd-wide"}, 3, 0, 0, 0},
         }) {
        cli::ShowOverrides overrides;
        for (size_t i = 0; i < c.args.size(); ++i) {
            const auto value = [&](std::string& out) {
                if (i + 1 >= c.args.size()) return false;
                out = c.args[++i];
                return true;
            };
            const base::Result<bool> taken = cli::TakeShowOption(c.args[i], value, overrides);
            ASSERT_TRUE(taken && *taken) << c.args[i];
        }
        model::TslSettings s;  // a DVD at PAL, as a new project
        ASSERT_TRUE(cli::ApplyShowOverrides(overrides, s));
        const std::string what = ::testing::PrintToString(c.args);
        EXPECT_EQ(s.VideoType, c.videoType) << what;
        EXPECT_EQ(model::BuildAspect(s), c.shape) << what;
        EXPECT_EQ(s.VideoRate, c.rate) << what;
        EXPECT_EQ(s.VideoQuality, c.quality) << what;
    }

    run = RunVantoshow({"build", project, "-o", File("tablet"), "--preset", "tablet"});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(
        run.errors.find("--preset must be tv, phone, square, 4k-tv, dvd, dvd-wide, svcd or vcd"),
        std::string::npos)
        << run.errors;
}

// WAV data named .mp3 cannot be measured as MP3 music, music measured once
// is gone since, and a cut-off JPEG shows a grey lower half: the video is
// made without them and the output names each with the reason.
TEST_F(BuildCommandTest, NamesMusicAndPicturesTheVideoGoesWithout) {
    std::string project = WriteProject("show.dvprj", true, false);
    const std::string wav = File("voice.mp3");
    ASSERT_EQ(
        RunCommand("ffmpeg -loglevel error -y -f lavfi -i sine=duration=1 -f wav '" + wav + "'"),
        0);
    const std::string cut = File("cut.jpg");
    WritePicture(cut, 320, 240);
    std::filesystem::resize_file(cut, std::filesystem::file_size(cut) / 2);
    const std::string gone = File("gone.mp3");
    std::ofstream(project, std::ios::app) << cut << "=1\n[Music]\n"
                                          << wav << "=1\n"
                                          << gone << "=1\n[Mp3Length]\n"
                                          << gone << "=2000\n";

    const CommandRun run =
        RunVantoshow({"build", project, "-o", File("out.mpg"), "--format", "vcd"});
    ASSERT_EQ(run.code, 0) << run.errors;
    EXPECT_NE(run.errors.find("built with problems"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("\"" + cut + "\": the picture is damaged"), std::string::npos)
        << run.errors;
    EXPECT_NE(run.errors.find("2 music files were left out:"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("\"" + gone + "\": the file is missing"), std::string::npos)
        << run.errors;
    EXPECT_NE(run.errors.find("\"" + wav + "\": it could not be read as MP3 music"),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(ProbeFile(File("out.mpg"))->video->packets, 2 * (25 + 10));
}

// Pictures listed out of date order, one without EXIF (its file's time
// counts), built sorted by date with the dates as captions into an SRT file
// beside the video; with the captions off there are no subtitles to write.
TEST_F(BuildCommandTest, SortsByDateTakenAndWritesTheDatesBesideTheVideo) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    const auto picture = [&](const std::string& name, const std::string& taken) {
        const std::string path = File(name);
        WriteSolidPicture(path, 64, 48, 0x336699);
        std::ifstream in(path, std::ios::binary);
        const testing_exif::Bytes jpeg{std::istreambuf_iterator<char>(in), {}};
        in.close();
        const testing_exif::Bytes out =
            taken.empty() ? jpeg
                          : testing_exif::WithExif(jpeg, testing_exif::ExifBlock({taken, ""}));
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(out.data()),
                   static_cast<std::streamsize>(out.size()));
        return path;
    };
    const std::string a = picture("a.jpg", "2024:05:03 10:00:00");
    const std::string b = picture("b.jpg", "2023:01:02 08:30:00");
    const std::string c = picture("c.jpg", "");
    QFile file(QString::fromStdString(c));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2025, 3, 4), QTime(12, 0)),
                                 QFileDevice::FileModificationTime));
    file.close();
    const std::string project = File("dates.dvprj");
    std::ofstream(project) << "[Set]\nImageInterval=1\nEffectSpeed2=1\n[Pictures]\n" + c + "=1\n" +
                                  a + "=1\n" + b + "=1\n";

    CommandRun run = RunVantoshow({"build", project, "-o", File("dates"), "--format", "mp4-720p",
                                   "--captions", "date", "--sort", "taken", "--subtitles", "file"});
    ASSERT_EQ(run.code, 0) << run.errors;
    std::ifstream srt(File("dates.srt"));
    std::vector<std::string> texts;
    for (std::string line; std::getline(srt, line);)
        if (!line.empty() && line.find("-->") == std::string::npos &&
            line.find_first_not_of("0123456789") != std::string::npos)
            texts.push_back(line);
    EXPECT_EQ(texts, (std::vector<std::string>{"2 January 2023", "3 May 2024", "4 March 2025"}));

    run = RunVantoshow({"build", project, "-o", File("plain"), "--format", "mp4-720p", "--captions",
                        "none", "--subtitles", "file"});
    ASSERT_EQ(run.code, 0) << run.errors;
    EXPECT_TRUE(std::filesystem::exists(File("plain.mp4")));
    EXPECT_FALSE(std::filesystem::exists(File("plain.srt")));
    EXPECT_EQ(RunVantoshow({"build", project, "-o", File("x"), "--sort", "size"}).code, 2);
    QLocale::setDefault(QLocale::system());
}

}  // namespace
}  // namespace video::test
