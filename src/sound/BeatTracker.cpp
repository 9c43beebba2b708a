#include "sound/BeatTracker.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <cmath>
#include <new>

namespace sound {
namespace {

// About 3 ms between onset frames: the tracker places beats on its own frame
// grid, and a coarser one (its default of 512 samples) leaves beats up to
// tens of milliseconds off clicks that are exact. Four hops a window.
constexpr double kHopSeconds = 0.003;
constexpr unsigned kWindowHops = 4;
// The tracker listens at about this rate: beats live in the low and middle
// frequencies, and its spectra cost far less than at the file's own rate.
constexpr int kTrackingRate = 11025;
// The tracker's confidence in its tempo below which its beats are guesses:
// steady music measures well above 1, noise, speech and held tones about 0.1.
constexpr double kSteadyConfidence = 0.5;

unsigned HopOf(int sampleRate) {
    // A power of two, for the tracker's FFT.
    unsigned hop = 16;
    while (hop * 2 <= kHopSeconds * sampleRate) hop *= 2;
    return hop;
}

}  // namespace

struct BeatTracker::State {
    int rate = 0;  // the tracker's: the file's over 'reduce'
    int reduce = 1;
    unsigned hop = 0;
    // The file's samples averaged into the one the tracker hears next.
    double sum = 0;
    int summed = 0;
    aubio_tempo_t* tempo = nullptr;
    fvec_t* in = nullptr;
    fvec_t* out = nullptr;
    unsigned filled = 0;
    uint_t lastBeat = 0;
    struct Beat {
        int32_t ms;
        bool sure;
    };
    std::vector<Beat> beats;

    ~State() {
        if (tempo) del_aubio_tempo(tempo);
        if (in) del_fvec(in);
        if (out) del_fvec(out);
    }
};

BeatTracker::BeatTracker(int sampleRate) : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.reduce = std::max(1, sampleRate / kTrackingRate);
    s.rate = std::max(1, sampleRate / s.reduce);
    s.hop = HopOf(s.rate);
    char method[] = "default";
    s.tempo = new_aubio_tempo(method, s.hop * kWindowHops, s.hop, static_cast<uint_t>(s.rate));
    s.in = new_fvec(s.hop);
    s.out = new_fvec(2);
    if (!s.tempo || !s.in || !s.out) throw std::bad_alloc();
}

BeatTracker::~BeatTracker() = default;

void BeatTracker::Feed(const int16_t* stereo, int64_t frames) {
    State& s = *state_;
    const double scale = 1.0 / (65536.0 * s.reduce);
    for (int64_t i = 0; i < frames; ++i) {
        s.sum += stereo[2 * i] + stereo[2 * i + 1];
        if (++s.summed < s.reduce) continue;
        s.in->data[s.filled++] = static_cast<smpl_t>(s.sum * scale);
        s.sum = 0;
        s.summed = 0;
        if (s.filled < s.hop) continue;
        s.filled = 0;
        aubio_tempo_do(s.tempo, s.in, s.out);
        // A beat is where the tracker's last beat moves: its own flag is the
        // beat's fraction of a hop, and so reads 0 for a beat right on a hop.
        const uint_t last = aubio_tempo_get_last(s.tempo);
        if (last == s.lastBeat) continue;
        s.lastBeat = last;
        const auto ms = static_cast<int32_t>(std::lround(aubio_tempo_get_last_ms(s.tempo)));
        const bool sure = aubio_tempo_get_confidence(s.tempo) >= kSteadyConfidence;
        if (s.beats.empty() || ms > s.beats.back().ms) s.beats.push_back({ms, sure});
    }
}

TrackBeats BeatTracker::Finish() const {
    const std::vector<State::Beat>& raw = state_->beats;
    // The tracker's confidence grows over its first seconds of a steady
    // beat: the beats before it is sure count where they keep the period of
    // the sure ones that follow them.
    std::vector<bool> kept(raw.size(), false);
    for (size_t i = raw.size(); i-- > 0;) {
        kept[i] = raw[i].sure;
        if (kept[i] || i + 2 >= raw.size() || !kept[i + 1] || !kept[i + 2]) continue;
        const double period = raw[i + 2].ms - raw[i + 1].ms;
        kept[i] = std::abs(raw[i + 1].ms - raw[i].ms - period) <= 0.1 * period;
    }
    TrackBeats beats;
    for (size_t i = 0; i < raw.size(); ++i)
        if (kept[i]) beats.beatsMs.push_back(raw[i].ms);
    beats.tempo = TempoOfBeats(beats.beatsMs);
    if (beats.tempo <= 0) {
        beats.beatsMs.clear();
        return beats;
    }
    // Before its first beat the tracker was still listening: a beat that
    // holds from there held from the start.
    if (!raw.empty() && kept.front()) {
        const double period = 60000.0 / beats.tempo;
        std::vector<int32_t> before;
        for (double ms = beats.beatsMs.front() - period; ms >= 0; ms -= period)
            before.insert(before.begin(), static_cast<int32_t>(std::lround(ms)));
        beats.beatsMs.insert(beats.beatsMs.begin(), before.begin(), before.end());
    }
    return beats;
}

double TempoOfBeats(const std::vector<int32_t>& beatsMs) {
    if (beatsMs.size() < 4) return 0;
    std::vector<int32_t> gaps;
    for (size_t i = 1; i < beatsMs.size(); ++i) gaps.push_back(beatsMs[i] - beatsMs[i - 1]);
    std::vector<int32_t> sorted = gaps;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    const double median = sorted[sorted.size() / 2];
    double sum = 0;
    int count = 0;
    for (int32_t gap : gaps)
        if (std::abs(gap - median) <= 0.15 * median) {
            sum += gap;
            ++count;
        }
    return count > 0 && sum > 0 ? 60000.0 * count / sum : 0;
}

}  // namespace sound
