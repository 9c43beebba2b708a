#include "model/MusicMixSettings.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace model {
namespace {

constexpr const char* kMusicLoudness = "MusicLoudness";

}  // namespace

std::string LoudnessText(std::optional<StoredLoudness> loudness) {
    if (!loudness) return "none";
    char text[64];
    std::snprintf(text, sizeof text, "%.2f %.5f", loudness->lufs, loudness->peak);
    return text;
}

std::optional<StoredLoudness> ParseLoudnessText(const std::string& text) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    StoredLoudness loudness;
    if (!(in >> loudness.lufs >> loudness.peak) || !std::isfinite(loudness.lufs) ||
        !std::isfinite(loudness.peak) || loudness.peak <= 0)
        return std::nullopt;
    return loudness;
}

std::optional<StoredLoudness> LoudnessOf(const IniFile& store, const std::string& path) {
    return ParseLoudnessText(store.ReadString(kMusicLoudness, path, ""));
}

}  // namespace model
