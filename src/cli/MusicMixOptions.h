// The build command's music options: --fade-in, --fade-out and --crossfade
// in seconds (0 to 10, decimals allowed) and --even-loudness on|off, each
// overriding the project's stored value when given.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/Result.h"

namespace model {
struct TslSettings;
}

namespace cli {

struct MusicMixOverrides {
    std::optional<int32_t> fadeInMs;
    std::optional<int32_t> fadeOutMs;
    std::optional<int32_t> crossfadeMs;
    std::optional<bool> evenLoudness;
};

bool IsMusicMixOption(const std::string& option);
// Reads one option's value into 'overrides', or says what is wrong with it.
[[nodiscard]] base::Status ParseMusicMixOption(const std::string& option, const std::string& value,
                                               MusicMixOverrides& overrides);
void ApplyMusicMixOverrides(const MusicMixOverrides& overrides, model::TslSettings& settings);

}  // namespace cli
