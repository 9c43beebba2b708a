#include "model/MusicMixSettings.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "model/Settings.h"

namespace model {
namespace {

constexpr const char* kSet = "Set";
constexpr const char* kMusicLoudness = "MusicLoudness";

}  // namespace

void LoadMusicMixSettings(const IniFile& store, TslSettings& s) {
    const bool freshStore = store.ReadSection(kSet).empty();
    s.MusicFadeInMs = store.ReadInteger(kSet, "MusicFadeInMs", 0);
    s.MusicFadeOutMs =
        store.ReadInteger(kSet, "MusicFadeOutMs", freshStore ? kNewShowFadeOutMs : 0);
    s.MusicCrossfadeMs = store.ReadInteger(kSet, "MusicCrossfadeMs", 0);
    s.EvenLoudness = store.ReadBool(kSet, "EvenLoudness", false);
}

void SaveMusicMixSettings(IniFile& store, const TslSettings& s) {
    store.WriteInteger(kSet, "MusicFadeInMs", s.MusicFadeInMs);
    store.WriteInteger(kSet, "MusicFadeOutMs", s.MusicFadeOutMs);
    store.WriteInteger(kSet, "MusicCrossfadeMs", s.MusicCrossfadeMs);
    store.WriteBool(kSet, "EvenLoudness", s.EvenLoudness);
}

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
