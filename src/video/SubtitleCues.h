// The captions of a video as timed text: each caption from the frame it
// comes on screen to the frame the next one replaces it, for the MP4 file's
// subtitle track (mov_text) and for an SRT file beside a video, which video
// sites take as captions viewers can switch on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "video/FrameRates.h"

namespace video {

// A caption shown from frame 'start' up to, not including, frame 'end'.
struct SubtitleCue {
    int64_t start = 0;
    int64_t end = 0;
    std::string text;  // UTF-8; may hold line breaks

    friend bool operator==(const SubtitleCue&, const SubtitleCue&) = default;
};

// The cues of captions that start at 'starts' (in order, one per picture)
// and last until the next start, the last one to 'endFrame'; empty texts
// and cues that start at or after 'endFrame' are left out, the others end
// there at the latest.
std::vector<SubtitleCue> CuesOfCaptions(const std::vector<int64_t>& starts,
                                        const std::vector<std::string>& texts, int64_t endFrame);

// The cues as an SRT file (UTF-8, numbered from 1, "HH:MM:SS,mmm"), each
// time rounded to the millisecond nearest its frame at 'rate'.
std::string SrtText(const std::vector<SubtitleCue>& cues, FrameRate rate);

}  // namespace video
