#include "music/MixPlayer.h"

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <utility>

#include "base/Swallow.h"
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

// The audio device, opened on the thread and closed with it.
class Device {
public:
    Device() {
        static std::once_flag started;
        static bool ok = false;
        std::call_once(started, [] {
            SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
            ok = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        });
        if (!ok) return;
        SDL_AudioSpec wanted{};
        wanted.freq = kRate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = kChannels;
        wanted.samples = 2048;
        id_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        if (id_ != 0) SDL_PauseAudioDevice(id_, 0);
    }
    ~Device() {
        if (id_ != 0) SDL_CloseAudioDevice(id_);
        // SDL keeps per-thread data (its error text) for a thread it did
        // not start until told; every play runs on a new thread.
        SDL_TLSCleanup();
    }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    bool Open() const { return id_ != 0; }
    int QueuedSamples() const {
        return static_cast<int>(SDL_GetQueuedAudioSize(id_) / (kChannels * sizeof(int16_t)));
    }
    bool Queue(const std::vector<int16_t>& samples) {
        return SDL_QueueAudio(id_, samples.data(),
                              static_cast<Uint32>(samples.size() * sizeof(int16_t))) == 0;
    }

private:
    SDL_AudioDeviceID id_ = 0;
};

}  // namespace

MixPlayer::MixPlayer(std::vector<std::string> files, ShowMix mix)
    : thread_([this, files = std::move(files), mix = std::move(mix)]() mutable {
          base::Swallow("music::MixPlayer", [&] { run(std::move(files), std::move(mix)); });
          playing_ = false;
      }) {}

MixPlayer::~MixPlayer() {
    stop_ = true;
    thread_.join();
}

void MixPlayer::run(std::vector<std::string> files, ShowMix mix) {
    Device device;
    if (!device.Open()) return;
    sound::MusicMixer::Hooks hooks = sound::FileListHooks(std::move(files), kRate, kChannels);
    hooks.gainOf = mix.gainOf;
    // The build names what it leaves out; playing goes on past it.
    hooks.reportError = [](const std::string&) { return true; };
    hooks.stopping = [this] { return stop_.load(); };
    const int64_t cutEnd = mix.cutEndMs < 0 ? -1 : sound::MsToSamples(mix.cutEndMs, kRate);
    sound::MusicMixer mixer(kRate, kChannels, mix.options, cutEnd, std::move(hooks));

    std::vector<int16_t> piece(static_cast<size_t>(kPieceSamples) * kChannels);
    int64_t position = 0;
    while (!stop_) {
        if (position >= mixer.MixedEnd() || (cutEnd >= 0 && position >= cutEnd)) {
            // Played out: the card finishes what it holds.
            if (device.QueuedSamples() == 0) return;
        } else if (device.QueuedSamples() < kLeadSamples) {
            if (!mixer.FillTo(position + kPieceSamples)) return;
            mixer.Take(piece.data(), kPieceSamples);
            if (!device.Queue(piece)) return;
            position += kPieceSamples;
            continue;
        }
        std::this_thread::sleep_for(kPollStep);
    }
}

}  // namespace music
