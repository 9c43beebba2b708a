#include "sound/TrackMeasure.h"

#include <ebur128.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "base/FfmpegUtil.h"
#include "sound/AudioDecoder.h"
#include "sound/MusicFormats.h"

namespace sound {
namespace {

struct LoudnessStateFree {
    void operator()(ebur128_state* state) const { ebur128_destroy(&state); }
};
using LoudnessState = std::unique_ptr<ebur128_state, LoudnessStateFree>;

// Measured as the show plays it: in stereo, so a mono file counts at the
// loudness it has once spread over both speakers.
constexpr int kChannels = 2;

}  // namespace

base::Result<TrackFacts> MeasureTrack(const std::string& path,
                                      const std::function<bool()>& cancelled) {
    if (!IsMusicFileName(path))
        return base::MakeFault("its format is not one the show takes (" + MusicFormatNames() + ")",
                               base::FaultKind::Refused);
    base::Result<std::unique_ptr<AudioDecoder>> opened = AudioDecoder::Open(path, 0, kChannels);
    if (!opened) return opened.fault();
    const std::unique_ptr<AudioDecoder> decoder = std::move(opened).value();
    const int rate = decoder->sampleRate();
    const base::AudioFifoPtr fifo(av_audio_fifo_alloc(AV_SAMPLE_FMT_S16, kChannels, rate));
    LoudnessState loudness(
        ebur128_init(kChannels, static_cast<unsigned long>(rate), EBUR128_MODE_I));
    if (!fifo || !loudness) throw std::bad_alloc();
    BeatTracker beats(rate);

    TrackFacts facts;
    facts.sampleRate = rate;
    int peak = 0;
    std::vector<int16_t> piece;
    for (bool more = true; more;) {
        if (cancelled && cancelled()) return base::MakeFault("measuring was cancelled");
        more = decoder->decodeInto(fifo.get());
        const int count = av_audio_fifo_size(fifo.get());
        if (count <= 0) continue;
        piece.resize(static_cast<size_t>(count) * kChannels);
        void* planes[1] = {piece.data()};
        av_audio_fifo_read(fifo.get(), planes, count);
        for (int16_t sample : piece) peak = std::max(peak, std::abs(int{sample}));
        if (ebur128_add_frames_short(loudness.get(), piece.data(), static_cast<size_t>(count)) !=
            EBUR128_SUCCESS)
            throw std::bad_alloc();
        beats.Feed(piece.data(), count);
    }
    facts.samples = decoder->samplesDecoded();
    if (facts.samples == 0)
        return base::MakeFault("it holds no playable audio", base::FaultKind::BadData);
    facts.lengthMs = static_cast<int32_t>(
        std::min<int64_t>((facts.samples * 1000 + rate / 2) / rate, INT32_MAX));
    facts.peak = peak / 32768.0;
    facts.beats = beats.Finish();
    double lufs = 0.0;
    if (ebur128_loudness_global(loudness.get(), &lufs) == EBUR128_SUCCESS && std::isfinite(lufs))
        facts.lufs = lufs;
    return facts;
}

}  // namespace sound
