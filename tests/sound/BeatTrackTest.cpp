// The beats the length pass finds, checked against click tracks made at test
// time whose every beat is known, in several formats and rates; and sound
// without a beat, which must give none rather than a guess.
#include <gtest/gtest.h>

#include <cmath>

#include "sound/MusicFormats.h"
#include "sound/SoundTestUtil.h"
#include "sound/TrackMeasure.h"

namespace sound {
namespace {

const test::EncodedFormat& FormatNamed(const std::string& label) {
    for (const test::EncodedFormat& format : test::EncodedFormats())
        if (format.label == label) return format;
    throw std::runtime_error("no format " + label);
}

TEST(BeatTrack, ClickTracksGiveTheirTempoAndEveryBeatWithin20Ms) {
    constexpr double kSeconds = 24;
    const struct {
        double bpm;
        const char* format;
    } cases[] = {{120, "flac"}, {100, "mp3"}, {90, "wav"}, {137, "opus"}};
    test::Scratch scratch;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bpm) + " bpm, " + c.format);
        const test::EncodedFormat& format = FormatNamed(c.format);
        const std::string path = scratch.file(std::string("clicks.") + format.extension);
        test::Encode(test::Clicks(c.bpm, format.sampleRate), kSeconds, format, path);
        const base::Result<TrackFacts> facts = MeasureTrack(path);
        ASSERT_TRUE(facts) << facts.message();
        const TrackBeats& beats = facts->beats;
        EXPECT_NEAR(beats.tempo, c.bpm, c.bpm * 0.01);
        const double periodMs = 60000.0 / c.bpm;
        // Every click, from the first (before the tracker has locked on) to
        // the last second.
        EXPECT_GE(beats.beatsMs.size(), static_cast<size_t>((kSeconds - 1) * 1000 / periodMs));
        ASSERT_FALSE(beats.beatsMs.empty());
        EXPECT_LT(beats.beatsMs.front(), periodMs);
        for (int32_t ms : beats.beatsMs) {
            const double click = std::round(ms / periodMs) * periodMs;
            EXPECT_LE(std::abs(ms - click), 20.0) << "beat at " << ms << " ms";
        }
    }
}

TEST(BeatTrack, SoundWithoutABeatHasNoTempoAndNoBeats) {
    const char* const sources[] = {
        "anoisesrc=c=pink:a=0.3",
        "aevalsrc='0.5*sin(2*PI*(200+100*sin(2*PI*0.37*t))*t)*(0.5+0.5*sin(2*PI*3.1*t))'"};
    test::Scratch scratch;
    for (const char* source : sources) {
        SCOPED_TRACE(source);
        const std::string path = scratch.file("speech.flac");
        test::Encode(source, 15, FormatNamed("flac"), path);
        const base::Result<TrackFacts> facts = MeasureTrack(path);
        ASSERT_TRUE(facts) << facts.message();
        EXPECT_EQ(facts->beats.tempo, 0);
        EXPECT_TRUE(facts->beats.beatsMs.empty());
    }
}

}  // namespace
}  // namespace sound
