// The beats the length pass found in a music file, as the store keeps them
// under "MusicBeats": the tempo and each beat's time in the file, read back
// as untrusted text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/IniFile.h"

namespace model {

struct StoredBeats {
    // Beats a minute; 0 for a file measured without a steady beat.
    double tempo = 0;
    // Milliseconds from the file's start, ascending.
    std::vector<int32_t> beatsMs;
    friend bool operator==(const StoredBeats&, const StoredBeats&) = default;
};

// "none" for a file without a steady beat, else the tempo to the hundredth
// and the beats' milliseconds, separated by spaces.
std::string BeatsText(const StoredBeats& beats);
// nullopt for an empty text (not measured yet) and for one that is garbled:
// not numbers, a tempo outside 1 .. 1000, beats out of order, negative or
// more than kMaxStoredBeats; a file then counts as one without beats.
std::optional<StoredBeats> ParseBeatsText(const std::string& text);
// A beat every 60 ms for a day: far more than any music file holds.
inline constexpr size_t kMaxStoredBeats = 1'500'000;

// The stored beats of a music file by its path.
std::optional<StoredBeats> BeatsOf(const IniFile& store, const std::string& path);

}  // namespace model
