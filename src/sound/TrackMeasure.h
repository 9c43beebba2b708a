// What the length pass learns of a music file by decoding it whole: its
// length, exact to the sample (encoder delay and padding left out as the
// show plays it), its integrated loudness (EBU R128) and sample peak for
// even loudness, and its beats for a show that changes pictures on them.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

#include "base/Result.h"
#include "sound/BeatTracker.h"

namespace sound {

struct TrackFacts {
    int64_t samples = 0;  // at the file's own rate
    int sampleRate = 0;
    int32_t lengthMs = 0;  // rounded to the nearest millisecond
    double lufs = NAN;     // NaN when the track is silent
    double peak = 0.0;     // of the stereo samples, full scale 1.0
    TrackBeats beats;
};

// Refuses a file whose name is not one of the music formats, one that does
// not open, and one without a single sample, naming why. 'cancelled', asked
// between pieces, ends a long file early with a fault.
[[nodiscard]] base::Result<TrackFacts> MeasureTrack(const std::string& path,
                                                    const std::function<bool()>& cancelled = {});

}  // namespace sound
