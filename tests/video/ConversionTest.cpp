// End-to-end conversions through the MclDef.h interface: every format and
// standard checked through libavformat and the real disc authoring tools,
// the sound track's length against the video's, abort, unwritable outputs
// and unplayable music.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <future>

#include <gtest/gtest.h>

#include "model/FileLimit.h"
#include "raster/Bitmap.h"
#include "video/EncoderPresets.h"
#include "video/EncoderTestUtil.h"
#include "video/MclDef.h"

namespace video::test {
namespace {

struct FormatCase {
    int format;
    int standard;
    const char* videoCodec;
    const char* audioCodec;
};

class EveryFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(EveryFormat, WritesAStreamTheAuthoringToolsAccept) {
    const FormatCase c = GetParam();
    const EncoderPreset* preset = FindPreset(c.format, c.standard);
    ASSERT_NE(preset, nullptr);
    ScratchDir dir;
    // The first file ends within the video, so the second one is asked for.
    MakeSineMp3(dir.file("a.mp3"), 1.2, 440, 44100);
    MakeSineMp3(dir.file("b.mp3"), 5.0, 660, 48000);
    const int frames = static_cast<int>(3 * av_q2d(preset->frameRate));

    ConversionSpec spec;
    spec.format = c.format;
    spec.standard = c.standard;
    spec.output = dir.file("show.mpg");
    spec.frames = frames;
    spec.music = {dir.file("a.mp3"), dir.file("b.mp3")};
    spec.caption = "Holiday 2024";
    const ConversionLog log = RunConversion(spec);

    ASSERT_TRUE(log.result);
    EXPECT_TRUE(log.errors.empty());
    EXPECT_TRUE(log.allOnCallingThread);
    EXPECT_TRUE(log.oneProgressPerRequest);
    EXPECT_EQ(log.framesGiven, frames);
    EXPECT_EQ(log.audioIndices, (std::vector<int>{0, 1}));
    // One encoding notification per request, counting frames done, then the end.
    ASSERT_EQ(log.progress.size(), static_cast<size_t>(frames + 2));
    for (int i = 0; i <= frames; ++i)
        EXPECT_EQ(log.progress[i], std::make_pair(kMclProgressEncoding, i));
    EXPECT_EQ(log.progress.back(), std::make_pair(kMclProgressFinished, frames));
    EXPECT_FALSE(std::filesystem::exists(spec.output + ".part"));

    const auto info = ProbeFile(spec.output);
    ASSERT_TRUE(info && info->video && info->audio);
    EXPECT_EQ(info->video->codec, c.videoCodec);
    EXPECT_EQ(info->video->width, preset->width);
    EXPECT_EQ(info->video->height, preset->height);
    EXPECT_NEAR(info->video->frameRate, av_q2d(preset->frameRate), 1e-3);
    // MPEG-1 can only say the nearest of its pixel shapes.
    EXPECT_NEAR(info->video->displayAspect, 4.0 / 3.0, c.format == kMclFormatVcd ? 0.03 : 1e-3);
    EXPECT_EQ(info->video->packets, frames);
    EXPECT_LE(info->video->lastTimedEnd, info->video->end + 1e-3);
    EXPECT_EQ(info->audio->codec, c.audioCodec);
    EXPECT_EQ(info->audio->sampleRate, preset->sampleRate);
    EXPECT_EQ(info->audio->channels, 2);
    ExpectEndsTogether(*info);
    EXPECT_GE(log.audioSamplesSeen, preset->samplesBeforeFrame(frames));

    // The caption: light text in the dark bottom rows of the picture.
    const auto luma = DecodeFirstFrameLuma(spec.output, preset->width, preset->height);
    ASSERT_FALSE(luma.empty());
    const int size = c.format == kMclFormatVcd ? 17 : c.format == kMclFormatSvcd ? 24 : 36;
    uint8_t captionPeak = 0, besidePeak = 0;
    for (int y = preset->height - size - 12; y < preset->height - 12; ++y) {
        for (int x = 0; x < preset->width; ++x) {
            const uint8_t v = luma[static_cast<size_t>(y) * preset->width + x];
            uint8_t& peak = x < preset->width * 3 / 4 ? captionPeak : besidePeak;
            peak = std::max(peak, v);
        }
    }
    EXPECT_GT(captionPeak, 170);
    EXPECT_LT(besidePeak, 100);

