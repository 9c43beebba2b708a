// Per-picture caption, interval and effect set, read from the working store
// under the picture's image key; a missing key means the show-wide value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/StyleSet.h"

namespace model {

// Store sections of per-picture data, keyed by ImageKey().
extern const char* const kCaptionsSection;
extern const char* const kIntervalsSection;
extern const char* const kEffectsSection;

// Seconds the picture stays on screen: its own interval, else (also when
// the stored text is not a number) Settings.ImageInterval.
int32_t IntervalOf(std::string_view path);
bool HasOwnInterval(std::string_view path);

// The picture's own effect set, else Settings.useeffects, or else the show's
// set given (a snapshot of the settings).
StyleSet EffectsOf(std::string_view path);
StyleSet EffectsOf(std::string_view path, const StyleSet& showSet);

// The picture's own caption, else CaptionDefault(path).
std::string CaptionOf(std::string_view path);

}  // namespace model
