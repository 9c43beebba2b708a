// The mixer on made-up tracks of constant level, where every sample's
// expected value is known: gapless joins, fades, crossfades, files that
// cannot be played, and the rules it shares with the show timing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sound/MixRules.h"
#include "sound/MusicMixer.h"

namespace sound {
namespace {

constexpr int kRate = 1000;  // one sample a millisecond keeps the counts readable
constexpr int16_t kLevel = 16000;

// A track of 'length' samples at 'level', handed out in uneven pieces.
class ConstantTrack : public TrackReader {
public:
    ConstantTrack(int64_t length, int16_t level) : left_(length), level_(level) {}
    bool ReadPiece(std::vector<int16_t>& out) override {
        const int64_t piece = std::min<int64_t>(left_, 137);
        out.insert(out.end(), static_cast<size_t>(piece), level_);
        left_ -= piece;
        return left_ > 0;
    }

private:
    int64_t left_;
    int16_t level_;
};

struct Rendered {
    std::vector<int16_t> samples;
    std::vector<std::string> errors;
};

// Tracks by name: "A:1000" is 1000 samples at kLevel, "A:1000:8000" at 8000;
// "bad" cannot be opened, "empty" opens without a sample.
Rendered Render(const std::vector<std::string>& tracks, const MixOptions& options, int64_t cutEnd,
                int64_t total, std::map<std::string, double> gains = {}) {
    Rendered rendered;
    MusicMixer::Hooks hooks;
    hooks.requestFile = [&](int index) -> std::optional<std::string> {
        if (index >= static_cast<int>(tracks.size())) return std::nullopt;
        return tracks[static_cast<size_t>(index)];
    };
    hooks.openFile = [](const std::string& name) -> base::Result<std::unique_ptr<TrackReader>> {
        if (name == "bad") return base::MakeFault("not music");
        if (name == "empty")
            return std::unique_ptr<TrackReader>(std::make_unique<ConstantTrack>(0, 0));
        const size_t first = name.find(':'), second = name.find(':', first + 1);
        const int16_t level = second == std::string::npos
                                  ? kLevel
                                  : static_cast<int16_t>(std::stoi(name.substr(second + 1)));
        return std::unique_ptr<TrackReader>(
            std::make_unique<ConstantTrack>(std::stoll(name.substr(first + 1)), level));
    };
    hooks.gainOf = [&](const std::string& name) { return gains.count(name) ? gains[name] : 1.0; };
    hooks.reportError = [&](const std::string& message) {
        rendered.errors.push_back(message);
        return true;
    };
    MusicMixer mixer(kRate, 1, options, cutEnd, hooks);
    rendered.samples.resize(static_cast<size_t>(total));
    // In steps, as the encoder asks frame by frame.
    for (int64_t done = 0; done < total;) {
        const int64_t step = std::min<int64_t>(40, total - done);
        EXPECT_TRUE(mixer.FillTo(done + step));
        mixer.Take(rendered.samples.data() + done, static_cast<int>(step));
        done += step;
    }
    return rendered;
}

int64_t CountIf(const std::vector<int16_t>& samples, int64_t from, int64_t to, auto predicate) {
    return std::count_if(samples.begin() + from, samples.begin() + to, predicate);
}

TEST(MixerTest, JoinsWithoutGapOrStepAndSkipsWhatCannotPlay) {
    struct Case {
        std::vector<std::string> tracks;
        int64_t soundLength;
        size_t errors;
    };
    const Case cases[] = {
        {{"A:1000", "B:1500"}, 2500, 0},
        {{"A:999", "bad", "empty", "B:1"}, 1000, 2},
        {{"bad", "A:1234"}, 1234, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tracks.front() + " .. " + c.tracks.back());
        const Rendered out = Render(c.tracks, MixOptions{}, -1, 3000);
        EXPECT_EQ(CountIf(out.samples, 0, c.soundLength, [](int16_t s) { return s != kLevel; }), 0);
        EXPECT_EQ(CountIf(out.samples, c.soundLength, 3000, [](int16_t s) { return s != 0; }), 0);
        EXPECT_EQ(out.errors.size(), c.errors);
    }
}

TEST(MixerTest, FadesHaveTheirSetLengths) {
    struct Case {
        int32_t fadeInMs, fadeOutMs;
        int64_t cutEnd;  // -1: the music plays out
        int64_t rampUp, rampDown, soundEnd;
    };
    const Case cases[] = {
        {500, 1500, 2500, 500, 1500, 2500},  // cut: fades out to the cut
        {800, 2000, -1, 800, 0, 3000},       // played out: no fade-out
        {0, 0, 2500, 0, 0, 2500},            // cut hard
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fadeInMs << " in, " << c.fadeOutMs << " out");
        const Rendered out =
            Render({"A:3000"}, MixOptions{.fadeInMs = c.fadeInMs, .fadeOutMs = c.fadeOutMs},
                   c.cutEnd, 4000);
        const auto below = [](int16_t s) { return s > 0 && s < kLevel; };
        EXPECT_NEAR(CountIf(out.samples, 0, 1000, below), c.rampUp, 1);
        EXPECT_NEAR(CountIf(out.samples, 1000, 4000, below), c.rampDown, 1);
        EXPECT_EQ(CountIf(out.samples, c.soundEnd, 4000, [](int16_t s) { return s != 0; }), 0);
        // The ramps rise and fall steadily, a step of the level over the fade.
        const int shortest = std::max(1, std::min(c.fadeInMs ? c.fadeInMs : INT32_MAX,
                                                  c.fadeOutMs ? c.fadeOutMs : INT32_MAX));
        for (int64_t i = 1; i < c.soundEnd; ++i)
            ASSERT_LE(std::abs(out.samples[i] - out.samples[i - 1]), kLevel / shortest + 1) << i;
    }
}

TEST(MixerTest, CrossfadeOverlapsTheSetTime) {
    struct Case {
        std::vector<std::string> tracks;
        int32_t crossfadeMs;
        int64_t overlap, soundEnd;
    };
    const Case cases[] = {
        {{"A:3000:8000", "B:3000:16000"}, 1000, 1000, 5000},
        {{"A:3000:8000", "B:3000:16000"}, 0, 0, 6000},
        // Never more than the earlier track lasts.
        {{"A:400:8000", "B:3000:16000"}, 1000, 400, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.crossfadeMs);
        const Rendered out = Render(c.tracks, MixOptions{.crossfadeMs = c.crossfadeMs}, -1, 7000);
        EXPECT_NEAR(CountIf(out.samples, 0, 7000,
                            [](int16_t s) { return s != 0 && s != 8000 && s != 16000; }),
                    c.overlap, 1);
        EXPECT_EQ(CountIf(out.samples, 0, c.soundEnd, [](int16_t s) { return s == 0; }), 0);
        EXPECT_EQ(CountIf(out.samples, c.soundEnd, 7000, [](int16_t s) { return s != 0; }), 0);
        std::vector<int64_t> lengths;
        for (const std::string& track : c.tracks) lengths.push_back(std::stoll(track.substr(2)));
        EXPECT_EQ(CrossfadedLength(lengths, c.crossfadeMs), c.soundEnd);
    }
}

TEST(MixerTest, EvenLoudnessAppliesTheGainOnlyWhenOn) {
    const std::map<std::string, double> gains{{"A:100", 0.5}};
    for (const bool on : {false, true}) {
        const Rendered out = Render({"A:100"}, MixOptions{.evenLoudness = on}, -1, 100, gains);
        EXPECT_EQ(out.samples[50], on ? kLevel / 2 : kLevel);
    }
}

TEST(MixRulesTest, LoudnessGainReachesTheTargetBelowFullScale) {
    struct Case {
        double lufs, peak, gain;
    };
    const Case cases[] = {
        {-10.0, 0.9, std::pow(10.0, -0.3)},  // turned down 6 dB
        {-30.0, 0.05, std::pow(10.0, 0.7)},  // turned up 14 dB
        {-30.0, 0.5, 2.0},                   // held at full scale
        {NAN, 0.5, 1.0},                     // silent or never measured
    };
    for (const Case& c : cases) EXPECT_NEAR(EvenLoudnessGain(c.lufs, c.peak), c.gain, 1e-9);
}

TEST(MixRulesTest, FadeLengthsAreHeldToTheirRange) {
    const std::pair<int64_t, int32_t> cases[] = {{-5, 0}, {0, 0}, {2500, 2500}, {99999, 10000}};
    for (const auto& [given, held] : cases) EXPECT_EQ(ClampFadeMs(given), held);
}

}  // namespace
}  // namespace sound
