// Real files of every format, encoded at test time: their measured lengths,
// gapless joins of a tone cut in two, even loudness across very different
// levels, and files that are not music.
#include <gtest/gtest.h>

#include <ebur128.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string_view>
#include <vector>

#include "sound/FileTrack.h"
#include "sound/MusicFormats.h"
#include "sound/MusicMixer.h"
#include "sound/SoundTestUtil.h"
#include "sound/TrackMeasure.h"

namespace sound {
namespace {

using test::EncodedFormat;
using test::EncodedFormats;

// Plays the files one after another through the mixer, as the build does,
// into 'total' stereo samples at 'rate', as floats of full scale 1.
std::vector<float> Mix(const std::vector<std::string>& files, int rate, const MixOptions& options,
                       int64_t total, std::function<double(const std::string&)> gainOf = {}) {
    MusicMixer::Hooks hooks = FileListHooks(files, rate, 2);
    hooks.gainOf = std::move(gainOf);
    hooks.reportError = [](const std::string& message) {
        ADD_FAILURE() << message;
        return true;
    };
    MusicMixer mixer(rate, 2, options, -1, hooks);
    EXPECT_TRUE(mixer.FillTo(total));
    std::vector<int16_t> samples(static_cast<size_t>(total) * 2);
    mixer.Take(samples.data(), static_cast<int>(total));
    return std::vector<float>(samples.begin(), samples.end());
}

// Each format's two files: halves of one tone, 0.55 s each, a length that
// no codec's frames divide evenly, so delay and padding both show.
TEST(TrackFileTest, EveryFormatMeasuresExactlyAndJoinsWithoutGapOrStep) {
    test::Scratch scratch;
    constexpr double kAmplitude = 0.5, kFrequency = 441, kHalfSeconds = 0.55;
    for (const EncodedFormat& format : EncodedFormats()) {
        SCOPED_TRACE(format.label);
        const int rate = format.sampleRate;
        const int half = static_cast<int>(std::lround(kHalfSeconds * rate));
        const std::string tone = test::Tone(static_cast<int>(kFrequency), kAmplitude, rate);
        const std::string first =
            scratch.file(std::string("1") + format.label + "." + format.extension);
        const std::string second =
            scratch.file(std::string("2") + format.label + "." + format.extension);
        test::Encode(tone, kHalfSeconds, format, first);
        test::Encode(tone + ",atrim=start_sample=" + std::to_string(half) + ",asetpts=PTS-STARTPTS",
                     kHalfSeconds, format, second);

        const base::Result<TrackFacts> facts = MeasureTrack(first);
        ASSERT_TRUE(facts) << facts.message();
        EXPECT_NEAR(facts->lengthMs, std::lround(1000.0 * half / rate), 1);
        EXPECT_EQ(facts->samples, half);
        EXPECT_EQ(facts->sampleRate, rate);
        EXPECT_NEAR(facts->peak, kAmplitude, 0.05);

        // Around the join the track is the tone itself, in phase: a gap, a
        // click or a shift by encoder delay would show as a large error.
        const std::vector<float> out = Mix({first, second}, rate, MixOptions{}, 2 * half);
        double errorSquares = 0, toneSquares = 0;
        for (int64_t i = half - rate / 20; i < half + rate / 20; ++i) {
            const double expected =
                kAmplitude * 32768 * std::sin(2 * std::numbers::pi * kFrequency * i / rate);
            const double got = out[static_cast<size_t>(i) * 2];
            errorSquares += (got - expected) * (got - expected);
            toneSquares += expected * expected;
        }
        EXPECT_LT(10 * std::log10(errorSquares / toneSquares), -20.0);
    }
}

double Loudness(const std::vector<float>& stereo, int rate, int64_t from, int64_t to) {
    ebur128_state* state = ebur128_init(2, static_cast<unsigned long>(rate), EBUR128_MODE_I);
    std::vector<float> part(stereo.begin() + from * 2, stereo.begin() + to * 2);
    for (float& sample : part) sample /= 32768.0f;
    ebur128_add_frames_float(state, part.data(), static_cast<size_t>(to - from));
    double lufs = 0;
    ebur128_loudness_global(state, &lufs);
    ebur128_destroy(&state);
    return lufs;
}

TEST(TrackFileTest, EvenLoudnessBringsQuietAndLoudTogether) {
    test::Scratch scratch;
    const EncodedFormat& flac = EncodedFormats()[1];
    const int rate = flac.sampleRate;
    // White noise of these amplitudes measures close to -30 and -10 LUFS.
    const struct {
        const char* name;
        double amplitude;
        double lufs;
    } tracks[] = {{"quiet.flac", 0.0384, -30.0}, {"loud.flac", 0.384, -10.0}};
    std::vector<std::string> files;
    std::map<std::string, double> gains;
    for (const auto& track : tracks) {
        const std::string path = scratch.file(track.name);
        test::Encode("anoisesrc=c=white:seed=7:a=" + std::to_string(track.amplitude) +
                         ":r=" + std::to_string(rate) + ",aformat=channel_layouts=stereo",
                     1.5, flac, path);
        const base::Result<TrackFacts> facts = MeasureTrack(path);
        ASSERT_TRUE(facts) << facts.message();
        EXPECT_NEAR(facts->lufs, track.lufs, 1.0);
        gains[path] = EvenLoudnessGain(facts->lufs, facts->peak);
        files.push_back(path);
    }
    for (const bool even : {false, true}) {
        const std::vector<float> out = Mix(files, rate, MixOptions{.evenLoudness = even}, 3 * rate,
                                           [&](const std::string& path) { return gains.at(path); });
        const double difference =
            Loudness(out, rate, 0, 3 * rate / 2) - Loudness(out, rate, 3 * rate / 2, 3 * rate);
        if (even)
            EXPECT_LT(std::abs(difference), 1.0);
        else
            EXPECT_NEAR(difference, -20.0, 1.0);
    }
}

// What FFmpeg writes to stderr while the block runs.
class StderrCapture {
public:
    StderrCapture() : file_(std::tmpfile()), saved_(dup(2)) {
        std::fflush(stderr);
        dup2(fileno(file_), 2);
    }
    ~StderrCapture() { std::fclose(file_); }
    std::string Take() {
        std::fflush(stderr);
        dup2(saved_, 2);
        close(saved_);
        std::string text;
        std::rewind(file_);
        for (int c; (c = std::fgetc(file_)) != EOF;) text += static_cast<char>(c);
        return text;
    }

private:
    FILE* file_;
    int saved_;
};

// Refused files are named with the reason, FFmpeg's own where it gives one,
// and neither they nor a good MP3 file (whose decoder notes timestamps it
// cannot update) put FFmpeg's lines on stderr.
TEST(TrackFileTest, WhatIsNotMusicIsRefusedWithTheReasonAndFfmpegKeepsQuiet) {
    test::Scratch scratch;
    const std::string mp3 = scratch.file("good.mp3");
    test::Encode(test::Tone(440, 0.5, 44100), 0.3, EncodedFormats()[0], mp3);
    const struct {
        const char* name;
        std::string_view content;
        const char* reason;
    } cases[] = {
        {"text.flac", "just some words, no sound at all\n", "no audio"},
        {"empty.wav", "", "Invalid data"},
        {"song.wma", "whatever", "not one the show takes"},
        {"cut.m4a",
         std::string_view("\0\0\0\x14"
                          "ftypM4A \0\0\0\0M4A ",
                          20),
         "moov atom not found"},
    };
    StderrCapture capture;
    EXPECT_TRUE(MeasureTrack(mp3));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = scratch.file(c.name);
        std::ofstream(path, std::ios::binary) << c.content;
        const base::Result<TrackFacts> facts = MeasureTrack(path);
        ASSERT_FALSE(facts);
        EXPECT_NE(facts.message().find(c.reason), std::string::npos) << facts.message();
    }
    EXPECT_EQ(capture.Take(), "");
}

TEST(MusicFormatsTest, TakesTheFormatsByExtensionInAnyCase) {
    const std::pair<const char*, bool> cases[] = {
        {"a.mp3", true},      {"b.FLAC", true}, {"c.ogg", true},  {"d.Opus", true},
        {"e.wav", true},      {"f.m4a", true},  {"g.wma", false}, {"h.mp3.txt", false},
        {"dir.mp3/x", false}, {"noext", false},
    };
    for (const auto& [name, taken] : cases) EXPECT_EQ(IsMusicFileName(name), taken) << name;
    EXPECT_EQ(MusicFormatOf("x.MP3")->decoder, MusicDecoder::MpegLibrary);
    EXPECT_EQ(MusicFormatOf("x.m4a")->decoder, MusicDecoder::Ffmpeg);
}

}  // namespace
}  // namespace sound
