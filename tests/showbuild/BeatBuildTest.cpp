// Shows built on the beat, checked from outside: click tracks made at test
// time whose clicks are known, two of them joined by a crossfade, and the
// built video decoded by ffmpeg to find the frames where pictures change.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>

#include "model/MusicBeats.h"
#include "showbuild/BeatTiming.h"
#include "showbuild/BuildTestUtil.h"
#include "sound/SoundTestUtil.h"
#include "sound/TrackMeasure.h"

namespace video::test {
namespace {

struct PipeClose {
    void operator()(FILE* pipe) const { pclose(pipe); }
};

// The mean luma of the top half of every frame: the pictures are flat
// colours of distinct lightness, the captions sit at the bottom.
std::vector<double> TopLumaOfFrames(const std::string& path) {
    constexpr int kWidth = 32, kHeight = 18;
    const std::unique_ptr<FILE, PipeClose> pipe(
        popen(("ffmpeg -nostdin -v error -i '" + path + "' -vf scale=" + std::to_string(kWidth) +
               ":" + std::to_string(kHeight) + ",format=gray -f rawvideo -")
                  .c_str(),
              "r"));
    std::vector<double> lumas;
    std::vector<unsigned char> frame(kWidth * kHeight);
    while (pipe && fread(frame.data(), 1, frame.size(), pipe.get()) == frame.size()) {
        double sum = 0;
        for (int i = 0; i < kWidth * kHeight / 2; ++i) sum += frame[i];
        lumas.push_back(sum / (kWidth * kHeight / 2));
    }
    return lumas;
}

struct RateCase {
    const char* label;
    uint8_t videoType;
    int32_t tvSet;
    uint8_t videoRate;
    double fps;
};

class BeatBuild : public BuildTest, public ::testing::WithParamInterface<RateCase> {};

TEST_P(BeatBuild, EveryChangeIsOnAClickAndTheVideoEndsWithTheMusic) {
    const RateCase c = GetParam();
    show_.settings.VideoType = c.videoType;
    show_.settings.TVSet = c.tvSet;
    show_.settings.VideoRate = c.videoRate;
    show_.settings.MusicSync = static_cast<uint8_t>(MusicSyncMode::OnTheBeat);
    show_.settings.MusicCrossfadeMs = 2000;
    show_.settings.MusicFadeOutMs = 0;
    show_.settings.useeffects = model::StyleSet{};  // cuts: a change is one frame
    show_.settings.ShowCaption = true;
    QuickShow(2);

    // 12 s at 120 a minute, then 10 s at 100 from 10 s on: 20 s of music.
    const struct {
        const char* name;
        double bpm, seconds, startsAt;
    } tracks[] = {{"one.flac", 120, 12, 0}, {"two.flac", 100, 10, 10}};
    const sound::test::EncodedFormat& flac = sound::test::EncodedFormats()[1];
    for (const auto& track : tracks) {
        const std::string path = File(track.name);
        sound::test::Encode(sound::test::Clicks(track.bpm, flac.sampleRate), track.seconds, flac,
                            path);
        const base::Result<sound::TrackFacts> facts = sound::MeasureTrack(path);
        ASSERT_TRUE(facts) << facts.message();
        show_.settings.Music.push_back(path);
        show_.notes.WriteInteger("Mp3Length", path, facts->lengthMs);
        show_.notes.WriteString("MusicBeats", path,
                                model::BeatsText({facts->beats.tempo, facts->beats.beatsMs}));
    }
    // Four flat pictures, dark to light; the second has a caption that takes
    // 3.5 s to read.
    const unsigned colours[] = {0x202020, 0x606060, 0xa0a0a0, 0xe0e0e0};
    for (int i = 0; i < 4; ++i) {
        const std::string path = File("p" + std::to_string(i) + ".png");
        WriteSolidPicture(path, 160, 120, colours[i]);
        show_.settings.Pictures.push_back(path);
        show_.notes.WriteString("captions", "p" + std::to_string(i) + ".png",
                                i == 1 ? std::string(50, 'x') : "");
    }

    const BuildResult result = BuildShow();
    ASSERT_EQ(result.status, BuildResult::Status::Completed) << result.message;
    EXPECT_TRUE(result.Problems().empty()) << result.Problems().front();
    const std::vector<double> lumas = TopLumaOfFrames(result.videoFile);
    const double frame = 1 / c.fps;
    // Ends within a frame of the music's end.
    EXPECT_NEAR(lumas.size() * frame, 20.0, frame + 1e-9);

    // The first picture cuts in from black on the second frame.
    std::vector<size_t> changes{1};
    for (size_t i = 2; i < lumas.size(); ++i)
        if (std::abs(lumas[i] - lumas[i - 1]) > 20) changes.push_back(i);
    changes.push_back(lumas.size());
    ASSERT_GE(changes.size(), 8u);
    int afterTheJoin = 0;
    for (size_t k = 1; k + 1 < changes.size(); ++k) {
        const double at = changes[k] * frame;
        SCOPED_TRACE("change at " + std::to_string(at) + " s");
        // The clicks of both tracks, in the mixed music's time.
        double nearest = 1e9;
        for (const auto& track : tracks)
            for (double click = track.startsAt; click < track.startsAt + track.seconds;
                 click += 60 / track.bpm)
                nearest = std::min(nearest, std::abs(at - click));
        EXPECT_LE(nearest, frame + 1e-9);
        if (at > 11) ++afterTheJoin;
    }
    EXPECT_GE(afterTheJoin, 2);
    for (size_t k = 0; k + 1 < changes.size(); ++k) {
        const double shown = (changes[k + 1] - changes[k]) * frame;
        // The pictures come in list order, pass after pass.
        const auto picture = static_cast<int>(k % 4);
        SCOPED_TRACE("picture " + std::to_string(picture) + " from frame " +
                     std::to_string(changes[k]));
        EXPECT_GE(shown, picture == 1 ? 3.5 : 1.5);
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, BeatBuild,
                         ::testing::Values(RateCase{"dvd_pal", 2, 0, 0, 25.0},
                                           RateCase{"dvd_ntsc", 2, 1, 0, 30000.0 / 1001},
                                           RateCase{"mp4_50", 3, 0, 4, 50.0}),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace video::test
