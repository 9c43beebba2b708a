// The sound track of written videos, decoded back: music of every format
// played one file after another without a silent join, and the fades where
// they were set, to the frame.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "sound/SoundTestUtil.h"
#include "video/EncoderTestUtil.h"

namespace video::test {
namespace {

constexpr int kRate = 44100;
constexpr double kFrameSeconds = 1.0 / 25;

// The longest run of samples quieter than 'threshold' between 'from' and
// 'to' seconds, in seconds.
double LongestSilence(const std::vector<int16_t>& samples, double from, double to, int threshold) {
    int64_t run = 0, longest = 0;
    for (auto i = static_cast<int64_t>(from * kRate); i < static_cast<int64_t>(to * kRate); ++i) {
        run = std::abs(samples.at(static_cast<size_t>(i))) < threshold ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return static_cast<double>(longest) / kRate;
}

TEST(SoundTrackTest, MusicOfEveryFormatPlaysWithoutASilentJoin) {
    ScratchDir dir;
    ConversionSpec spec;
    double musicSeconds = 0;
    constexpr double kSeconds = 0.4;
    for (const sound::test::EncodedFormat& format : sound::test::EncodedFormats()) {
        const std::string path = dir.file(std::string(format.label) + "." + format.extension);
        sound::test::Encode(sound::test::Tone(440, 0.5, format.sampleRate), kSeconds, format, path);
        spec.music.push_back(path);
        musicSeconds += kSeconds;
    }
    spec.output = dir.file("formats.mpg");
    spec.frames = static_cast<int>(musicSeconds / kFrameSeconds) + 10;
    const ConversionLog log = RunConversion(spec);
    ASSERT_TRUE(log.result);
    EXPECT_TRUE(log.errors.empty()) << log.errors.front().second;
    const std::vector<int16_t> track = DecodeAudio(spec.output, kRate);
    EXPECT_LT(LongestSilence(track, 0.02, musicSeconds - 0.02, 500), 0.05);
    EXPECT_NEAR(LastSoundTime(track, kRate), musicSeconds, 0.03);
}

// The amplitude of 'frequency' in the 20 ms around 'seconds' (Hann window),
// full scale 1.
double ToneAmplitude(const std::vector<int16_t>& samples, double seconds, double frequency) {
    constexpr int kWindow = kRate / 50;
    const auto start = static_cast<int64_t>(seconds * kRate) - kWindow / 2;
    double re = 0, im = 0, weights = 0;
    for (int i = 0; i < kWindow; ++i) {
        const int64_t at = start + i;
        if (at < 0 || at >= static_cast<int64_t>(samples.size())) continue;
        const double hann = 0.5 - 0.5 * std::cos(2 * M_PI * i / (kWindow - 1));
        const double phase = 2 * M_PI * frequency * at / kRate;
        re += hann * samples[static_cast<size_t>(at)] / 32768.0 * std::cos(phase);
        im += hann * samples[static_cast<size_t>(at)] / 32768.0 * std::sin(phase);
        weights += hann;
    }
    return 2 * std::hypot(re, im) / weights;
}

// The first and the last time, in 5 ms steps between 'from' and 'to', that
// 'frequency' sounds at more than 'fraction' of 'full'.
std::pair<double, double> Heard(const std::vector<int16_t>& samples, double frequency, double full,
                                double fraction, double from, double to) {
    std::pair<double, double> span{-1, -1};
    for (double t = from; t < to; t += 0.005) {
        if (ToneAmplitude(samples, t, frequency) <= fraction * full) continue;
        if (span.first < 0) span.first = t;
        span.second = t;
    }
    return span;
}

TEST(SoundTrackTest, FadesAndCrossfadesLastTheirSetTimesToTheFrame) {
    ScratchDir dir;
    const sound::test::EncodedFormat& flac = sound::test::EncodedFormats()[1];
    const std::string low = dir.file("low.flac"), high = dir.file("high.flac");
    sound::test::Encode(sound::test::Tone(1000, 0.5, kRate), 3.0, flac, low);
    sound::test::Encode(sound::test::Tone(1500, 0.5, kRate), 3.0, flac, high);
    struct Case {
        int32_t fadeInMs, fadeOutMs, crossfadeMs;
        double cutSeconds;  // where the video ends and cuts the music
    };
    const Case cases[] = {
        {1000, 600, 0, 4.0},
        {0, 0, 1500, 4.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.crossfadeMs);
        ConversionSpec spec;
        spec.output = dir.file("fades.mpg");
        spec.music = {low, high};
        spec.frames = static_cast<int>(std::lround(c.cutSeconds / kFrameSeconds));
        spec.mix.options = {
            .fadeInMs = c.fadeInMs, .fadeOutMs = c.fadeOutMs, .crossfadeMs = c.crossfadeMs};
        spec.mix.cutEndMs = static_cast<int64_t>(c.cutSeconds * 1000);
        ASSERT_TRUE(RunConversion(spec).result);
        const std::vector<int16_t> track = DecodeAudio(spec.output, kRate);
        // Full level: what each tone has where nothing fades.
        const double lowFull = ToneAmplitude(track, 1.2, 1000);
        const double highFull = ToneAmplitude(track, c.cutSeconds - 0.8, 1500);
        ASSERT_GT(lowFull, 0.4);
        ASSERT_GT(highFull, 0.4);

        const auto lowAt = [&](double t) { return ToneAmplitude(track, t, 1000) / lowFull; };
        const auto highAt = [&](double t) { return ToneAmplitude(track, t, 1500) / highFull; };
        // The fade-in ends at its set time, and the fade-out starts at its set
        // time before the cut.
        EXPECT_NEAR(lowAt(std::max(c.fadeInMs / 1000.0, 0.05)), 1.0, 0.04);
        if (c.fadeInMs > 0) {
            EXPECT_NEAR(lowAt(c.fadeInMs / 2000.0), 0.5, 0.04);
        }
        EXPECT_NEAR(highAt(c.cutSeconds - c.fadeOutMs / 1000.0 - 0.02), 1.0, 0.04);
        if (c.fadeOutMs > 0) {
            EXPECT_NEAR(highAt(c.cutSeconds - c.fadeOutMs / 2000.0), 0.5, 0.04);
        }

        // Both tones sound together exactly over the crossfade. The search
        // keeps clear of the hard start and cut, which sound at every
        // frequency.
        const auto [lowFrom, lowUntil] =
            Heard(track, 1000, lowFull, 0.005, 0.1, c.cutSeconds - 0.1);
        const auto [highFrom, highUntil] =
            Heard(track, 1500, highFull, 0.005, 0.1, c.cutSeconds - 0.1);
        EXPECT_NEAR(std::max(0.0, lowUntil - highFrom), c.crossfadeMs / 1000.0, kFrameSeconds);
        EXPECT_NEAR(highFrom, 3.0 - c.crossfadeMs / 1000.0, kFrameSeconds);
    }
}

}  // namespace
}  // namespace video::test
