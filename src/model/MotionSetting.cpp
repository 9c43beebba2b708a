#include "model/MotionSetting.h"

#include <charconv>

#include "model/PerImage.h"

namespace model {

const MotionKindName kMotionKinds[9] = {
    {MotionKind::None, "none", "None"},
    {MotionKind::Auto, "auto", "Auto"},
    {MotionKind::ZoomIn, "zoom-in", "Zoom in"},
    {MotionKind::ZoomOut, "zoom-out", "Zoom out"},
    {MotionKind::PanLeft, "pan-left", "Pan left"},
    {MotionKind::PanRight, "pan-right", "Pan right"},
    {MotionKind::PanUp, "pan-up", "Pan up"},
    {MotionKind::PanDown, "pan-down", "Pan down"},
    {MotionKind::Random, "random", "Random"},
};

const char* const kMotionSection = "motion";

const MotionKindName& MotionKindInfo(MotionKind kind) {
    for (const MotionKindName& entry : kMotionKinds)
        if (entry.kind == kind) return entry;
    return kMotionKinds[0];
}

std::optional<MotionSetting> ParseMotion(std::string_view text) {
    const size_t colon = text.find(':');
    const std::string_view name = text.substr(0, colon);
    MotionSetting motion;
    bool known = false;
    for (const MotionKindName& entry : kMotionKinds)
        if (name == entry.name) motion.kind = entry.kind, known = true;
    if (!known) return std::nullopt;
    if (colon == std::string_view::npos) return motion;
    const std::string_view digits = text.substr(colon + 1);
    int strength = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), strength);
    if (error != std::errc() || end != digits.data() + digits.size() ||
        strength < kMinMotionStrength || strength > kMaxMotionStrength)
        return std::nullopt;
    motion.strength = strength;
    return motion;
}

std::string MotionText(const MotionSetting& motion) {
    const std::string name = MotionKindInfo(motion.kind).name;
    if (motion.kind == MotionKind::None) return name;
    return name + ":" + std::to_string(motion.strength);
}

std::optional<MotionSetting> OwnMotion(const IniFile& notes, std::string_view path) {
    const std::optional<std::string> own = OwnEntry(notes, kMotionSection, path);
    if (!own) return std::nullopt;
    // A damaged entry counts as the show's motion rather than as none.
    return ParseMotion(*own);
}

void SetOwnMotion(IniFile& notes, std::string_view path,
                  const std::optional<MotionSetting>& motion) {
    SetOwnEntry(notes, kMotionSection, path,
                motion ? std::optional<std::string>(MotionText(*motion)) : std::nullopt);
}

}  // namespace model
