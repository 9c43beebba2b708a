#include "model/VideoFormatKeys.h"

#include <algorithm>
#include <array>

#include "model/IniFile.h"
#include "model/Settings.h"
#include "model/SettingsKeys.h"
#include "model/Text.h"

namespace model {

std::optional<uint8_t> ValueOfName(std::span<const NamedValue> names, std::string_view name) {
    const auto found = std::find_if(names.begin(), names.end(), [&](const NamedValue& n) {
        return EqualsNoCase(n.name, Trim(name));
    });
    if (found == names.end()) return std::nullopt;
    return found->value;
}

const char* NameOfValue(std::span<const NamedValue> names, int value) {
    const auto found = std::find_if(names.begin(), names.end(),
                                    [&](const NamedValue& n) { return n.value == value; });
    return found == names.end() ? nullptr : found->name;
}

std::string NameList(std::span<const NamedValue> names) {
    std::string list;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) list += i + 1 == names.size() ? " or " : ", ";
        list += names[i].name;
    }
    return list;
}

bool IsMp4Format(int videoType) {
    return videoType >= 3 && videoType <= 5;
}

namespace {

// Each format's shapes and the record's field that keeps its choice (none
// where there is no choice). 4:5 is the last shape, and made 1080 wide only.
struct FormatShapes {
    uint8_t videoType;
    uint8_t TslSettings::*field;
    std::span<const NamedValue> shapes;
};
constexpr std::array<NamedValue, 1> kFourThreeOnly{{{1, "4:3"}}};
constexpr std::span<const NamedValue> kAllShapes(kVideoShapeNames);
constexpr std::array<FormatShapes, 6> kFormatShapes{{
    {0, nullptr, kFourThreeOnly},
    {1, nullptr, kFourThreeOnly},
    {2, &TslSettings::DvdAspect, kDvdAspectNames},
    {3, &TslSettings::VideoAspect, kAllShapes.first(4)},
    {4, &TslSettings::VideoAspect, kAllShapes},
    {5, &TslSettings::VideoAspect, kAllShapes.first(4)},
}};

const FormatShapes* FormatShapesOf(int videoType) {
    for (const FormatShapes& row : kFormatShapes)
        if (row.videoType == videoType) return &row;
    return nullptr;
}

}  // namespace

std::span<const NamedValue> ShapesOf(int videoType) {
    const FormatShapes* row = FormatShapesOf(videoType);
    return row ? row->shapes : std::span<const NamedValue>{};
}

uint8_t BuildAspect(const TslSettings& s) {
    const FormatShapes* row = FormatShapesOf(s.VideoType);
    return row && row->field ? s.*row->field : kFourThreeOnly[0].value;
}

bool SetBuildAspect(TslSettings& s, uint8_t aspect) {
    const FormatShapes* row = FormatShapesOf(s.VideoType);
    if (!row || !NameOfValue(row->shapes, aspect)) return false;
    if (row->field) s.*row->field = aspect;
    return true;
}

base::Status CheckVideoKeys(const IniFile& store) {
    for (const SettingsKey& key : SettingsKeys()) {
        const auto* named = std::get_if<NamedField>(&key.field);
        if (named == nullptr || !store.ValueExists(key.section, key.name)) continue;
        const std::string name = store.ReadString(key.section, key.name, "");
        if (!ValueOfName(named->names, name))
            return base::MakeFault("the " + std::string(named->what) + " \"" + name +
                                       "\" is not one this program knows (it knows " +
                                       NameList(named->names) + ").",
                                   base::FaultKind::BadData);
    }
    return {};
}

}  // namespace model
