#include "cli/MusicMixOptions.h"

#include <array>
#include <cmath>
#include <locale>
#include <sstream>

#include "model/Settings.h"
#include "sound/MixRules.h"

namespace cli {
namespace {

struct SecondsOption {
    const char* name;
    std::optional<int32_t> MusicMixOverrides::*field;
};

constexpr std::array<SecondsOption, 3> kSecondsOptions{{
    {"--fade-in", &MusicMixOverrides::fadeInMs},
    {"--fade-out", &MusicMixOverrides::fadeOutMs},
    {"--crossfade", &MusicMixOverrides::crossfadeMs},
}};

constexpr const char* kEvenLoudness = "--even-loudness";

// Seconds as the user types them ("2", "0.5"), in the C locale whatever the
// user's, to the millisecond.
std::optional<int32_t> ParseSeconds(const std::string& text) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double seconds = 0;
    if (!(in >> seconds) || !in.eof() || !std::isfinite(seconds) || seconds < 0 ||
        seconds * 1000 > sound::kMaxFadeMs)
        return std::nullopt;
    return static_cast<int32_t>(std::lround(seconds * 1000));
}

}  // namespace

bool IsMusicMixOption(const std::string& option) {
    if (option == kEvenLoudness) return true;
    for (const SecondsOption& known : kSecondsOptions)
        if (option == known.name) return true;
    return false;
}

base::Status ParseMusicMixOption(const std::string& option, const std::string& value,
                                 MusicMixOverrides& overrides) {
    if (option == kEvenLoudness) {
        if (value != "on" && value != "off")
            return base::MakeFault(option + " must be on or off", base::FaultKind::Refused);
        overrides.evenLoudness = value == "on";
        return {};
    }
    for (const SecondsOption& known : kSecondsOptions) {
        if (option != known.name) continue;
        const std::optional<int32_t> ms = ParseSeconds(value);
        if (!ms)
            return base::MakeFault(
                option + " must be seconds from 0 to " + std::to_string(sound::kMaxFadeMs / 1000),
                base::FaultKind::Refused);
        overrides.*known.field = ms;
        return {};
    }
    return base::MakeFault("unknown option " + option, base::FaultKind::Refused);
}

void ApplyMusicMixOverrides(const MusicMixOverrides& overrides, model::TslSettings& settings) {
    if (overrides.fadeInMs) settings.MusicFadeInMs = *overrides.fadeInMs;
    if (overrides.fadeOutMs) settings.MusicFadeOutMs = *overrides.fadeOutMs;
    if (overrides.crossfadeMs) settings.MusicCrossfadeMs = *overrides.crossfadeMs;
    if (overrides.evenLoudness) settings.EvenLoudness = *overrides.evenLoudness;
}

}  // namespace cli
