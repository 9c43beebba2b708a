// The default audio output through SDL's queue: the feeder thread queues
// decoded blocks and waits while more than a short lead is queued.
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "mpegdll/AudioSink.h"

namespace mpegdll {

namespace {

constexpr std::chrono::milliseconds kLead{250};
constexpr std::chrono::milliseconds kPollStep{5};

std::mutex sdlMutex;
bool sdlStarted = false;

bool StartSdlAudio() {
    std::lock_guard lock(sdlMutex);
    if (sdlStarted) return true;
    // A library must not take over the host program's signals.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    sdlStarted = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    return sdlStarted;
}

class SdlSink final : public AudioSink {
public:
    SdlSink(SDL_AudioDeviceID device, long rate, int channels)
        : device_(device),
          frameBytes_(channels * 2),
          leadBytes_(rate * kLead.count() / 1000 * frameBytes_) {
        SDL_PauseAudioDevice(device_, 0);
    }
    ~SdlSink() override { SDL_CloseAudioDevice(device_); }

    bool write(const uint8_t* data, size_t bytes, const std::atomic<bool>& cancel) override {
        {
            // Queued and counted together, so a position read in between
            // never sees the block queued but not yet written.
            std::lock_guard lock(countMutex_);
            if (!deviceAlive() || SDL_QueueAudio(device_, data, static_cast<Uint32>(bytes)) != 0) {
                failed_ = true;
                return false;
            }
            written_ += static_cast<int64_t>(bytes) / frameBytes_;
        }
        while (!cancel.load() && SDL_GetQueuedAudioSize(device_) > leadBytes_) {
            if (!deviceAlive()) {
                failed_ = true;
                return false;
            }
            std::this_thread::sleep_for(kPollStep);
        }
        return true;
    }

    int64_t playedFrames() override {
        std::lock_guard lock(countMutex_);
        const int64_t queued = SDL_GetQueuedAudioSize(device_) / frameBytes_;
        return std::max<int64_t>(0, written_ - queued);
    }

    // A device that went away (unplugged) hears nothing more.
    bool drained() override { return SDL_GetQueuedAudioSize(device_) == 0 || !deviceAlive(); }

    void setPaused(bool paused) override { SDL_PauseAudioDevice(device_, paused ? 1 : 0); }

    bool finish() override { return !failed_.load(); }

private:
    bool deviceAlive() const { return SDL_GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED; }

    const SDL_AudioDeviceID device_;
    const int frameBytes_;
    const Uint32 leadBytes_;
    std::mutex countMutex_;
    // Changed under countMutex_ together with the queue; atomic as well, so
    // a read never depends on the lock being seen by every tool.
    std::atomic<int64_t> written_{0};
    std::atomic<bool> failed_{false};
};

}  // namespace

std::unique_ptr<AudioSink> OpenSdlSink(long rate, int channels) {
    if (!StartSdlAudio()) return nullptr;
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(rate);
    wanted.format = AUDIO_S16LSB;
    wanted.channels = static_cast<Uint8>(channels);
    wanted.samples = 4096;
    SDL_AudioSpec obtained{};
    // No allowed changes: SDL converts to whatever the device takes.
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) return nullptr;
    return std::make_unique<SdlSink>(device, rate, channels);
}

void ShutdownSdlAudio() {
    std::lock_guard lock(sdlMutex);
    if (!sdlStarted) return;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    sdlStarted = false;
}

}  // namespace mpegdll
