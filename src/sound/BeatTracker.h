// The beats of a music file, found while the length pass decodes it: the
// decoded stereo samples are fed to aubio's beat tracker, which keeps the
// beats it is sure of and the tempo they keep.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace sound {

struct TrackBeats {
    // Beats a minute of the steady beats; 0 when the file has none (speech,
    // ambient sound, silence).
    double tempo = 0;
    // Each beat the tracker was sure of, in milliseconds from the file's
    // first decoded sample, ascending.
    std::vector<int32_t> beatsMs;
};

class BeatTracker {
public:
    explicit BeatTracker(int sampleRate);
    ~BeatTracker();
    BeatTracker(const BeatTracker&) = delete;
    BeatTracker& operator=(const BeatTracker&) = delete;

    // Interleaved stereo samples, in the order the file plays them.
    void Feed(const int16_t* stereo, int64_t frames);
    // What was found up to the last sample fed.
    TrackBeats Finish() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The tempo of a list of beats: the mean of the intervals that lie near
// their median, so a missed or doubled beat does not skew it; 0 for fewer
// than four beats.
double TempoOfBeats(const std::vector<int32_t>& beatsMs);

}  // namespace sound
