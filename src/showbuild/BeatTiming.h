// Timing "on the beat": every picture change on the frame nearest a beat of
// the show's music, each picture on screen for a whole number of beats near
// its interval, never shorter than it takes to see it and read its caption,
// and the show ending with the music.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/MusicBeats.h"
#include "showbuild/ShowTiming.h"

namespace video {

// A picture is on screen at least this long, however fast the beat.
inline constexpr int64_t kShortestShownMs = 1500;
// Reading a caption takes this, and kReadingMsPerCharacter a character more.
inline constexpr int64_t kReadingBaseMs = 500;
inline constexpr int64_t kReadingMsPerCharacter = 60;

// How long a picture must stay on screen with 'caption' (UTF-8; empty for
// none): kShortestShownMs, or the caption's reading time when longer.
int64_t ShortestShownMs(const std::string& caption);

// A beat in the mixed music's time; a bar's first beat where the beat is
// steady (every fourth of its file, counted from the file's first).
struct ShowBeat {
    int64_t ms = 0;
    bool barStart = false;
    friend bool operator==(const ShowBeat&, const ShowBeat&) = default;
};

// The beats of a music list as the mixer plays it: each file from where it
// joins the one before it (overlapped by the crossfade, as the mixer does).
// Within a crossfade the outgoing file's beats count up to its middle, the
// incoming file's after it. A file without beats (not measured, no steady
// beat) leaves a stretch without any. Beats past a file's length are not
// played and are dropped.
std::vector<ShowBeat> MixedBeats(const std::vector<std::optional<model::StoredBeats>>& files,
                                 const std::vector<int64_t>& lengthsMs, int64_t crossfadeMs);

struct PictureNeeds {
    int32_t intervalSeconds = 0;
    int64_t shortestMs = kShortestShownMs;
};
using NeedsLookup = std::function<PictureNeeds(const std::string& path)>;

// Re-times the show on the beats over music of 'musicMs': pictures in list
// order, pass after pass, each change on the beat nearest the picture's
// interval (on a steady beat, a bar's first beat within two beats of it),
// every picture on screen at least its shortest time, the last one held to
// the frame covering the music's end. Where no beat lies within half an
// interval, the change keeps the interval and is counted as off the beat.
// Transitions last the whole number of beats nearest their set length when
// that is shorter than kShortestShownMs, else as set. Pictures that the
// music does not reach are dropped. Returns the changes off the beat.
int ApplyBeatSync(const std::vector<ShowBeat>& beats, int64_t musicMs, ShowTiming& timing,
                  std::vector<std::string>& pictures, const TimingRules& rules,
                  const NeedsLookup& needsOf);

}  // namespace video
