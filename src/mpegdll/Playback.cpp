#include "mpegdll/Playback.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <vector>

#include "mpegdll/MpegDll.h"

namespace mpegdll {

namespace {

// About 90 ms of CD audio per block: small enough to pause and stop promptly.
constexpr size_t kBlockFrames = 4096;
constexpr std::chrono::milliseconds kDrainPoll{5};

}  // namespace

int NiceForPriority(int32_t priority) {
    if (priority <= -15) return 19;
    if (priority >= 15) return -20;
    switch (priority) {
        case -2:
            return 10;
        case -1:
            return 5;
        case 0:
            return 0;
        case 1:
            return -5;
        case 2:
            return -10;
        default:
            return priority < 0 ? 10 : -10;
    }
}

std::unique_ptr<Playback> Playback::Start(Decoder& decoder, const PlaybackRequest& request,
                                          int* error) {
    if (!decoder.seekSample(request.startSample)) {
        *error = MPEGDLL_ERR_INTERNAL;
        return nullptr;
    }
    std::unique_ptr<AudioSink> sink;
    if (request.device == MPEGDLL_DEVICE_PCMFILE) {
        sink = OpenPcmFileSink(request.pcmPath, decoder.channels());
    } else {
        sink = OpenSdlSink(decoder.rate(), decoder.channels());
        if (!sink) sink = OpenClockSink(decoder.rate(), decoder.channels());
    }
    if (!sink) {
        *error = MPEGDLL_ERR_OUTPUT;
        return nullptr;
    }
    std::unique_ptr<Playback> playback(new Playback(decoder, request, std::move(sink)));
    if (request.paused) playback->setPaused(true);
    playback->thread_ = std::thread([raw = playback.get()] { raw->run(); });
    *error = MPEGDLL_OK;
    return playback;
}

Playback::Playback(Decoder& decoder, const PlaybackRequest& request,
                   std::unique_ptr<AudioSink> sink)
    : decoder_(decoder), request_(request), sink_(std::move(sink)), priority_(request.priority) {}

Playback::~Playback() {
    cancel_.store(true);
    {
        std::lock_guard lock(pauseMutex_);
        pauseChanged_.notify_all();
    }
    if (thread_.joinable()) thread_.join();
    sink_->finish();
}

void Playback::setPaused(bool paused) {
    std::lock_guard lock(pauseMutex_);
    paused_.store(paused);
    sink_->setPaused(paused);
    pauseChanged_.notify_all();
}

int64_t Playback::positionSamples() const {
    return request_.startSample + sink_->playedFrames();
}

void Playback::setPriority(int32_t priority) {
    priority_.store(priority);
    applyPriority();
}

void Playback::applyPriority() {
    const int tid = threadId_.load();
    // Raising the priority needs privileges most users lack; playback then
    // simply runs at the normal priority.
    if (tid != 0)
        setpriority(PRIO_PROCESS, static_cast<id_t>(tid), NiceForPriority(priority_.load()));
}

void Playback::run() {
    threadId_.store(static_cast<int>(syscall(SYS_gettid)));
    applyPriority();

    const size_t frameBytes = decoder_.frameBytes();
    std::vector<uint8_t> block(kBlockFrames * frameBytes);
    int64_t decodedTo = request_.startSample;
    bool decoding = true;
    while (!cancel_.load()) {
        {
            std::unique_lock lock(pauseMutex_);
            pauseChanged_.wait(lock, [this] { return !paused_.load() || cancel_.load(); });
        }
        if (cancel_.load()) break;
        if (decoding) {
            const int64_t remaining = request_.endSample - decodedTo;
            const size_t want = static_cast<size_t>(
                std::min<int64_t>(remaining, static_cast<int64_t>(kBlockFrames)));
            ptrdiff_t got = want > 0 ? decoder_.read(block.data(), want * frameBytes) : 0;
            // A decoder error mid-stream ends the stream where it broke.
            if (got <= 0) {
                decoding = false;
                continue;
            }
            decodedTo += got / static_cast<ptrdiff_t>(frameBytes);
            // The output failed (disk full, device gone): nothing more can be heard.
            if (!sink_->write(block.data(), static_cast<size_t>(got), cancel_)) break;
        } else if (sink_->drained()) {
            break;
        } else {
            std::this_thread::sleep_for(kDrainPoll);
        }
    }
    if (cancel_.load()) return;
    // Close a PCM file before announcing the end, so it is complete on disk
    // by the time anyone looks.
    sink_->finish();
    finished_.store(true);
    if (request_.ended != nullptr) std::atomic_ref<uint8_t>(*request_.ended).store(1);
}

}  // namespace mpegdll
