// The captions of an MP4 video as text viewers can switch on: a mov_text
// track in the file, or an SRT file saved beside it, or neither. The cues
// are read back by ffmpeg, a real consumer, and held against the frames the
// build drew each caption on.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "model/VideoFormatKeys.h"
#include "showbuild/BuildDriver.h"
#include "showbuild/BuildTestUtil.h"

namespace video::test {
namespace {

struct TimedText {
    double start = 0;
    double end = 0;
    std::string text;
};

double SrtSeconds(const std::string& time) {
    int h = 0, m = 0, s = 0, ms = 0;
    EXPECT_EQ(std::sscanf(time.c_str(), "%d:%d:%d,%d", &h, &m, &s, &ms), 4) << time;
    return h * 3600.0 + m * 60.0 + s + ms / 1000.0;
}

std::vector<TimedText> ParseSrt(const std::string& srt) {
    std::vector<TimedText> cues;
    std::istringstream in(srt);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line == "\r") continue;
        std::string times;
        std::getline(in, times);
        const size_t arrow = times.find(" --> ");
        EXPECT_NE(arrow, std::string::npos) << times;
        if (arrow == std::string::npos) break;
        TimedText cue{SrtSeconds(times.substr(0, arrow)), SrtSeconds(times.substr(arrow + 5)), ""};
        while (std::getline(in, line) && !line.empty() && line != "\r")
            cue.text += (cue.text.empty() ? "" : "\n") + line;
        cues.push_back(cue);
    }
    return cues;
}

// Each caption as long as it is on screen, in seconds at 'rate'.
std::vector<TimedText> CaptionsOnScreen(const std::vector<std::string>& frames, FrameRate rate) {
    std::vector<TimedText> runs;
    for (size_t i = 0; i < frames.size(); ++i) {
        const double at = static_cast<double>(i) / rate.perSecond();
        if (!runs.empty() && runs.back().text == frames[i] &&
            std::abs(runs.back().end - at) < 1e-9) {
            runs.back().end = static_cast<double>(i + 1) / rate.perSecond();
            continue;
        }
        if (!frames[i].empty())
            runs.push_back({at, static_cast<double>(i + 1) / rate.perSecond(), frames[i]});
    }
    return runs;
}

void ExpectSameCues(const std::vector<TimedText>& read, const std::vector<TimedText>& shown,
                    double frame) {
    ASSERT_EQ(read.size(), shown.size());
    for (size_t i = 0; i < read.size(); ++i) {
        SCOPED_TRACE("cue " + std::to_string(i));
        EXPECT_EQ(read[i].text, shown[i].text);
        EXPECT_LE(std::abs(read[i].start - shown[i].start), frame);
        EXPECT_LE(std::abs(read[i].end - shown[i].end), frame);
    }
}

bool HasSubtitleStream(const std::string& path) {
    for (const Entries& stream : ProbeSections(path, "-show_streams"))
        if (stream.count("codec_type") && stream.at("codec_type") == "subtitle") return true;
    return false;
}

TEST_F(BuildTest, Mp4CarriesTheCaptionsAsATrackOrAnSrtFileOrNeither) {
    show_.settings.VideoType = 3;
    show_.settings.VideoRate = 6;  // 29.97: cue times are no whole milliseconds
    show_.settings.ShowCaption = true;
    QuickShow(1);
    AddPicture("first.jpg", 160, 120);
    AddPicture("second.png", 90, 160);
    AddPicture("third.jpg", 120, 120);
    show_.notes.WriteString("captions", "first.jpg", "Sunrise over the bay");
    show_.notes.WriteString("captions", "second.png", "");  // no caption: a gap
    show_.notes.WriteString("captions", "third.jpg", "Caf\xC3\xA9 at noon");
    const FrameRate rate{30000, 1001};
    const double frame = 1.0 / rate.perSecond();

    std::vector<std::string> frames;
    BuildHooks hooks;
    hooks.frameSent = [&](int64_t, const raster::Bitmap&, const std::vector<CaptionLine>& lines) {
        std::string text;
        for (const CaptionLine& line : lines) text += line.text;
        frames.push_back(text);
    };
    const auto build = [&](model::SubtitleMode mode, BuildDriver& driver) {
        show_.settings.Subtitles = static_cast<uint8_t>(mode);
        frames.clear();
        const BuildResult result = driver.Build(show_);
        EXPECT_EQ(result.status, BuildResult::Status::Completed) << result.message;
        return result;
    };

    {
        BuildDriver driver(hooks);
        const BuildResult result = build(model::SubtitleMode::Track, driver);
        const std::vector<TimedText> shown = CaptionsOnScreen(frames, rate);
        ASSERT_EQ(shown.size(), 2u);
        const Entries track =
            StreamOfType(ProbeSections(result.videoFile, "-show_streams"), "subtitle");
        EXPECT_EQ(track.at("codec_name"), "mov_text");
        std::string srt;
        ASSERT_EQ(
            RunCommand("ffmpeg -nostdin -v error -i '" + result.videoFile + "' -map 0:s:0 -f srt -",
                       &srt),
            0);
        ExpectSameCues(ParseSrt(srt), shown, frame);
        // The file saved holds the track; no SRT is written beside it.
        const base::Result<std::string> saved = driver.SaveVideo(File("track"));
        ASSERT_TRUE(saved) << saved.message();
        EXPECT_TRUE(HasSubtitleStream(*saved));
        EXPECT_FALSE(std::filesystem::exists(File("track.srt")));
    }
    {
        BuildDriver driver(hooks);
        build(model::SubtitleMode::File, driver);
        const std::vector<TimedText> shown = CaptionsOnScreen(frames, rate);
        const base::Result<std::string> saved = driver.SaveVideo(File("site.mp4"));
        ASSERT_TRUE(saved) << saved.message();
        EXPECT_FALSE(HasSubtitleStream(*saved));
        ExpectSameCues(ParseSrt(ReadWholeFile(File("site.srt"))), shown, frame);
    }
    {
        BuildDriver driver(hooks);
        build(model::SubtitleMode::Off, driver);
        const base::Result<std::string> saved = driver.SaveVideo(File("plain.mp4"));
        ASSERT_TRUE(saved) << saved.message();
        EXPECT_FALSE(HasSubtitleStream(*saved));
        EXPECT_FALSE(std::filesystem::exists(File("plain.srt")));
    }
}

}  // namespace
}  // namespace video::test
