#include "video/AudioFeed.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace video {
namespace {

// A source that keeps handing out files without a single playable sample
// would otherwise keep the conversion asking forever.
constexpr int kMaxFilesWithoutSound = 10000;

}  // namespace

AudioFeed::AudioFeed(int sampleRate, int channels, Hooks hooks)
    : sampleRate_(sampleRate),
      channels_(channels),
      hooks_(std::move(hooks)),
      fifo_(av_audio_fifo_alloc(AV_SAMPLE_FMT_S16, channels, sampleRate)) {
    if (!fifo_) throw std::bad_alloc();
}

int64_t AudioFeed::buffered() const {
    return av_audio_fifo_size(fifo_.get());
}

bool AudioFeed::openNextFile() {
    for (int attempt = 0; attempt < kMaxFilesWithoutSound; ++attempt) {
        if (hooks_.stopping && hooks_.stopping()) return true;
        std::optional<std::string> path = hooks_.requestFile(nextIndex_++);
        if (!path) {
            musicEnded_ = true;
            return true;
        }
        if (hooks_.stopping && hooks_.stopping()) return true;
        std::string error;
        decoder_ = AudioDecoder::Open(*path, sampleRate_, channels_, &error);
        if (decoder_) {
            currentPath_ = *path;
            return true;
        }
        if (!hooks_.reportError("Cannot play the music file \"" + *path + "\": " + error))
            return false;
    }
    musicEnded_ = true;
    return true;
}

bool AudioFeed::fillTo(int64_t total) {
    int filesWithoutSound = 0;
    while (taken_ + buffered() < total) {
        if (hooks_.stopping && hooks_.stopping()) return true;
        if (musicEnded_) {
            // Silence after the music. Only what this call needs: a long
            // video without music must not pile up silence in memory.
            const int64_t missing = total - taken_ - buffered();
            std::vector<int16_t> zeros(
                static_cast<size_t>(std::min<int64_t>(missing, sampleRate_)) * channels_);
            void* planes[1] = {zeros.data()};
            const int count = static_cast<int>(zeros.size() / channels_);
            // Only a full memory refuses a write; a quietly shorter track
            // would pass for a complete one.
            if (av_audio_fifo_write(fifo_.get(), planes, count) < count) throw std::bad_alloc();
            continue;
        }
        if (!decoder_) {
            if (!openNextFile()) return false;
            continue;
        }
        if (!decoder_->decodeInto(fifo_.get())) {
            const bool silent = decoder_->samplesDecoded() == 0;
            decoder_.reset();
            if (silent) {
                if (!hooks_.reportError("Cannot play the music file \"" + currentPath_ +
                                        "\": it holds no playable audio"))
                    return false;
                if (++filesWithoutSound >= kMaxFilesWithoutSound) musicEnded_ = true;
            }
        }
    }
    return true;
}

void AudioFeed::take(int16_t* out, int count) {
    const size_t bytesPerSample = sizeof(int16_t) * channels_;
    int read = 0;
    if (count > 0) {
        void* planes[1] = {out};
        read = std::max(0, av_audio_fifo_read(fifo_.get(), planes, count));
    }
    if (read < count)
        std::memset(out + static_cast<size_t>(read) * channels_, 0,
                    static_cast<size_t>(count - read) * bytesPerSample);
    taken_ += count;
}

}  // namespace video
