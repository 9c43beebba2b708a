#include "model/PerImage.h"

#include "model/MediaPaths.h"
#include "model/Settings.h"

namespace model {

const char* const kCaptionsSection = "captions";
const char* const kIntervalsSection = "intervals";
const char* const kEffectsSection = "effects";

int32_t IntervalOf(std::string_view path) {
    return OptionsStore().ReadInteger(kIntervalsSection, ImageKey(path), Settings.ImageInterval);
}

bool HasOwnInterval(std::string_view path) {
    return OptionsStore().ValueExists(kIntervalsSection, ImageKey(path));
}

StyleSet EffectsOf(std::string_view path) {
    return EffectsOf(path, Settings.useeffects);
}

StyleSet EffectsOf(std::string_view path, const StyleSet& showSet) {
    const IniFile& store = OptionsStore();
    const std::string key = ImageKey(path);
    if (!store.ValueExists(kEffectsSection, key)) return showSet;
    return ParseStyleSet(store.ReadString(kEffectsSection, key, ""));
}

std::string CaptionOf(std::string_view path) {
    const IniFile& store = OptionsStore();
    const std::string key = ImageKey(path);
    if (!store.ValueExists(kCaptionsSection, key)) return CaptionDefault(path);
    return store.ReadString(kCaptionsSection, key, "");
}

}  // namespace model
