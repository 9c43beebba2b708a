#include "sound/MusicMixer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace sound {
namespace {

// A source that keeps handing out files without a single playable sample
// would otherwise keep the track asking forever.
constexpr int kMaxFilesWithoutSound = 10000;

// Consumed samples are dropped from the front once they are this many.
constexpr int64_t kCompactAfter = 1 << 16;

}  // namespace

MusicMixer::MusicMixer(int sampleRate, int channels, const MixOptions& options, int64_t cutEnd,
                       Hooks hooks)
    : channels_(channels),
      crossfade_(MsToSamples(ClampFadeMs(options.crossfadeMs), sampleRate)),
      fadeIn_(MsToSamples(ClampFadeMs(options.fadeInMs), sampleRate)),
      fadeOut_(MsToSamples(ClampFadeMs(options.fadeOutMs), sampleRate)),
      cutEnd_(cutEnd),
      hooks_(std::move(hooks)) {
    if (!options.evenLoudness) hooks_.gainOf = nullptr;
}

float& MusicMixer::at(int64_t position, int channel) {
    const size_t index = static_cast<size_t>(position - bufferStart_) * channels_ + channel;
    if (index >= buffer_.size()) buffer_.resize((index / channels_ + 1) * channels_, 0.0f);
    return buffer_[index];
}

int64_t MusicMixer::finalEnd() const {
    if (musicEnded_) return INT64_MAX;
    // A playing track may still be overlapped by the next one over its last
    // crossfade's worth; an ended one up to where the next one comes in.
    if (reader_) return trackStart_ + trackRead_ - crossfade_;
    return lastEnd_ - overlap_;
}

int64_t MusicMixer::MixedEnd() const {
    if (!musicEnded_) return INT64_MAX;
    return bufferStart_ + static_cast<int64_t>(buffer_.size()) / channels_;
}

void MusicMixer::fadeOutgoingTail() {
    for (int64_t i = 0; i < overlap_; ++i) {
        const auto gain = static_cast<float>(CrossfadeOut(i, overlap_));
        for (int c = 0; c < channels_; ++c) at(lastEnd_ - overlap_ + i, c) *= gain;
    }
    tailPending_ = false;
}

void MusicMixer::mixPiece(const std::vector<int16_t>& piece) {
    const int64_t count = static_cast<int64_t>(piece.size()) / channels_;
    if (count <= 0) return;
    if (tailPending_) fadeOutgoingTail();
    const int64_t base = trackStart_ + trackRead_;
    // Grown once for the piece rather than sample by sample.
    at(base + count - 1, channels_ - 1);
    for (int64_t i = 0; i < count; ++i) {
        const int64_t inTrack = trackRead_ + i;
        const double gain = gain_ * (inTrack < overlap_ ? CrossfadeIn(inTrack, overlap_) : 1.0);
        for (int c = 0; c < channels_; ++c)
            at(base + i, c) +=
                static_cast<float>(gain * piece[static_cast<size_t>(i * channels_ + c)] / 32768.0);
    }
    trackRead_ += count;
}

void MusicMixer::trackEnded() {
    reader_.reset();
    if (trackRead_ == 0) {
        // Nothing came of the file: the join is made with the next one as
        // if this one had not been asked for.
        return;
    }
    lastEnd_ = trackStart_ + trackRead_;
    overlap_ = JoinOverlap(trackRead_, crossfade_);
}

bool MusicMixer::openNext() {
    for (int attempt = 0; attempt < kMaxFilesWithoutSound; ++attempt) {
        if (hooks_.stopping && hooks_.stopping()) return true;
        std::optional<std::string> path = hooks_.requestFile(nextIndex_++);
        if (!path) {
            musicEnded_ = true;
            return true;
        }
        if (hooks_.stopping && hooks_.stopping()) return true;
        base::Result<std::unique_ptr<TrackReader>> opened = hooks_.openFile(*path);
        if (opened) {
            reader_ = std::move(opened).value();
            currentPath_ = *path;
            gain_ = hooks_.gainOf ? hooks_.gainOf(*path) : 1.0;
            // Samples already taken are gone: a caller that took ahead of
            // the mix gets the join where it still can be made.
            lastEnd_ = std::max(lastEnd_, taken_);
            overlap_ = std::min(overlap_, lastEnd_ - taken_);
            trackStart_ = lastEnd_ - overlap_;
            trackRead_ = 0;
            tailPending_ = overlap_ > 0;
            return true;
        }
        if (!hooks_.reportError("Cannot play the music file \"" + *path +
                                "\": " + opened.message()))
            return false;
    }
    musicEnded_ = true;
    return true;
}

bool MusicMixer::FillTo(int64_t total) {
    int filesWithoutSound = 0;
    while (finalEnd() < total) {
        if (hooks_.stopping && hooks_.stopping()) return true;
        if (!reader_) {
            if (!openNext()) return false;
            continue;
        }
        piece_.clear();
        const bool more = reader_->ReadPiece(piece_);
        mixPiece(piece_);
        if (more) continue;
        const bool silent = trackRead_ == 0;
        trackEnded();
        if (!silent) continue;
        if (!hooks_.reportError("Cannot play the music file \"" + currentPath_ +
                                "\": it holds no playable audio"))
            return false;
        if (++filesWithoutSound >= kMaxFilesWithoutSound) musicEnded_ = true;
    }
    return true;
}

void MusicMixer::Take(int16_t* out, int count) {
    for (int i = 0; i < count; ++i) {
        const int64_t position = taken_ + i;
        const size_t index = static_cast<size_t>(position - bufferStart_) * channels_;
        const double show = ShowGain(position, fadeIn_, cutEnd_, fadeOut_);
        for (int c = 0; c < channels_; ++c) {
            const double value = index + c < buffer_.size() ? buffer_[index + c] * show : 0.0;
            out[static_cast<size_t>(i) * channels_ + c] =
                static_cast<int16_t>(std::clamp(std::lround(value * 32768.0), -32768L, 32767L));
        }
    }
    taken_ += std::max(count, 0);
    const int64_t consumed =
        std::min<int64_t>(taken_ - bufferStart_, static_cast<int64_t>(buffer_.size()) / channels_);
    if (consumed >= kCompactAfter) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + consumed * channels_);
        bufferStart_ += consumed;
    }
}

}  // namespace sound