    ExpectAuthoringAccepts(spec.output, c.format, c.standard, dir);
    if (c.format == kMclFormatDvd) {
        EXPECT_GT(std::filesystem::file_size(dir.file("dvd") + "/VIDEO_TS/VTS_01_1.VOB"), 100000u);
    }
}

std::string FormatCaseName(const ::testing::TestParamInfo<FormatCase>& info) {
    static const char* const kFormats[] = {"Vcd", "Svcd", "Dvd"};
    return std::string(kFormats[info.param.format]) +
           (info.param.standard == kMclStandardPal ? "Pal" : "Ntsc");
}

INSTANTIATE_TEST_SUITE_P(
    EncoderFormats, EveryFormat,
    ::testing::Values(FormatCase{kMclFormatVcd, kMclStandardPal, "mpeg1video", "mp2"},
                      FormatCase{kMclFormatVcd, kMclStandardNtsc, "mpeg1video", "mp2"},
                      FormatCase{kMclFormatSvcd, kMclStandardPal, "mpeg2video", "mp2"},
                      FormatCase{kMclFormatSvcd, kMclStandardNtsc, "mpeg2video", "mp2"},
                      FormatCase{kMclFormatDvd, kMclStandardPal, "mpeg2video", "ac3"},
                      FormatCase{kMclFormatDvd, kMclStandardNtsc, "mpeg2video", "ac3"}),
    FormatCaseName);

// A minute of video: the music either stops early and silence follows, or
// runs on and is cut; either way the sound track ends with the last frame.
TEST(EncoderSoundTrack, ShortMusicIsPaddedWithSilence) {
    ScratchDir dir;
    MakeSineMp3(dir.file("short.mp3"), 37.5);
    ConversionSpec spec;
    spec.output = dir.file("padded.mpg");
    spec.frames = 60 * 25;
    spec.music = {dir.file("short.mp3")};
    const ConversionLog log = RunConversion(spec);
    ASSERT_TRUE(log.result);

    const auto info = ProbeFile(spec.output);
    ASSERT_TRUE(info);
    ExpectEndsTogether(*info);
    EXPECT_EQ(info->video->packets, 60 * 25);
    EXPECT_NEAR(MusicEndTime(spec.output, *info), 37.5, 1.0 / 25);
}

TEST(EncoderSoundTrack, LongMusicIsCutWithTheVideo) {
    ScratchDir dir;
    MakeSineMp3(dir.file("long.mp3"), 95);
    ConversionSpec spec;
    spec.standard = kMclStandardNtsc;
    spec.output = dir.file("cut.mpg");
    spec.frames = 1798;  // a minute at 29.97 frames per second
    spec.music = {dir.file("long.mp3")};
    const ConversionLog log = RunConversion(spec);
    ASSERT_TRUE(log.result);
    EXPECT_EQ(log.audioIndices, std::vector<int>{0});

    const auto info = ProbeFile(spec.output);
    ASSERT_TRUE(info);
    const double frameRate = 30000.0 / 1001;
    ExpectEndsTogether(*info);
    const double videoLength = 1798 / frameRate;
    EXPECT_NEAR(MusicEndTime(spec.output, *info), videoLength, 1.0 / frameRate);
}

// Fitting the pictures to the music: the build aborts at the audio request
// after the last file, and the video must stop with the music.
TEST(EncoderSoundTrack, AbortWhenTheMusicEndsStopsTheVideoWithIt) {
    ScratchDir dir;
    MakeSineMp3(dir.file("one.mp3"), 5.0);
    MakeSineMp3(dir.file("two.mp3"), 7.5, 550);
    ConversionSpec spec;
    spec.output = dir.file("fit.mpg");
    spec.frames = -1;
    spec.music = {dir.file("one.mp3"), dir.file("two.mp3")};
    spec.abortWhenMusicEnds = true;
    const ConversionLog log = RunConversion(spec);
    ASSERT_TRUE(log.result);
    EXPECT_EQ(log.audioIndices, (std::vector<int>{0, 1, 2}));
    EXPECT_NEAR(log.framesGiven / 25.0, 12.5, 1.0 / 25);

    const auto info = ProbeFile(spec.output);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->video->packets, log.framesGiven);
    ExpectEndsTogether(*info);
}

TEST(EncoderAbort, HalfWayLeavesAFileThatPlaysToItsEnd) {
    ScratchDir dir;
    MakeSineMp3(dir.file("music.mp3"), 10);
    ConversionSpec spec;
    spec.format = kMclFormatSvcd;
    spec.output = dir.file("aborted.mpg");
    spec.frames = 100;
    spec.abortAtFrame = 50;
    spec.music = {dir.file("music.mp3")};
    const ConversionLog log = RunConversion(spec);
    ASSERT_TRUE(log.result);
    EXPECT_EQ(log.framesGiven, 50);
    EXPECT_EQ(log.videoRequests, 50);
    EXPECT_EQ(log.progress.back().first, kMclProgressFinished);

    std::string output;
    ASSERT_EQ(
        RunCommand("ffprobe -v error -count_frames -show_entries stream=codec_type,nb_read_frames "
                   "-of csv=p=0 '" +
                       spec.output + "'",
                   &output),
        0);
    EXPECT_NE(output.find("video,50"), std::string::npos) << output;
    EXPECT_NE(output.find("audio,"), std::string::npos) << output;
    EXPECT_EQ(output.find("rror"), std::string::npos) << output;
    const auto info = ProbeFile(spec.output);
    ASSERT_TRUE(info);
    ExpectEndsTogether(*info);
}

TEST(EncoderAbort, KeepDurationEndsTheVideo) {
    ScratchDir dir;
    ConversionSpec spec;
    spec.output = dir.file("second.mpg");
    spec.frames = -1;
    spec.keepDurationMs = 1000;
    const ConversionLog log = RunConversion(spec);
    ASSERT_TRUE(log.result);
    EXPECT_EQ(log.framesGiven, 25);
    EXPECT_EQ(log.videoRequests, 25);
}

// A show without pictures ends at the first request: an empty but complete
// file, no crash.
TEST(EncoderAbort, AVideoWithoutFramesStillCompletes) {
    ScratchDir dir;
    ConversionSpec spec;
    spec.format = kMclFormatDvd;
    spec.output = dir.file("empty.mpg");
    spec.frames = 0;
    const ConversionLog log = RunConversion(spec);
    EXPECT_TRUE(log.result);
    EXPECT_EQ(log.videoRequests, 1);
    EXPECT_TRUE(log.errors.empty());
    EXPECT_TRUE(std::filesystem::exists(spec.output));
}

TEST(EncoderOutputErrors, AnUnwritablePathIsReportedAndFails) {
    ScratchDir dir;
    for (const std::string& path : {dir.file("missing/folder/show.mpg"), dir.path().string(),
                                    std::string("/proc/show.mpg")}) {
        ConversionSpec spec;
        spec.output = path;
        const ConversionLog log = RunConversion(spec);
        EXPECT_FALSE(log.result) << path;
        ASSERT_EQ(log.errors.size(), 1u) << path;
        EXPECT_EQ(log.errors[0].first, kMclErrorOutput);
        EXPECT_NE(log.errors[0].second.find(path), std::string::npos) << log.errors[0].second;
        EXPECT_EQ(log.videoRequests, 0);
    }
}

// A disk that fills up during the conversion (a file size limit stands in
// for it): the call fails, and the video that was there is left as it was.
TEST(EncoderOutputErrors, AFullDiskFailsAndKeepsThePreviousFile) {
    ScratchDir dir;
    const std::string path = dir.file("show.mpg");
    { std::ofstream(path) << "the previous video"; }

    ConversionSpec spec;
    spec.output = path;
    spec.frames = 250;
    const ConversionLog log = [&] {
        const model_test::FileSizeLimit full(256 * 1024);
        return RunConversion(spec);
    }();

    EXPECT_FALSE(log.result);
    ASSERT_FALSE(log.errors.empty());
    EXPECT_EQ(log.errors.back().first, kMclErrorOutput);
    EXPECT_LT(log.framesGiven, 250);
    EXPECT_EQ(ReadWholeFile(path), "the previous video");
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
}

TEST(EncoderMusic, UnplayableFilesAreReportedAndTheRestPlays) {
    ScratchDir dir;
    { std::ofstream(dir.file("notes.mp3")) << "not music at all\n"; }
    MakeSineMp3(dir.file("good.mp3"), 2.0);
    ConversionSpec spec;
    spec.output = dir.file("music.mpg");
    spec.frames = 75;
    spec.music = {dir.file("notes.mp3"), dir.file("gone.mp3"), dir.file("good.mp3")};
    const ConversionLog log = RunConversion(spec);
    ASSERT_TRUE(log.result);
    ASSERT_EQ(log.errors.size(), 2u);
    EXPECT_EQ(log.errors[0].first, kMclErrorMusicFile);
    EXPECT_NE(log.errors[0].second.find("notes.mp3"), std::string::npos);
    EXPECT_NE(log.errors[1].second.find("gone.mp3"), std::string::npos);
    EXPECT_EQ(log.audioIndices, (std::vector<int>{0, 1, 2, 3}));

    const auto info = ProbeFile(spec.output);
    ASSERT_TRUE(info);
    ExpectEndsTogether(*info);
    EXPECT_NEAR(MusicEndTime(spec.output, *info), 2.0, 1.0 / 25);

    // Told to stop, the conversion ends there, still with a playable file.
    spec.errorAnswer = kMclAnswerStop;
    spec.output = dir.file("stopped.mpg");
    const ConversionLog stopped = RunConversion(spec);
    EXPECT_FALSE(stopped.result);
    EXPECT_EQ(stopped.errors.size(), 1u);
    EXPECT_LT(stopped.framesGiven, 75);
    EXPECT_TRUE(ProbeFile(spec.output));
}

// A named pipe listed as music is refused at once instead of waiting for a
// writer that never comes: it counts no samples, is reported, and the rest
// of the music plays.
TEST(EncoderMusic, NamedPipeIsRefusedWithoutWaitingForAWriter) {
    ScratchDir dir;
    const std::string pipe = dir.file("pipe.mp3");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    MakeSineMp3(dir.file("good.mp3"), 1.0);
    ConversionSpec spec;
    spec.output = dir.file("music.mpg");
    spec.frames = 25;
    spec.music = {pipe, dir.file("good.mp3")};
    auto running = std::async(std::launch::async, [&] {
        const MclListHandle list = MclListCreate();
        MclListAdd(list, pipe, kMclListMusicFile, 0, 0);
        const int64_t samples = MclListGetSampleCount(list);
        MclListFree(list);
        return std::pair{samples, RunConversion(spec)};
    });
    // Waiting is only the fallback: a refusal comes back at once.
    while (running.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        const int writer = open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) close(writer);
        ADD_FAILURE() << "opening a named pipe waited for a writer";
    }
    const auto [samples, log] = running.get();
    EXPECT_EQ(samples, 0);
    ASSERT_TRUE(log.result);
    ASSERT_EQ(log.errors.size(), 1u);
    EXPECT_NE(log.errors[0].second.find("pipe.mp3"), std::string::npos);
    EXPECT_NE(log.errors[0].second.find("not a regular file"), std::string::npos)
        << log.errors[0].second;
    const auto info = ProbeFile(spec.output);
    ASSERT_TRUE(info);
    ExpectEndsTogether(*info);
}

