// The show's sound track as one run of samples: music files asked for one
// after another, each brought to its loudness, joined end to end (sample
// exact, or overlapped by the crossfade), faded in at the start of the show
// and out where the show cuts the music, then silence. The build and the
// preview both play through it, so they sound alike.
//
// Samples are counted from the start of the track. A track is held back by
// the crossfade while it plays: its end is only known once it has been
// decoded, and the next track's head is mixed over it then.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "sound/MixRules.h"

namespace sound {

// One music file decoded to interleaved signed 16-bit samples at the mixer's
// rate and channel count.
class TrackReader {
public:
    virtual ~TrackReader() = default;
    // Appends the next piece to 'out'. Returns false once the track has ended
    // (the last piece may come with the false).
    virtual bool ReadPiece(std::vector<int16_t>& out) = 0;
};

class MusicMixer {
public:
    struct Hooks {
        // Asks for music file number 'index' (0, 1, 2, ...); nullopt when the
        // music has ended.
        std::function<std::optional<std::string>(int index)> requestFile;
        // Opens a file for reading, or says why it cannot be played.
        std::function<base::Result<std::unique_ptr<TrackReader>>(const std::string& path)> openFile;
        // The gain a file plays at (even loudness); 1 when missing.
        std::function<double(const std::string& path)> gainOf;
        // Reports a file that cannot be played. Returns true to carry on with
        // the next file, false to stop.
        std::function<bool(const std::string& message)> reportError;
        // True once the caller is stopping; then nothing more is asked.
        std::function<bool()> stopping;
    };

    // 'cutEnd' is the sample where the show cuts the music (the fade-out ends
    // there), or -1 when the music is never cut.
    MusicMixer(int sampleRate, int channels, const MixOptions& options, int64_t cutEnd,
               Hooks hooks);

    // Mixes until the first 'total' samples of the track are final, asking
    // for files as the track reaches them. Returns false when a file could
    // not be played and the error hook chose to stop; throws std::bad_alloc
    // when memory runs out.
    bool FillTo(int64_t total);

    // Takes the next 'count' samples (interleaved signed 16-bit) into 'out';
    // what has not been mixed is silence.
    void Take(int16_t* out, int count);

    // Where the music ends: INT64_MAX until the last file has been asked
    // for, then the end of its last sample.
    int64_t MixedEnd() const;

private:
    int64_t finalEnd() const;
    bool openNext();
    void mixPiece(const std::vector<int16_t>& piece);
    void fadeOutgoingTail();
    void trackEnded();
    float& at(int64_t position, int channel);

    int channels_;
    int64_t crossfade_;
    int64_t fadeIn_;
    int64_t fadeOut_;
    int64_t cutEnd_;
    Hooks hooks_;

    // Mixed samples from 'bufferStart_' on, interleaved.
    std::vector<float> buffer_;
    int64_t bufferStart_ = 0;
    int64_t taken_ = 0;

    std::unique_ptr<TrackReader> reader_;
    std::string currentPath_;
    double gain_ = 1.0;
    int64_t trackStart_ = 0;
    int64_t trackRead_ = 0;
    // The previous track: where it ended and how far the next one overlaps it.
    int64_t lastEnd_ = 0;
    int64_t overlap_ = 0;
    // The previous track's tail waits to be faded down until the current
    // track has sound: an empty file must leave it as it was.
    bool tailPending_ = false;
    int nextIndex_ = 0;
    bool musicEnded_ = false;
    std::vector<int16_t> piece_;
};

}  // namespace sound
