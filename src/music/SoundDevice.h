// The sound card as the music players use it: SDL's default output, opened
// for interleaved 16-bit samples and fed through SDL's queue. Without one,
// SDL's reason comes back as a fault the window shows, since the music then
// plays silently (the show previews on without it).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/Result.h"

namespace music {

class SoundDevice {
public:
    // The default output at 'rate' samples a second, 'channels' interleaved.
    // Starts SDL's audio for as long as the device is open, so a device
    // opened later finds the outputs as they are then.
    [[nodiscard]] static base::Result<std::unique_ptr<SoundDevice>> Open(int rate, int channels);
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // Samples per channel waiting to be played.
    int QueuedSamples() const;
    // Samples per channel the card takes from the queue at a time: the block
    // it took last is the one sounding, so what has left the queue is ahead
    // of what is heard by about this much.
    int BlockSamples() const { return blockSamples_; }
    bool Queue(const std::vector<int16_t>& samples);

private:
    SoundDevice(uint32_t id, int channels, int blockSamples)
        : id_(id), channels_(channels), blockSamples_(blockSamples) {}

    const uint32_t id_;
    const int channels_;
    const int blockSamples_;
};

// Whether anything can be heard: the default output opened and closed again.
[[nodiscard]] base::Status CheckSoundOutput();

}  // namespace music
