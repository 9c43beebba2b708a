// The beat timing as arithmetic: beats carried into the mixed music's time
// across a crossfade, and the changes it plans at the frame rates and tempos
// the shows use, with captions to read and stretches without a beat.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "showbuild/BeatTiming.h"

namespace video {
namespace {

std::vector<int32_t> Every(int32_t firstMs, int32_t periodMs, int32_t untilMs) {
    std::vector<int32_t> beats;
    for (int32_t ms = firstMs; ms < untilMs; ms += periodMs) beats.push_back(ms);
    return beats;
}

TEST(BeatTiming, BeatsOfTheSecondFileFollowItsCrossfadedStart) {
    // 10 s at 120 a minute, then 8 s at 100 joined by a 2 s crossfade: the
    // second file starts at 8 s, its beats count from the crossfade's middle.
    const std::vector<std::optional<model::StoredBeats>> files{
        model::StoredBeats{120, Every(0, 500, 10000)},
        model::StoredBeats{100, Every(100, 600, 8000)}, std::nullopt,
        model::StoredBeats{120, Every(0, 500, 3000)}};
    const std::vector<ShowBeat> beats = MixedBeats(files, {10000, 8000, 4000, 2500}, 2000);
    std::vector<ShowBeat> expected;
    for (int32_t ms = 0; ms < 9000; ms += 500) expected.push_back({ms, ms % 2000 == 0});
    for (int k = 2; 8100 + 600 * k < 8000 + 8000 - 1000; ++k)
        expected.push_back({8100 + 600 * k, k % 4 == 0});
    // The third file has none; the fourth starts at 8 + 6 + 2 s and is cut
    // at its 2.5 s length, its 3 s of beats notwithstanding.
    for (int32_t ms = 1000; ms < 2500; ms += 500) expected.push_back({16000 + ms, ms % 2000 == 0});
    EXPECT_EQ(beats, expected);
}

struct Change {
    int64_t frame;
    int64_t cycle;
};

std::vector<Change> ChangesOf(const ShowTiming& timing) {
    std::vector<Change> changes;
    int64_t frame = 0;
    for (int32_t hold : timing.ImageFrames) {
        changes.push_back({frame, timing.TransitionFrames + hold});
        frame += timing.TransitionFrames + hold;
    }
    return changes;
}

TEST(BeatTiming, EveryChangeIsOnABeatAndEveryPictureStaysItsShortestTime) {
    const FrameRate rates[] = {{25, 1}, {30000, 1001}, {50, 1}};
    const double tempos[] = {90, 120, 137, 190};
    constexpr int64_t kMusicMs = 61234;
    const std::vector<std::string> list{"a", "b", "c"};
    // A long caption outlasts a short interval at any tempo.
    const std::map<std::string, PictureNeeds> needs{
        {"a", {2, kShortestShownMs}},
        {"b", {1, ShortestShownMs(std::string(60, 'x'))}},
        {"c", {4, kShortestShownMs}}};
    for (const FrameRate rate : rates)
        for (const double tempo : tempos) {
            SCOPED_TRACE(std::to_string(rate.perSecond()) + " fps, " + std::to_string(tempo));
            std::vector<ShowBeat> beats;
            for (int k = 0; k * 60000.0 / tempo < kMusicMs; ++k)
                beats.push_back({std::llround(k * 60000.0 / tempo), k % 4 == 0});
            ShowTiming timing;
            std::vector<std::string> pictures = list;
            const int offBeat =
                ApplyBeatSync(beats, kMusicMs, timing, pictures, TimingRules{1, rate},
                              [&](const std::string& p) { return needs.at(p); });
            EXPECT_EQ(offBeat, 0);
            EXPECT_EQ(timing.TotalFrames(), rate.FramesCovering(kMusicMs));
            ASSERT_EQ(pictures.size(), timing.ImageFrames.size());
            EXPECT_GT(pictures.size(), 15u);  // the list repeats to cover the music
            // The fastest transition (0.4 s) lasts a whole number of beats.
            const double transitionBeats =
                rate.MillisecondsOfFrames(timing.TransitionFrames) * tempo / 60000.0;
            EXPECT_NEAR(transitionBeats, std::round(transitionBeats), 0.1) << transitionBeats;
            const std::vector<Change> changes = ChangesOf(timing);
            for (size_t i = 0; i < changes.size(); ++i) {
                SCOPED_TRACE("picture " + std::to_string(i));
                EXPECT_GE(rate.MillisecondsOfFrames(changes[i].cycle),
                          needs.at(pictures[i]).shortestMs);
                if (i == 0) continue;
                const auto onBeat = std::any_of(beats.begin(), beats.end(), [&](const ShowBeat& b) {
                    return rate.FrameNearest(b.ms) == changes[i].frame + 1;
                });
                EXPECT_TRUE(onBeat) << "change at frame " << changes[i].frame;
            }
        }
}

TEST(BeatTiming, StretchesWithoutABeatKeepTheIntervalAndAreCounted) {
    const FrameRate rate{25, 1};
    // Beats for the first 20 s only, then 20 s of speech.
    std::vector<ShowBeat> beats;
    for (int64_t ms = 0; ms < 20000; ms += 500) beats.push_back({ms, ms % 2000 == 0});
    ShowTiming timing;
    std::vector<std::string> pictures{"a"};
    const int offBeat =
        ApplyBeatSync(beats, 40000, timing, pictures, TimingRules{1, rate}, [](const std::string&) {
            return PictureNeeds{3, 1500};
        });
    EXPECT_EQ(timing.TotalFrames(), 1000);
    const int64_t interval = timing.TransitionFrames + 75;
    int off = 0;
    const std::vector<Change> changes = ChangesOf(timing);
    for (size_t i = 1; i < changes.size(); ++i) {
        const int64_t frame = changes[i].frame;
        const bool onBeat = std::any_of(beats.begin(), beats.end(), [&](const ShowBeat& b) {
            return rate.FrameNearest(b.ms) == frame + 1;
        });
        if (onBeat) continue;
        ++off;
        // Off the beat, the picture before keeps its interval (or gives way
        // to the last picture's shortest time).
        EXPECT_LE(changes[i - 1].cycle, interval) << frame;
        EXPECT_TRUE(changes[i - 1].cycle == interval || frame == 1000 - 38) << frame;
    }
    EXPECT_GT(off, 4);
    EXPECT_EQ(offBeat, off);
}

}  // namespace
}  // namespace video
