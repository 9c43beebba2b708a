#include "music/SoundDevice.h"

#include <SDL.h>

#include <string>

namespace music {

namespace {

base::Fault NoSound() {
    const std::string reason = SDL_GetError();
    return base::MakeFault("No sound device could be opened" +
                           (reason.empty() ? std::string() : " (" + reason + ")") +
                           "; the music plays without sound.");
}

}  // namespace

base::Result<std::unique_ptr<SoundDevice>> SoundDevice::Open(int rate, int channels) {
    // A library must not take over the host program's signals.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return NoSound();
    SDL_AudioSpec wanted{};
    wanted.freq = rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(channels);
    wanted.samples = 2048;
    SDL_AudioSpec obtained{};
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (id == 0) {
        base::Fault fault = NoSound();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return fault;
    }
    SDL_PauseAudioDevice(id, 0);
    // With no changes allowed, SDL converts to what was asked; the block is
    // the one it obtained all the same.
    const int block = obtained.samples > 0 ? obtained.samples : wanted.samples;
    return std::unique_ptr<SoundDevice>(new SoundDevice(id, channels, block));
}

SoundDevice::~SoundDevice() {
    SDL_CloseAudioDevice(id_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int SoundDevice::QueuedSamples() const {
    return static_cast<int>(SDL_GetQueuedAudioSize(id_) / (channels_ * sizeof(int16_t)));
}

bool SoundDevice::Queue(const std::vector<int16_t>& samples) {
    return SDL_QueueAudio(id_, samples.data(),
                          static_cast<Uint32>(samples.size() * sizeof(int16_t))) == 0;
}

base::Status CheckSoundOutput() {
    const base::Result<std::unique_ptr<SoundDevice>> device = SoundDevice::Open(44100, 2);
    if (!device) return device.fault();
    return {};
}

}  // namespace music
