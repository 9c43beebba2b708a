// The names of the video format, aspect and quality of a show, as stored
// under "VideoFormat" (vcd, svcd, dvd, mp4-720p, mp4-1080p, mp4-4k),
// "VideoAspect" (16:9, 4:3), "VideoQuality" (standard, high) and
// "DvdAspect" (4:3, 16:9) in the "Set" section (rows of the settings key
// table, SettingsKeys.h). The numeric "VideoType" is still written beside
// them, and read alone from projects saved before the MP4 formats. The names
// are the command line's.
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
struct TslSettings;

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
// The DVD's shape, numbered as VideoAspect. A key of its own, 4:3 unless
// stored: every show saved before it holds VideoAspect=16:9 (the MP4
// default, written whatever the format), which a DVD never followed.
inline constexpr std::array<NamedValue, 2> kDvdAspectNames{{{0, "16:9"}, {1, "4:3"}}};

// The value of a name (letter case ignored), or nullopt.
std::optional<uint8_t> ValueOfName(std::span<const NamedValue> names, std::string_view name);
// The name of a value, or nullptr.
const char* NameOfValue(std::span<const NamedValue> names, int value);
// "a, b or c", for messages.
std::string NameList(std::span<const NamedValue> names);

// The MP4 formats: square pixels, an aspect and a quality, no disc.
bool IsMp4Format(int videoType);

// The shape the show is built in, as VideoAspect numbers it: VideoAspect for
// the MP4 formats, DvdAspect for DVD; VCD and SVCD are 4:3 only.
uint8_t BuildAspect(const TslSettings& s);
// Sets the shape of the show's format to 'aspect' (VideoAspect numbers).
// False, and nothing changed, when the format does not come in that shape.
[[nodiscard]] bool SetBuildAspect(TslSettings& s, uint8_t aspect);

// Why the store's video keys cannot be used (a format, aspect or quality
// this program does not know, named), or ok.
[[nodiscard]] base::Status CheckVideoKeys(const IniFile& store);

}  // namespace model
