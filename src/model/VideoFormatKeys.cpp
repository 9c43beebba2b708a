#include "model/VideoFormatKeys.h"

#include <algorithm>

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

constexpr uint8_t kDvdType = 2;
constexpr uint8_t kFourThree = 1;

}  // namespace

uint8_t BuildAspect(const TslSettings& s) {
    if (IsMp4Format(s.VideoType)) return s.VideoAspect;
    return s.VideoType == kDvdType ? s.DvdAspect : kFourThree;
}

bool SetBuildAspect(TslSettings& s, uint8_t aspect) {
    if (IsMp4Format(s.VideoType)) {
        if (!NameOfValue(kVideoAspectNames, aspect)) return false;
        s.VideoAspect = aspect;
    } else if (s.VideoType == kDvdType) {
        if (!NameOfValue(kDvdAspectNames, aspect)) return false;
        s.DvdAspect = aspect;
    } else {
        return aspect == kFourThree;
    }
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