TEST(EncoderMusic, ListCountsSamplesOfReadableFiles) {
    ScratchDir dir;
    MakeSineMp3(dir.file("a.mp3"), 1.5, 440, 22050);
    const MclListHandle list = MclListCreate();
    MclListAdd(list, dir.file("a.mp3"), kMclListMusicFile, 0, 0);
    MclListAdd(list, dir.file("missing.mp3"), kMclListMusicFile, 0, 0);
    MclListAdd(list, dir.file("a.mp3"), kMclListMusicFile, 0, 0);
    // Within the encoder's padding of the exact length, once for each entry.
    EXPECT_NEAR(static_cast<double>(MclListGetSampleCount(list)), 3.0 * kMclListSampleRate,
                0.1 * kMclListSampleRate);
    std::string name;
    EXPECT_TRUE(MclListGetName(list, 1, &name));
    EXPECT_EQ(name, dir.file("missing.mp3"));
    EXPECT_FALSE(MclListGetName(list, 3, &name));
    EXPECT_FALSE(MclListGetName(list, -1, &name));
    MclListFree(list);
    EXPECT_FALSE(MclListGetName(list, 0, &name));
}

// Answers given outside their callback, and handles of the wrong kind, do
// nothing and say so.
TEST(EncoderInterface, AnswersOnlyCountInsideTheirCallback) {
    ScratchDir dir;
    const MclHandle handle = MclCreate();
    raster::Bitmap frame(16, 16);
    const MclTextHandle text = MclTextCreate();
    MclSourceHandle videoSource = 0;
    MclImageHandle image = 0;
    bool audioAnswerAccepted = true, textOnSource = true;
    MclAssignVideoSource(handle, [&](MclSourceHandle source, intptr_t) {
        videoSource = source;
        MclSourceSetDIB(source, frame);
        if (MclSourceSetFile(source, "x.mp3"))
            audioAnswerAccepted = true;
        else
            audioAnswerAccepted = false;
    });
    MclAssignVideoFunc(handle, [&](MclSourceHandle source, MclImageHandle img, intptr_t) {
        image = img;
        textOnSource = MclImgText(source, text, 0, 0, "x");
        MclAbort(handle);
    });
    MclVideoSetFileName(handle, dir.file("x.mpg"));
    EXPECT_FALSE(MclSetFormatPreset(handle, 7, 0));
    EXPECT_TRUE(MclSetFormatPreset(handle, kMclFormatVcd, kMclStandardPal));
    ASSERT_TRUE(MclConvert(handle));
    EXPECT_FALSE(audioAnswerAccepted);
    EXPECT_FALSE(textOnSource);
    EXPECT_FALSE(MclSourceSetDIB(videoSource, frame));
    EXPECT_FALSE(MclSourceFinished(videoSource));
    EXPECT_FALSE(MclImgText(image, text, 0, 0, "late"));
    MclTextFree(text);
    MclFree(handle);
    EXPECT_FALSE(MclConvert(handle));
    EXPECT_FALSE(MclVideoSetFileName(handle, "y.mpg"));
}

