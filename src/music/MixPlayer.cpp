#include "music/MixPlayer.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <utility>

#include "base/Swallow.h"
#include "music/SoundDevice.h"
#include "sound/FileTrack.h"
#include "sound/MusicMixer.h"

namespace music {
namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
// Queued ahead of the card: enough to ride out a slow decode, little enough
// that Stop is heard at once.
constexpr int kLeadSamples = kRate / 4;
constexpr int kPieceSamples = kRate / 20;
constexpr std::chrono::milliseconds kPollStep{10};

}  // namespace

MixPlayer::MixPlayer(std::vector<std::string> files, ShowMix mix, int64_t startMs) {
    startSample_ = sound::MsToSamples(std::max<int64_t>(startMs, 0), kRate);
    base::Result<std::unique_ptr<SoundDevice>> opened = SoundDevice::Open(kRate, kChannels);
    if (!opened) {
        output_ = opened.fault();
        playing_ = false;
        return;
    }
    device_ = std::move(*opened);
    thread_ = std::thread([this, files = std::move(files), mix = std::move(mix)]() mutable {
        base::Swallow("music::MixPlayer",
                      [&] { run(std::move(files), std::move(mix), startSample_); });
        playing_ = false;
        // SDL keeps per-thread data (its error text) for a thread it did
        // not start until told; every play runs on a new thread.
        SDL_TLSCleanup();
    });
}

MixPlayer::~MixPlayer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

int64_t MixPlayer::PlayedMs() const {
    const int64_t held = device_ ? device_->QueuedSamples() : 0;
    // The block the card took last starts sounding as it is taken; played
    // out, the card has sounded all it took but the rest of that block.
    const int64_t block = device_ && playing_ ? device_->BlockSamples() : 0;
    const int64_t played = startSample_ + std::max<int64_t>(queuedSamples_ - held - block, 0);
    return played * 1000 / kRate;
}

void MixPlayer::run(std::vector<std::string> files, ShowMix mix, int64_t start) {
    SoundDevice& device = *device_;
    sound::MusicMixer::Hooks hooks = sound::FileListHooks(std::move(files), kRate, kChannels);
    hooks.gainOf = mix.gainOf;
    // The build names what it leaves out; playing goes on past it.
    hooks.reportError = [](const std::string&) { return true; };
    hooks.stopping = [this] { return stop_.load(); };
    const int64_t cutEnd = mix.cutEndMs < 0 ? -1 : sound::MsToSamples(mix.cutEndMs, kRate);
    sound::MusicMixer mixer(kRate, kChannels, mix.options, cutEnd, std::move(hooks));

    std::vector<int16_t> piece(static_cast<size_t>(kPieceSamples) * kChannels);
    // The mix before the start is made and dropped: the joins, fades and
    // loudness there decide the sound from the start on.
    int64_t position = 0;
    while (position < start && !stop_) {
        const int count = static_cast<int>(std::min<int64_t>(kPieceSamples, start - position));
        if (!mixer.FillTo(position + count)) return;
        mixer.Take(piece.data(), count);
        position += count;
    }
    while (!stop_) {
        if (position >= mixer.MixedEnd() || (cutEnd >= 0 && position >= cutEnd)) {
            // Played out: the card finishes what it holds.
            if (device.QueuedSamples() == 0) return;
        } else if (device.QueuedSamples() < kLeadSamples) {
            if (!mixer.FillTo(position + kPieceSamples)) return;
            mixer.Take(piece.data(), kPieceSamples);
            if (!device.Queue(piece)) return;
            position += kPieceSamples;
            queuedSamples_ += kPieceSamples;
            continue;
        }
        std::this_thread::sleep_for(kPollStep);
    }
}

}  // namespace music
