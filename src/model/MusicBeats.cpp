#include "model/MusicBeats.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace model {
namespace {

constexpr const char* kMusicBeats = "MusicBeats";
constexpr const char* kNone = "none";

}  // namespace

std::string BeatsText(const StoredBeats& beats) {
    if (beats.tempo <= 0 || beats.beatsMs.empty()) return kNone;
    char tempo[32];
    std::snprintf(tempo, sizeof tempo, "%.2f", beats.tempo);
    std::string text = tempo;
    text.reserve(text.size() + beats.beatsMs.size() * 7);
    for (int32_t ms : beats.beatsMs) text += ' ' + std::to_string(ms);
    return text;
}

std::optional<StoredBeats> ParseBeatsText(const std::string& text) {
    if (text == kNone) return StoredBeats{};
    const char* at = text.data();
    const char* const end = at + text.size();
    StoredBeats beats;
    // from_chars: no locale, no exceptions, and it stops at the first byte
    // that is not part of a number.
    const auto [afterTempo, tempoError] = std::from_chars(at, end, beats.tempo);
    if (tempoError != std::errc() || !std::isfinite(beats.tempo) || beats.tempo < 1 ||
        beats.tempo > 1000)
        return std::nullopt;
    at = afterTempo;
    while (at != end) {
        if (*at != ' ') return std::nullopt;
        ++at;
        int32_t ms = 0;
        const auto [after, error] = std::from_chars(at, end, ms);
        if (error != std::errc() || ms < 0 ||
            (!beats.beatsMs.empty() && ms <= beats.beatsMs.back()) ||
            beats.beatsMs.size() >= kMaxStoredBeats)
            return std::nullopt;
        beats.beatsMs.push_back(ms);
        at = after;
    }
    if (beats.beatsMs.empty()) return std::nullopt;
    return beats;
}

std::optional<StoredBeats> BeatsOf(const IniFile& store, const std::string& path) {
    return ParseBeatsText(store.ReadString(kMusicBeats, path, ""));
}

}  // namespace model
