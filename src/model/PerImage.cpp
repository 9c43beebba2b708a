#include "model/PerImage.h"

#include "model/MediaPaths.h"
#include "model/MotionSetting.h"
#include "model/Settings.h"
#include "model/Text.h"

namespace model {

const char* const kCaptionsSection = "captions";
const char* const kIntervalsSection = "intervals";
const char* const kEffectsSection = "effects";

std::span<const char* const> PerPictureSections() {
    static const char* const sections[] = {kCaptionsSection, kIntervalsSection, kEffectsSection,
                                           kMotionSection};
    return sections;
}

std::optional<std::string> OwnEntry(const IniFile& store, std::string_view section,
                                    std::string_view path) {
    for (const std::string& key : {ImagePathKey(path), ImageKey(path)})
        if (store.ValueExists(section, key)) return store.ReadString(section, key, "");
    return std::nullopt;
}

std::optional<std::string> OwnEntry(std::string_view section, std::string_view path) {
    return OwnEntry(OptionsStore(), section, path);
}

void SetOwnEntry(std::string_view section, std::string_view path,
                 const std::optional<std::string>& value) {
    IniFile& store = OptionsStore();
    if (value) {
        store.WriteString(section, ImagePathKey(path), *value);
        return;
    }
    store.DeleteKey(section, ImagePathKey(path));
    store.DeleteKey(section, ImageKey(path));
}

void AdoptFileNameKeys(std::string_view section, std::span<const std::string> paths) {
    IniFile& store = OptionsStore();
    if (!store.SectionExists(section)) return;
    std::vector<std::string> adopted;
    for (const std::string& path : paths) {
        std::string nameKey = ImageKey(path);
        if (!store.ValueExists(section, nameKey)) continue;
        const std::string pathKey = ImagePathKey(path);
        if (!store.ValueExists(section, pathKey))
            store.WriteString(section, pathKey, store.ReadString(section, nameKey, ""));
        adopted.push_back(std::move(nameKey));
    }
    for (const std::string& nameKey : adopted) store.DeleteKey(section, nameKey);
}

int32_t IntervalOf(std::string_view path) {
    const std::optional<std::string> own = OwnEntry(kIntervalsSection, path);
    return own ? ParseInteger(*own).value_or(Settings.ImageInterval) : Settings.ImageInterval;
}

bool HasOwnInterval(std::string_view path) {
    return OwnEntry(kIntervalsSection, path).has_value();
}

StyleSet EffectsOf(std::string_view path) {
    return EffectsOf(path, Settings.useeffects);
}

StyleSet EffectsOf(std::string_view path, const StyleSet& showSet) {
    const std::optional<std::string> own = OwnEntry(kEffectsSection, path);
    return own ? ParseStyleSet(*own) : showSet;
}

std::string CaptionOf(std::string_view path) {
    return OwnEntry(kCaptionsSection, path).value_or(CaptionDefault(path));
}

}  // namespace model
