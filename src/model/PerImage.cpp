#include "model/PerImage.h"

#include "model/CaptionStyle.h"
#include "model/IniFile.h"
#include "model/MediaPaths.h"
#include "model/MotionFit.h"
#include "model/MotionSetting.h"
#include "model/PictureFocus.h"

namespace model {

const char* const kCaptionsSection = "captions";
const char* const kIntervalsSection = "intervals";
const char* const kEffectsSection = "effects";

std::span<const char* const> PerPictureSections() {
    static const char* const sections[] = {kCaptionsSection,    kIntervalsSection, kEffectsSection,
                                           kMotionSection,      kMotionFitSection, kFocusSection,
                                           kCaptionStyleSection};
    return sections;
}

std::optional<std::string> OwnEntry(const IniFile& notes, std::string_view section,
                                    std::string_view path) {
    for (const std::string& key : {ImagePathKey(path), ImageKey(path)})
        if (notes.ValueExists(section, key)) return notes.ReadString(section, key, "");
    return std::nullopt;
}

void SetOwnEntry(IniFile& notes, std::string_view section, std::string_view path,
                 const std::optional<std::string>& value) {
    if (value) {
        notes.WriteString(section, ImagePathKey(path), *value);
        return;
    }
    notes.DeleteKey(section, ImagePathKey(path));
    notes.DeleteKey(section, ImageKey(path));
}

void AdoptFileNameKeys(IniFile& notes, std::string_view section,
                       std::span<const std::string> paths) {
    if (!notes.SectionExists(section)) return;
    std::vector<std::string> adopted;
    for (const std::string& path : paths) {
        std::string nameKey = ImageKey(path);
        if (!notes.ValueExists(section, nameKey)) continue;
        const std::string pathKey = ImagePathKey(path);
        if (!notes.ValueExists(section, pathKey))
            notes.WriteString(section, pathKey, notes.ReadString(section, nameKey, ""));
        adopted.push_back(std::move(nameKey));
    }
    for (const std::string& nameKey : adopted) notes.DeleteKey(section, nameKey);
}

}  // namespace model
