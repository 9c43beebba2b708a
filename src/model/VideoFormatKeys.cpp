#include "model/VideoFormatKeys.h"

#include <algorithm>

#include "model/IniFile.h"
#include "model/Settings.h"
#include "model/Text.h"

namespace model {

namespace {

constexpr const char* kSet = "Set";

struct VideoKey {
    const char* key;
    std::span<const NamedValue> names;
    const char* what;  // for the refusal
    uint8_t TslSettings::*field;
};
const std::array<VideoKey, 3> kVideoKeys{{
    {"VideoFormat", kVideoFormatNames, "video format", &TslSettings::VideoType},
    {"VideoAspect", kVideoAspectNames, "aspect", &TslSettings::VideoAspect},
    {"VideoQuality", kVideoQualityNames, "quality", &TslSettings::VideoQuality},
}};

}  // namespace

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

void ReadVideoKeys(const IniFile& store, TslSettings& s) {
    const TslSettings defaults;
    s.VideoType = static_cast<uint8_t>(store.ReadInteger(kSet, "VideoType", defaults.VideoType));
    s.VideoAspect = defaults.VideoAspect;
    s.VideoQuality = defaults.VideoQuality;
    for (const VideoKey& key : kVideoKeys)
        if (const auto value = ValueOfName(key.names, store.ReadString(kSet, key.key, "")))
            s.*key.field = *value;
}

void WriteVideoKeys(IniFile& store, const TslSettings& s) {
    store.WriteInteger(kSet, "VideoType", s.VideoType);
    for (const VideoKey& key : kVideoKeys) {
        // A number without a name (a hand-edited VideoType) is kept in
        // VideoType alone, so that it still says what it said.
        if (const char* name = NameOfValue(key.names, s.*key.field))
            store.WriteString(kSet, key.key, name);
        else
            store.DeleteKey(kSet, key.key);
    }
}

base::Status CheckVideoKeys(const IniFile& store) {
    for (const VideoKey& key : kVideoKeys) {
        if (!store.ValueExists(kSet, key.key)) continue;
        const std::string name = store.ReadString(kSet, key.key, "");
        if (!ValueOfName(key.names, name))
            return base::MakeFault("the " + std::string(key.what) + " \"" + name +
                                       "\" is not one this program knows (it knows " +
                                       NameList(key.names) + ").",
                                   base::FaultKind::BadData);
    }
    return {};
}

}  // namespace model
