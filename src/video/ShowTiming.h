// How long the show runs: frames per picture, frames per transition, the
// show's and the music's length in seconds, and the synchronisation step
// that repeats the music or the pictures so one covers the other.
//
// The arithmetic is kept apart from the settings record so that the Options
// page, the build and the tests all compute the same numbers; the functions
// at the bottom bind it to the working store.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace video {

// Only 1 selects NTSC timing; every other value times as PAL.
inline bool IsNtsc(int32_t tvSet) {
    return tvSet == 1;
}

// Frames of one transition for the transition speed 1 (fast) .. 5 (slow);
// any other speed counts as 3. NTSC takes the PAL count x 29.97 / 25.
int32_t TransitionFrameCount(int32_t speed, int32_t tvSet);

// Frames a picture is held for its interval in seconds. An interval below 0
// (hand-typed) counts as 0; the count is at least 1, so the transition's
// last frame is always shown.
int32_t ImageFrameCount(int32_t intervalSeconds, int32_t tvSet);

struct ShowTiming {
    std::vector<int32_t> ImageFrames;  // hold frames per picture
    int64_t ImageFramesSum = 0;
    int32_t TransitionFrames = 0;
    int32_t ShowSeconds = 0;

    // Every picture's transition plus its hold.
    int64_t TotalFrames() const {
        return static_cast<int64_t>(ImageFrames.size()) * TransitionFrames + ImageFramesSum;
    }
};

// Whole seconds of 'frames' at the standard's rate, cut toward zero.
int32_t SecondsOfFrames(int64_t frames, int32_t tvSet);

struct TimingRules {
    int32_t EffectSpeed2 = 4;
    int32_t TVSet = 0;
};

// The interval of a picture, in seconds (the per-picture lookup).
using IntervalLookup = std::function<int32_t(const std::string& path)>;

ShowTiming ComputeShowTiming(const std::vector<std::string>& pictures, const TimingRules& rules,
                             const IntervalLookup& intervalOf);

// Appends one picture to a timing as a new ComputeShowTiming would count it.
void AppendPictureTiming(ShowTiming& timing, int32_t intervalSeconds, const TimingRules& rules);

// Total music length in whole seconds: the lengths in milliseconds are summed
// first and divided once.
int32_t ComputeMusicLength(const std::vector<int64_t>& lengthsMs);

enum class MusicSyncMode : uint8_t { None = 0, FitToPictures = 1, FitToMusic = 2 };

// Lengthens one of the lists so that it covers the other:
// - fit to pictures, music shorter than the show: the music list is played
//   k + 1 times, k = (show - music) div music + 1;
// - fit to music, show shorter than the music: pictures are appended in list
//   order, at most k passes (k = (music - show) div show + 1), stopping at
//   the first picture that makes the show at least as long as the music.
// Any other case, and a length of 0 to divide by, changes nothing.
// musicSeconds is not recomputed after the music list grows.
void ApplySync(uint8_t musicSync, int32_t musicSeconds, ShowTiming& timing,
               std::vector<std::string>& pictures, std::vector<std::string>& music,
               const TimingRules& rules, const IntervalLookup& intervalOf);

// --- bound to the settings record and the working store ---

// Rules from Settings.EffectSpeed2 and Settings.TVSet.
TimingRules SettingsTimingRules();
// ComputeShowTiming over Settings.Pictures with the per-picture intervals.
ShowTiming ComputeSettingsShowTiming();
// Sum of the "Mp3Length" values of Settings.Music, in whole seconds.
int32_t ComputeSettingsMusicLength();

struct ShowLengths {
    ShowTiming timing;
    int32_t MusicSeconds = 0;
};
// Both lengths, as the Options page shows them and the build starts from.
ShowLengths ComputeLengths();
// ApplySync on Settings.Pictures and Settings.Music.
void ApplySettingsSync(ShowLengths& lengths);

}  // namespace video
