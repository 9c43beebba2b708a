#include "showbuild/BuildMusicMix.h"

#include <map>
#include <memory>
#include <string>

namespace video {

sound::MixOptions MixOptionsOf(const model::TslSettings& s) {
    return {.fadeInMs = s.MusicFadeInMs,
            .fadeOutMs = s.MusicFadeOutMs,
            .crossfadeMs = s.MusicCrossfadeMs,
            .evenLoudness = s.EvenLoudness};
}

MclAudioMix MusicMixFor(const model::Show& show, uint8_t musicSync, const ShowTiming& timing) {
    const model::TslSettings& settings = show.settings;
    MclAudioMix mix;
    mix.options = MixOptionsOf(settings);
    const int64_t musicMs = sound::CrossfadedLength(StoredMusicLengths(show, settings.Music),
                                                    sound::ClampFadeMs(mix.options.crossfadeMs));
    const int64_t showMs = RulesOf(settings).rate.MillisecondsOfFrames(timing.TotalFrames());
    if (!EndsWithMusic(musicSync) && musicMs > showMs) mix.cutEndMs = showMs;
    if (mix.options.evenLoudness) {
        // Read now: the mix outlives the show it was made from.
        auto gains = std::make_shared<std::map<std::string, double>>();
        for (const std::string& path : settings.Music)
            if (const auto loudness = show.LoudnessOf(path))
                (*gains)[path] = sound::EvenLoudnessGain(loudness->lufs, loudness->peak);
        mix.gainOf = [gains](const std::string& path) {
            const auto found = gains->find(path);
            return found == gains->end() ? 1.0 : found->second;
        };
    }
    return mix;
}

}  // namespace video