// An exception from a callback passes through MclConvert, stops the encoder
// thread and leaves no output; the encoder can run again afterwards.
TEST(EncoderInterface, AnExceptionFromACallbackLeavesNoOutput) {
    ScratchDir dir;
    const MclHandle handle = MclCreate();
    raster::Bitmap frame(64, 48);
    int frames = 0, throwAt = 10;
    MclAssignVideoSource(handle, [&](MclSourceHandle source, intptr_t) {
        if (++frames == throwAt) throw std::runtime_error("picture failed");
        if (frames > 20)
            MclSourceFinished(source);
        else
            MclSourceSetDIB(source, frame);
    });
    MclVideoSetFileName(handle, dir.file("x.mpg"));
    MclAudioSetFileName(handle, dir.file("x.mpg"));
    MclSetFormatPreset(handle, kMclFormatVcd, kMclStandardNtsc);
    EXPECT_THROW(MclConvert(handle), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.mpg")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.mpg.part")));

    frames = 0;
    throwAt = -1;
    EXPECT_TRUE(MclConvert(handle));
    const auto info = ProbeFile(dir.file("x.mpg"));
    ASSERT_TRUE(info && info->video);
    EXPECT_EQ(info->video->packets, 20);
    MclFree(handle);
}

// A frame given as unchanged reuses the previous one's conversion, or its
// copy where the captions differ; a frame of another size is copied all the
// same. The file must come out as when every frame is copied.
TEST(EncoderInterface, UnchangedFramesEncodeAsCopiedOnes) {
    struct Step {
        raster::Color colour;
        int width;
        bool unchanged;
        const char* caption;
    };
    const Step steps[] = {
        {0x2040C0, 64, false, "a"}, {0x2040C0, 64, true, "a"}, {0x2040C0, 64, true, "b"},
        {0x2040C0, 64, true, ""},   {0x30A040, 64, false, ""}, {0xC08020, 32, true, ""},
        {0xC08020, 32, true, "b"},  {0xC08020, 32, true, "b"},
    };
    ScratchDir dir;
    auto encode = [&](bool tellUnchanged) {
        const std::string path = dir.file(tellUnchanged ? "told.mpg" : "copied.mpg");
        const MclHandle handle = MclCreate();
        const MclTextHandle text = MclTextCreate();
        MclTextSetFont(text, "DejaVu Sans", 20, kMclTextBold, kMclTextAntialiased);
        size_t next = 0;
        raster::Bitmap frame;
        MclAssignVideoSource(handle, [&](MclSourceHandle source, intptr_t) {
            if (next == std::size(steps)) {
                MclSourceFinished(source);
                return;
            }
            const Step& step = steps[next];
            frame.reset(step.width, 48, step.colour);
            MclSourceSetDIB(source, frame, tellUnchanged && step.unchanged);
        });
        MclAssignVideoFunc(handle, [&](MclSourceHandle, MclImageHandle image, intptr_t) {
            EXPECT_TRUE(MclImgText(image, text, 40, 100, steps[next++].caption));
        });
        MclVideoSetFileName(handle, path);
        MclSetFormatPreset(handle, kMclFormatVcd, kMclStandardPal);
        EXPECT_TRUE(MclConvert(handle));
        MclTextFree(text);
        MclFree(handle);
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string copied = encode(false);
    ASSERT_FALSE(copied.empty());
    EXPECT_TRUE(encode(true) == copied);
}

TEST(EncoderInterface, TimesAreEstimatedFromTheFramesDone) {
    ScratchDir dir;
    const MclHandle handle = MclCreate();
    raster::Bitmap frame(64, 48);
    double before = 0, after = 0, remaining = 0, byMusic = 0, pastTheEnd = -1;
    MclAssignVideoSource(handle,
                         [&](MclSourceHandle source, intptr_t) { MclSourceSetDIB(source, frame); });
    MclAssignProgress(handle, [&](MclHandle h, int kind, int value, intptr_t) {
        if (kind != kMclProgressEncoding || value != 25) return;
        before = MclGetElapsedTime(h);
        remaining = MclGetRemainingTime(h, 50, 0);
        byMusic = MclGetRemainingTime(h, 0, 2 * kMclListSampleRate);  // 50 frames' worth
        pastTheEnd = MclGetRemainingTime(h, 20, 0);
        after = MclGetElapsedTime(h);
        MclAbort(h);
    });
    MclVideoSetFileName(handle, dir.file("t.mpg"));
    MclSetFormatPreset(handle, kMclFormatVcd, kMclStandardPal);
    ASSERT_TRUE(MclConvert(handle));
    // Half the frames are done, so as long again is left.
    EXPECT_GT(before, 0);
    EXPECT_GE(remaining, before);
    EXPECT_LE(remaining, after);
    EXPECT_GE(byMusic, before);
    EXPECT_LE(byMusic, after);
    EXPECT_EQ(pastTheEnd, 0);
    EXPECT_GE(MclGetElapsedTime(handle), after);
    MclFree(handle);
}

}  // namespace
}  // namespace video::test
