#include "showbuild/BuildMusicMix.h"

#include <map>
#include <memory>
#include <string>

#include "model/MusicMixSettings.h"
#include "model/Settings.h"

namespace video {

MclAudioMix MusicMixFor(const BuildSettings& settings, uint8_t musicSync,
                        const ShowTiming& timing) {
    MclAudioMix mix;
    mix.options = settings.Mix;
    const int64_t musicMs = sound::CrossfadedLength(StoredMusicLengths(settings.Music),
                                                    sound::ClampFadeMs(settings.Mix.crossfadeMs));
    const int64_t showMs = MillisecondsOfFrames(timing.TotalFrames(), settings.TVSet);
    if (musicSync != static_cast<uint8_t>(MusicSyncMode::FitToMusic) && musicMs > showMs)
        mix.cutEndMs = showMs;
    if (settings.Mix.evenLoudness) {
        // Read now: the build runs on while the window may change the store.
        auto gains = std::make_shared<std::map<std::string, double>>();
        for (const std::string& path : settings.Music)
            if (const auto loudness = model::LoudnessOf(model::OptionsStore(), path))
                (*gains)[path] = sound::EvenLoudnessGain(loudness->lufs, loudness->peak);
        mix.gainOf = [gains](const std::string& path) {
            const auto found = gains->find(path);
            return found == gains->end() ? 1.0 : found->second;
        };
    }
    return mix;
}

}  // namespace video
