// The frame rates a video is made at: each one exact rational rate, the
// choices a show offers (numbered as the settings record and the encoder's
// MclSetVideoOptions take them), and the conversions between frames and time
// that the timing, the sound track, the chapters and the players share.
//
// Intervals and transition lengths are counted at the rate as it is named,
// to the hundredth (29.97 for 30000/1001), as they always have been, so that
// a show keeps its frame counts; lengths compared with music use the exact
// rate, so sound and picture never drift apart.
#pragma once

#include <cstdint>
#include <optional>

namespace video {

struct FrameRate {
    int num = 25;  // frames per 'den' seconds
    int den = 1;

    double perSecond() const { return static_cast<double>(num) / den; }
    // The rate to the hundredth as its name gives it: 2500, 2997, 5994.
    int64_t hundredths() const;

    // Frames shown for a whole number of seconds at the named rate, cut
    // toward zero; 0 for a negative number.
    int64_t FramesOfSeconds(int64_t seconds) const;
    // 'frames25' frames at 25 per second, kept at their length in seconds
    // (cut toward zero): the transitions are given as such counts.
    int64_t FramesLike25(int64_t frames25) const;
    // Whole seconds of 'frames' at the named rate, cut toward zero.
    int64_t SecondsOfFrames(int64_t frames) const;
    // The fewest frames at the exact rate lasting at least 'milliseconds'.
    int64_t FramesCovering(int64_t milliseconds) const;
    // The frame shown at 'milliseconds' or starting nearest after it: the
    // frame whose start is nearest, at the exact rate.
    int64_t FrameNearest(int64_t milliseconds) const;
    // How long 'frames' last at the exact rate, in milliseconds, rounded up.
    int64_t MillisecondsOfFrames(int64_t frames) const;

    friend bool operator==(const FrameRate&, const FrameRate&) = default;
};

inline constexpr FrameRate kPalRate{25, 1};
inline constexpr FrameRate kNtscRate{30000, 1001};

// The rate choices. OfStandard, the default, is the television standard's
// rate (25 for PAL, 30000/1001 for NTSC), which the disc formats always use.
enum class RateChoice : uint8_t {
    OfStandard = 0,
    Fps24 = 1,
    Fps25 = 2,
    Fps30 = 3,
    Fps50 = 4,
    Fps60 = 5,
    Fps30Ntsc = 6,  // 30000/1001
    Fps60Ntsc = 7,  // 60000/1001
};

// The rate of a choice under a standard (0 PAL, 1 NTSC); nullopt for a
// choice or standard there is not.
std::optional<FrameRate> RateOfChoice(int choice, int standard);

}  // namespace video
