#include "model/MotionFit.h"

#include <string>

#include "model/PerImage.h"

namespace model {

const char* const kMotionFitSection = "motionfit";

const char* MotionFitLabel(MotionFit fit) {
    switch (fit) {
        case MotionFit::Fill:
            return "Fill the frame";
        case MotionFit::Whole:
            return "Whole picture";
        case MotionFit::Auto:
            break;
    }
    return "Auto";
}

std::optional<MotionFit> ParseMotionFit(std::string_view text) {
    if (const auto value = ValueOfName(kMotionFitNames, text))
        return static_cast<MotionFit>(*value);
    return std::nullopt;
}

const char* MotionFitName(MotionFit fit) {
    return NameOfValue(kMotionFitNames, static_cast<uint8_t>(fit));
}

std::optional<MotionFit> OwnMotionFit(const IniFile& notes, std::string_view path) {
    const std::optional<std::string> own = OwnEntry(notes, kMotionFitSection, path);
    // A damaged entry counts as the show's choice.
    return own ? ParseMotionFit(*own) : std::nullopt;
}

void SetOwnMotionFit(IniFile& notes, std::string_view path, const std::optional<MotionFit>& fit) {
    SetOwnEntry(notes, kMotionFitSection, path,
                fit ? std::optional<std::string>(MotionFitName(*fit)) : std::nullopt);
}

}  // namespace model
