// The arithmetic of the show's sound track: how tracks join (gapless or
// crossfaded), how the show fades in and out, and the gain that brings a
// track to the common loudness. Pure functions over sample counts, shared by
// the build, the preview and the show timing so all three agree.
#pragma once

#include <cstdint>
#include <vector>

namespace sound {

// Fades and crossfades reach from 0 to this.
inline constexpr int32_t kMaxFadeMs = 10000;
// The fade-out a new show gets; shows stored without one keep a hard cut.
inline constexpr int32_t kNewShowFadeOutMs = 2000;
// The loudness every track is brought to when even loudness is on.
inline constexpr double kTargetLufs = -16.0;

struct MixOptions {
    int32_t fadeInMs = 0;     // at the start of the show
    int32_t fadeOutMs = 0;    // at the end of the show, when the music is cut there
    int32_t crossfadeMs = 0;  // between consecutive tracks; 0 joins them gaplessly
    bool evenLoudness = false;
    friend bool operator==(const MixOptions&, const MixOptions&) = default;
};

// A stored or typed fade length held to 0 .. kMaxFadeMs.
int32_t ClampFadeMs(int64_t milliseconds);

// Milliseconds as samples at 'sampleRate', rounded to the nearest.
int64_t MsToSamples(int64_t milliseconds, int sampleRate);

// How far a track overlaps the one before it: the crossfade, but never more
// than the earlier track lasts.
int64_t JoinOverlap(int64_t previousLength, int64_t crossfade);

// The music's length with every join overlapped by the crossfade, in the
// unit of the lengths given (negative lengths count as 0).
int64_t CrossfadedLength(const std::vector<int64_t>& lengths, int64_t crossfade);

// The incoming track's gain at step i of an n-step crossfade; the outgoing
// one takes CrossfadeOut. Equal power: the sum of two unrelated songs keeps
// its loudness through the join.
double CrossfadeIn(int64_t i, int64_t n);
double CrossfadeOut(int64_t i, int64_t n);

// The show's own gain at 'position': a straight ramp up over the first
// 'fadeIn' samples, and, when the music is cut at 'cutEnd' (>= 0), a straight
// ramp down over the 'fadeOut' samples before it and silence after it.
double ShowGain(int64_t position, int64_t fadeIn, int64_t cutEnd, int64_t fadeOut);

// The gain that brings a track of integrated loudness 'lufs' and sample
// peak 'peak' (full scale 1.0) to kTargetLufs, lowered so the peak stays at
// or under full scale. 1.0 for a track without a measurement (silence, or
// measured before loudness was kept).
double EvenLoudnessGain(double lufs, double peak);

}  // namespace sound
