// Where decoded samples go while a stream plays: the default audio output,
// a silent stand-in for it when the machine has no sound, or a PCM file.
//
// The feeder thread hands every decoded block to write(). Outputs that play
// in real time hold the feeder back there until the block is close to being
// heard, so playback keeps pace and the position can be read back.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace mpegdll {

class AudioSink {
public:
    virtual ~AudioSink() = default;

    // Takes a block of interleaved 16-bit little-endian frames. May wait for
    // room, returning early once `cancel` is set. false when the output failed.
    virtual bool write(const uint8_t* data, size_t bytes, const std::atomic<bool>& cancel) = 0;
    // Frames heard so far (for a file: frames written).
    virtual int64_t playedFrames() = 0;
    // Whether everything written has been heard, or the output has failed
    // and will hear nothing more.
    virtual bool drained() = 0;
    virtual void setPaused(bool paused) = 0;
    // Flushes and closes; false when the output failed at any point.
    virtual bool finish() = 0;
};

// Raw samples into a file, created or truncated; null when it cannot be created.
std::unique_ptr<AudioSink> OpenPcmFileSink(const std::string& path, int channels);

// The default audio output through SDL; null when there is no usable device.
std::unique_ptr<AudioSink> OpenSdlSink(long rate, int channels);

// Consumes samples silently at real-time pace, standing in for a missing device.
std::unique_ptr<AudioSink> OpenClockSink(long rate, int channels);

// Releases the SDL audio subsystem if OpenSdlSink started it.
void ShutdownSdlAudio();

}  // namespace mpegdll
