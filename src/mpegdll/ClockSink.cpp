// Silent output for machines without a sound device: samples are consumed on
// a clock so that playback takes as long as it would with sound, positions
// advance and the end arrives on time.
#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

#include "mpegdll/AudioSink.h"

namespace mpegdll {

namespace {

using Clock = std::chrono::steady_clock;

// How far the feeder may run ahead of the clock.
constexpr std::chrono::milliseconds kLead{200};
constexpr std::chrono::milliseconds kPollStep{10};

class ClockSink final : public AudioSink {
public:
    ClockSink(long rate, int channels)
        : rate_(rate), frameBytes_(channels * 2), start_(Clock::now()) {}

    bool write(const uint8_t*, size_t bytes, const std::atomic<bool>& cancel) override {
        const int64_t leadFrames = rate_ * kLead.count() / 1000;
        std::unique_lock lock(mutex_);
        written_ += static_cast<int64_t>(bytes) / frameBytes_;
        while (!cancel.load() && written_ - elapsedFramesLocked() > leadFrames) {
            lock.unlock();
            std::this_thread::sleep_for(kPollStep);
            lock.lock();
        }
        return true;
    }

    int64_t playedFrames() override {
        std::lock_guard lock(mutex_);
        if (paused_) return playedAtPause_;
        return std::min(written_, elapsedFramesLocked());
    }

    bool drained() override {
        std::lock_guard lock(mutex_);
        return elapsedFramesLocked() >= written_;
    }

    void setPaused(bool paused) override {
        std::lock_guard lock(mutex_);
        if (paused == paused_) return;
        const auto now = Clock::now();
        if (paused) {
            pausedAt_ = now;
            paused_ = true;
            // The feeder may still hand over a block it decoded before the
            // pause; what was heard stays what it was.
            playedAtPause_ = std::min(written_, elapsedFramesLocked());
        } else {
            pausedTotal_ += now - pausedAt_;
            paused_ = false;
        }
    }

    bool finish() override { return true; }

private:
    int64_t elapsedFramesLocked() const {
        const auto now = paused_ ? pausedAt_ : Clock::now();
        const auto running =
            std::chrono::duration_cast<std::chrono::microseconds>(now - start_ - pausedTotal_);
        return running.count() * rate_ / 1'000'000;
    }

    const long rate_;
    const int frameBytes_;
    std::mutex mutex_;
    const Clock::time_point start_;
    Clock::time_point pausedAt_{};
    Clock::duration pausedTotal_{};
    bool paused_ = false;
    int64_t playedAtPause_ = 0;
    int64_t written_ = 0;
};

}  // namespace

std::unique_ptr<AudioSink> OpenClockSink(long rate, int channels) {
    return std::make_unique<ClockSink>(rate, channels);
}

}  // namespace mpegdll
