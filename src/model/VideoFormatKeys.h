// The names of the video format, aspect and quality of a show, as stored
// under "VideoFormat" (vcd, svcd, dvd, mp4-720p, mp4-1080p, mp4-4k),
// "VideoAspect" (16:9, 4:3) and "VideoQuality" (standard, high) in the
// "Set" section (rows of the settings key table, SettingsKeys.h). The
// numeric "VideoType" is still written beside them, and read alone from
// projects saved before the MP4 formats. The names are the command line's.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace model {

class IniFile;

struct NamedValue {
    uint8_t value;
    const char* name;
};

// VideoType numbers 0 to 5, the record's VideoAspect (0 is 16:9) and
// VideoQuality (0 is Standard).
inline constexpr std::array<NamedValue, 6> kVideoFormatNames{{
    {0, "vcd"},
    {1, "svcd"},
    {2, "dvd"},
    {3, "mp4-720p"},
    {4, "mp4-1080p"},
    {5, "mp4-4k"},
}};
inline constexpr std::array<NamedValue, 2> kVideoAspectNames{{{0, "16:9"}, {1, "4:3"}}};
inline constexpr std::array<NamedValue, 2> kVideoQualityNames{{{0, "standard"}, {1, "high"}}};

// The value of a name (letter case ignored), or nullopt.
std::optional<uint8_t> ValueOfName(std::span<const NamedValue> names, std::string_view name);
// The name of a value, or nullptr.
const char* NameOfValue(std::span<const NamedValue> names, int value);
// "a, b or c", for messages.
std::string NameList(std::span<const NamedValue> names);

// The MP4 formats: square pixels, an aspect and a quality, no disc.
bool IsMp4Format(int videoType);

// Why the store's video keys cannot be used (a format, aspect or quality
// this program does not know, named), or ok.
[[nodiscard]] base::Status CheckVideoKeys(const IniFile& store);

}  // namespace model
