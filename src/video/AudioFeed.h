// The sound track of a conversion: music files asked for one after another,
// decoded into one continuous run of samples, and silence once the music has
// ended. Samples are counted from the start of the track, so the caller can
// keep the track exactly as long as the video.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/FfmpegUtil.h"
#include "video/AudioDecoder.h"

namespace video {

class AudioFeed {
public:
    struct Hooks {
        // Asks for music file number 'index' (0, 1, 2, ...); nullopt when the
        // music has ended.
        std::function<std::optional<std::string>(int index)> requestFile;
        // Reports a music file that cannot be played. Returns true to carry on
        // with the next file, false to stop the conversion.
        std::function<bool(const std::string& message)> reportError;
        // True once the conversion is being stopped; then nothing more is asked.
        std::function<bool()> stopping;
    };

    // Throws std::bad_alloc when the sample buffer cannot be had.
    AudioFeed(int sampleRate, int channels, Hooks hooks);

    // Decodes until 'total' samples exist counted from the start of the
    // track, asking for the next file whenever the current one ends. Adds
    // silence after the last file. Returns false when a file could not be
    // played and the error hook chose to stop; throws std::bad_alloc when
    // memory runs out.
    bool fillTo(int64_t total);

    // Takes the next 'count' samples (interleaved signed 16-bit) into 'out';
    // what has not been decoded is silence.
    void take(int16_t* out, int count);

private:
    // Samples decoded and not yet taken.
    int64_t buffered() const;
    bool openNextFile();

    int sampleRate_;
    int channels_;
    Hooks hooks_;
    base::AudioFifoPtr fifo_;
    std::unique_ptr<AudioDecoder> decoder_;
    std::string currentPath_;
    int nextIndex_ = 0;
    bool musicEnded_ = false;
    int64_t taken_ = 0;
};

}  // namespace video
