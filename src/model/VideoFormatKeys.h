// The names of the video format, aspect, quality and frame rate of a show,
// as stored under "VideoFormat" (vcd, svcd, dvd, mp4-720p, mp4-1080p,
// mp4-4k), "VideoShape" (16:9, 4:3, 9:16, 1:1, 4:5), "VideoQuality"
// (standard, high), "VideoRate" (tv, 24, 25, 30, 50, 60, 29.97, 59.94) and
// "DvdAspect" (4:3, 16:9) in the "Set" section (rows of the settings key
// table, SettingsKeys.h). Older keys are still written beside them where
// they can say the same, and read alone from projects saved before: the
// numeric "VideoType", and "VideoAspect" (16:9, 4:3), so a program that
// knows only those builds a new project as near as it can. The names are
// the command line's.
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
// The record's VideoAspect: the shapes of FrameAspect (EncoderPresets.h).
inline constexpr std::array<NamedValue, 5> kVideoShapeNames{
    {{0, "16:9"}, {1, "4:3"}, {2, "9:16"}, {3, "1:1"}, {4, "4:5"}}};
// The record's VideoRate: RateChoice numbers (FrameRates.h). "tv" is the
// standard's rate (25 or 29.97); the exact NTSC rates are also taken as
// written as fractions.
inline constexpr std::array<NamedValue, 10> kVideoRateNames{{
    {0, "tv"},
    {1, "24"},
    {2, "25"},
    {3, "30"},
    {4, "50"},
    {5, "60"},
    {6, "29.97"},
    {7, "59.94"},
    {6, "30000/1001"},
    {7, "60000/1001"},
}};
inline constexpr std::array<NamedValue, 2> kVideoQualityNames{{{0, "standard"}, {1, "high"}}};
// The DVD's shape, numbered as VideoAspect. A key of its own, 4:3 unless
// stored: every show saved before it holds VideoAspect=16:9 (the MP4
// default, written whatever the format), which a DVD never followed.
inline constexpr std::array<NamedValue, 2> kDvdAspectNames{{{0, "16:9"}, {1, "4:3"}}};

// The record's Subtitles, "Subtitles" in [Set]: the MP4 video carries its
// captions as a subtitle track, or an SRT file is written beside it (video
// sites take one as captions viewers switch on), or neither. Disc formats
// have none.
inline constexpr std::array<NamedValue, 3> kSubtitleNames{{{0, "track"}, {1, "file"}, {2, "off"}}};
enum class SubtitleMode : uint8_t { Track = 0, File = 1, Off = 2 };

// The value of a name (letter case ignored), or nullopt.
std::optional<uint8_t> ValueOfName(std::span<const NamedValue> names, std::string_view name);
// The name of a value, or nullptr.
const char* NameOfValue(std::span<const NamedValue> names, int value);
// "a, b or c", for messages.
std::string NameList(std::span<const NamedValue> names);

// The MP4 formats: square pixels, an aspect and a quality, no disc.
bool IsMp4Format(int videoType);

// The shapes a format (VideoType) is offered in, as VideoAspect numbers and
// names them: every shape at MP4 1080p, all but 4:5 at 720p and 4K, 16:9 and
// 4:3 for DVD, 4:3 alone for VCD and SVCD; empty for a format there is not.
std::span<const NamedValue> ShapesOf(int videoType);
// The shape the show is built in, as VideoAspect numbers it: VideoAspect for
// the MP4 formats, DvdAspect for DVD; VCD and SVCD are 4:3 only.
uint8_t BuildAspect(const TslSettings& s);
// Sets the shape of the show's format to 'aspect' (VideoAspect numbers).
// False, and nothing changed, when the format is not offered in that shape.
[[nodiscard]] bool SetBuildAspect(TslSettings& s, uint8_t aspect);

// Why the store's video keys cannot be used (a format, aspect or quality
// this program does not know, named), or ok.
[[nodiscard]] base::Status CheckVideoKeys(const IniFile& store);

}  // namespace model
