// How long the show runs: frames per picture, frames per transition, the
// show's and the music's length in seconds, and the synchronisation step
// that repeats the music or the pictures so one covers the other, or
// stretches the pictures' holds so that the show lasts as long as the music.
//
// The arithmetic is kept apart from the settings record so that the Options
// page, the build and the tests all compute the same numbers; the functions
// at the bottom bind it to a settings snapshot and the working store.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/Show.h"
#include "video/FrameRates.h"

namespace video {

// Only 1 selects the NTSC standard; every other value is PAL.
inline bool IsNtsc(int32_t tvSet) {
    return tvSet == 1;
}

// Frames of one transition for the transition speed 1 (fast) .. 5 (slow);
// any other speed counts as 3. The speeds are 10 to 100 frames at 25 per
// second, and keep their length in seconds at every rate (29.97: x 29.97 / 25,
// 50: twice as many, drawn at finer steps).
int32_t TransitionFrameCount(int32_t speed, FrameRate rate);

// Frames a picture is held for its interval in seconds. An interval below 0
// (hand-typed) counts as 0; the count is at least 1, so the transition's
// last frame is always shown.
int32_t ImageFrameCount(int32_t intervalSeconds, FrameRate rate);

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

// The frame at which each picture's cycle begins (its transition's first
// frame): what the build reports for the disc's chapters and what the MP4's
// chapters are placed at.
std::vector<int64_t> PictureStartFrames(const ShowTiming& timing);

struct TimingRules {
    int32_t EffectSpeed2 = 4;
    FrameRate rate = kPalRate;  // the video's
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

enum class MusicSyncMode : uint8_t {
    None = 0,
    FitToPictures = 1,
    FitToMusic = 2,
    StretchToMusic = 3,
    // Fitted to the music, with every picture change on a beat (BeatTiming).
    OnTheBeat = 4,
};

// The modes whose video ends when the music does (within a frame of it).
bool EndsWithMusic(uint8_t musicSync);

// The holds of a show scaled by one factor so that, each after a transition
// of 'transitionFrames', they last exactly 'targetFrames'. The factor's
// fractions of a frame are carried from picture to picture (cumulative
// rounding), so the total is exact and no hold is more than a frame from
// its exact share. A hold is never less than one frame, so every transition
// completes: a hold the factor would take below that stays at one frame and
// the rest share what is left. When the transitions and one frame each are
// already longer than the target, every hold is one frame: the shortest show
// that still shows each picture whole, longer than the target.
std::vector<int32_t> StretchedHolds(const std::vector<int32_t>& holds, int32_t transitionFrames,
                                    int64_t targetFrames);

// Lengthens one of the lists so that it covers the other. Lengths are
// compared to the frame, not in whole seconds: a song of 37.54 s is covered
// by at least 37.54 s of pictures, never by 37.0 s.
// - fit to pictures, music shorter than the show: the music list is played
//   k + 1 times, k = (show - music) div music + 1 (in milliseconds); when
//   crossfaded passes overlap by passJoinMs at each join, as many more as
//   still needed to cover the show;
// - fit to music, show shorter than the music: pictures are appended in list
//   order, pass after pass, stopping at the first picture that makes the
//   show at least as long as the music. The video itself ends when the
//   music does (see BuildSession), so this only has to cover it;
// - stretch to the music: the holds become StretchedHolds for the frames
//   covering the music, longer or shorter, no picture added or dropped.
// Any other case, no music length and no pictures change nothing.
// musicMs is not recomputed after the music list grows.
void ApplySync(uint8_t musicSync, int64_t musicMs, ShowTiming& timing,
               std::vector<std::string>& pictures, std::vector<std::string>& music,
               const TimingRules& rules, const IntervalLookup& intervalOf, int64_t passJoinMs = 0);

// The synchronisation a build applies: the stored mode, except that with
// the music switched off there is nothing to fit to or to lengthen.
uint8_t EffectiveSync(uint8_t musicSync, bool playMusic);

// --- bound to a show ---

// Rules from the record's EffectSpeed2 and the rate of its format (PAL's
// for a format there is not).
TimingRules RulesOf(const model::TslSettings& settings);

// The show's measured lengths of music files, 0 for one not measured.
std::vector<int64_t> StoredMusicLengths(const model::Show& show,
                                        const std::vector<std::string>& music);

struct ShowLengths {
    ShowTiming timing;
    // The music as the mixer joins it: every crossfade overlaps two tracks.
    int32_t MusicSeconds = 0;
    int64_t MusicMs = 0;  // the same length, unrounded
    // On the beat, the picture changes that found no beat near them.
    int OffBeatChanges = 0;
};
// Both lengths, as the Options page shows them and the build starts from:
// the show's pictures with their intervals, the measured lengths of its music.
ShowLengths ComputeLengths(const model::Show& show);
// ApplySync on the show's pictures and music, with the mode EffectiveSync
// gives for it; on the beat, ApplyBeatSync over the music's stored beats,
// each picture held long enough to read its caption when captions are shown.
void ApplySettingsSync(ShowLengths& lengths, model::Show& show);

}  // namespace video
