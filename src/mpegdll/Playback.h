// One run of playback: a feeder thread that decodes the open stream from a
// start sample to an end sample and hands the samples to an output.
//
// The thread is the library's own; the caller learns of the end through
// finished() or through the byte it handed over, which the thread sets to 1
// once everything has been heard. Destroying a Playback stops the thread and
// waits for it, after which the byte is never touched again.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "mpegdll/AudioSink.h"
#include "mpegdll/Decoder.h"

namespace mpegdll {

struct PlaybackRequest {
    int32_t device = 0;
    std::string pcmPath;
    int64_t startSample = 0;
    int64_t endSample = 0;  // exclusive; at most the stream length
    uint8_t* ended = nullptr;
    int32_t priority = 0;
    bool paused = false;  // start paused
};

class Playback {
public:
    // Positions the decoder, opens the output and starts the thread. Returns
    // null with *error set to a LastError code on failure.
    static std::unique_ptr<Playback> Start(Decoder& decoder, const PlaybackRequest& request,
                                           int* error);
    ~Playback();
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    void setPaused(bool paused);
    bool paused() const { return paused_.load(); }
    bool finished() const { return finished_.load(); }
    // Sample position of what has been heard, counted from the stream start.
    int64_t positionSamples() const;
    void setPriority(int32_t priority);

private:
    Playback(Decoder& decoder, const PlaybackRequest& request, std::unique_ptr<AudioSink> sink);
    void run();
    void applyPriority();

    Decoder& decoder_;
    const PlaybackRequest request_;
    std::unique_ptr<AudioSink> sink_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> paused_{false};
    std::atomic<bool> finished_{false};
    std::atomic<int32_t> priority_;
    std::atomic<int> threadId_{0};
    std::mutex pauseMutex_;
    std::condition_variable pauseChanged_;
    std::thread thread_;
};

// Maps a platform thread priority (-15 idle .. 15 time critical) to a nice value.
int NiceForPriority(int32_t priority);

}  // namespace mpegdll
