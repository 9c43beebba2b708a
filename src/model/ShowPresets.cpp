#include "model/ShowPresets.h"

#include <algorithm>
#include <array>

#include "model/Settings.h"
#include "model/Text.h"
#include "model/VideoFormatKeys.h"

namespace model {

namespace {

// The record's numbers by the names projects store them under, so a row
// reads as the command line would set it; a name the tables lack does not
// compile.
consteval uint8_t Named(std::span<const NamedValue> names, std::string_view name) {
    for (const NamedValue& n : names)
        if (name == n.name) return n.value;
    throw "no such name in the table";
}
consteval uint8_t Format(std::string_view name) {
    return Named(kVideoFormatNames, name);
}
consteval uint8_t Shape(std::string_view name) {
    return Named(kVideoShapeNames, name);
}
consteval uint8_t Rate(std::string_view name) {
    return Named(kVideoRateNames, name);
}

// The screens a show is made for. A television or computer gets the
// smoothest rate its standard's sets show without judder (50 or 60); a phone
// or a social feed plays 30, which its own screen and the feeds expect,
// whatever the standard. The disc rows keep their standard's rate.
// clang-format off
constexpr std::array kPresets{
    ShowPreset{.label = "TV or computer", .name = "tv", .videoType = Format("mp4-1080p"),
               .shape = Shape("16:9"), .palRate = Rate("50"), .ntscRate = Rate("60")},
    ShowPreset{.label = "Phone, vertical", .name = "phone", .videoType = Format("mp4-1080p"),
               .shape = Shape("9:16"), .palRate = Rate("30"), .ntscRate = Rate("30")},
    ShowPreset{.label = "Square", .name = "square", .videoType = Format("mp4-1080p"),
               .shape = Shape("1:1"), .palRate = Rate("30"), .ntscRate = Rate("30")},
    ShowPreset{.label = "4K TV", .name = "4k-tv", .videoType = Format("mp4-4k"),
               .shape = Shape("16:9"), .palRate = Rate("50"), .ntscRate = Rate("60")},
    ShowPreset{.label = "DVD", .name = "dvd", .videoType = Format("dvd"), .shape = Shape("4:3")},
    ShowPreset{.label = "DVD, widescreen", .name = "dvd-wide", .videoType = Format("dvd"),
               .shape = Shape("16:9")},
    ShowPreset{.label = "SVCD", .name = "svcd", .videoType = Format("svcd"), .shape = Shape("4:3")},
    ShowPreset{.label = "VCD", .name = "vcd", .videoType = Format("vcd"), .shape = Shape("4:3")},
};
// clang-format on

}  // namespace

std::span<const ShowPreset> ShowPresets() {
    return kPresets;
}

const ShowPreset* PresetNamed(std::string_view name) {
    const std::string_view wanted = Trim(name);
    const auto found = std::find_if(kPresets.begin(), kPresets.end(), [&](const ShowPreset& p) {
        return EqualsNoCase(p.name, wanted) || EqualsNoCase(p.label, wanted);
    });
    return found == kPresets.end() ? nullptr : &*found;
}

std::string PresetNameList() {
    std::array<NamedValue, kPresets.size()> names{};
    for (size_t i = 0; i < kPresets.size(); ++i)
        names[i] = {static_cast<uint8_t>(i), kPresets[i].name};
    return NameList(names);
}

void ApplyPreset(TslSettings& s, const ShowPreset& preset) {
    s.VideoType = preset.videoType;
    // Every row's shape is one its format is made in.
    if (!SetBuildAspect(s, preset.shape)) return;
    if (IsMp4Format(preset.videoType)) s.VideoRate = preset.RateUnder(s.TVSet);
}

const ShowPreset* PresetOf(const TslSettings& s) {
    const auto found = std::find_if(kPresets.begin(), kPresets.end(), [&](const ShowPreset& p) {
        return s.VideoType == p.videoType && BuildAspect(s) == p.shape &&
               (!IsMp4Format(p.videoType) || s.VideoRate == p.RateUnder(s.TVSet));
    });
    return found == kPresets.end() ? nullptr : &*found;
}

}  // namespace model
