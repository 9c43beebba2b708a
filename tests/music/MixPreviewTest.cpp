// The preview's sound as it leaves for the card: MixPlayer played through
// SDL's disk driver, which writes the stream it is given to a file, against
// the mixer's own output for the build. A program of its own, since SDL
// picks its driver once per process.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "music/MixPlayer.h"
#include "sound/FileTrack.h"
#include "sound/MusicMixer.h"
#include "sound/SoundTestUtil.h"

namespace music {
namespace {

// The rate and channels MixPlayer opens the card with.
constexpr int kRate = 44100, kChannels = 2;

std::vector<int16_t> BuildMix(const std::vector<std::string>& files, const ShowMix& mix) {
    sound::MusicMixer::Hooks hooks = sound::FileListHooks(files, kRate, kChannels);
    hooks.reportError = [](const std::string& message) {
        ADD_FAILURE() << message;
        return true;
    };
    const int64_t cutEnd = sound::MsToSamples(mix.cutEndMs, kRate);
    sound::MusicMixer mixer(kRate, kChannels, mix.options, cutEnd, hooks);
    EXPECT_TRUE(mixer.FillTo(cutEnd));
    std::vector<int16_t> samples(static_cast<size_t>(cutEnd) * kChannels);
    mixer.Take(samples.data(), static_cast<int>(cutEnd));
    return samples;
}

size_t FirstSound(const std::vector<int16_t>& samples) {
    size_t i = 0;
    while (i < samples.size() && samples[i] == 0) ++i;
    return i / kChannels * kChannels;
}

// Two tones of different pitch: a fade-in, a crossfade between them, and the
// second cut by the show with a fade-out. Played from the start, and from a
// seek into the crossfade, where the card must get the rest of the same mix.
TEST(MixPreview, TheCardGetsTheSamplesTheVideoGetsFromWhereverPlayStarts) {
    sound::test::Scratch scratch;
    setenv("SDL_AUDIODRIVER", "disk", 1);
    const sound::test::EncodedFormat& flac = sound::test::EncodedFormats()[1];
    std::vector<std::string> files;
    for (const int frequency : {440, 660}) {
        files.push_back(scratch.file(std::to_string(frequency) + ".flac"));
        sound::test::Encode(sound::test::Tone(frequency, 0.5, kRate), 0.6, flac, files.back());
    }
    const ShowMix mix{
        sound::MixOptions{.fadeInMs = 100, .fadeOutMs = 200, .crossfadeMs = 200}, 900, {}};
    const std::vector<int16_t> track = BuildMix(files, mix);

    for (const int64_t startMs : {0, 450}) {
        SCOPED_TRACE("from " + std::to_string(startMs) + " ms");
        const std::string written = scratch.file("card" + std::to_string(startMs) + ".raw");
        setenv("SDL_DISKAUDIOFILE", written.c_str(), 1);
        const std::vector<int16_t> expected(
            track.begin() + sound::MsToSamples(startMs, kRate) * kChannels, track.end());
        {
            MixPlayer player(files, mix, startMs);
            EXPECT_EQ(player.PlayedMs(), startMs);
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (player.Playing() && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            ASSERT_FALSE(player.Playing());
            // Played out: the clock stands at the cut.
            EXPECT_EQ(player.PlayedMs(),
                      startMs + static_cast<int64_t>(expected.size()) / kChannels * 1000 / kRate);
        }
        std::ifstream in(written, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::vector<int16_t> card(bytes.size() / sizeof(int16_t));
        std::memcpy(card.data(), bytes.data(), card.size() * sizeof(int16_t));

        // The card may start with silence of its own before the first piece.
        const size_t lead = FirstSound(card), expectedLead = FirstSound(expected);
        ASSERT_GE(lead, expectedLead);
        const size_t offset = lead - expectedLead;
        ASSERT_GE(card.size(), offset + expected.size());
        size_t differing = 0;
        for (size_t i = 0; i < expected.size(); ++i) differing += card[offset + i] != expected[i];
        EXPECT_EQ(differing, 0u) << "of " << expected.size();
        // After the cut the card hears nothing more.
        for (size_t i = offset + expected.size(); i < card.size(); ++i) ASSERT_EQ(card[i], 0) << i;
    }
}

}  // namespace
}  // namespace music
