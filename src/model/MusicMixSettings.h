// The music options of a show beyond the record's keys (fade-in, fade-out,
// crossfade and even loudness are rows of the settings key table): the
// fade-out of a new show, and the loudness the length pass measured for
// each music file.
#pragma once

#include <optional>
#include <string>

#include "model/IniFile.h"

namespace model {

// The fade-out a show gets when its store holds no settings at all (a first
// start, a new project). A store written before the fade existed keeps the
// hard cut its videos always had.
inline constexpr int32_t kNewShowFadeOutMs = 2000;

// A file's measured loudness, as the length pass keeps it: integrated
// loudness in LUFS and sample peak (full scale 1), or "none" for a file
// without a measurable loudness.
struct StoredLoudness {
    double lufs = 0;
    double peak = 0;
};
std::string LoudnessText(std::optional<StoredLoudness> loudness);
// nullopt for "none", an empty or a garbled text.
std::optional<StoredLoudness> ParseLoudnessText(const std::string& text);
// The stored loudness of a music file by its path ("MusicLoudness").
std::optional<StoredLoudness> LoudnessOf(const IniFile& store, const std::string& path);

}  // namespace model
