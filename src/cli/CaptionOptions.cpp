#include "cli/CaptionOptions.h"

#include <cstdio>

#include "model/Settings.h"

namespace cli {

namespace {

constexpr const char* kFont = "--caption-font";
constexpr const char* kSize = "--caption-size";
constexpr const char* kPosition = "--caption-position";
constexpr const char* kAlign = "--caption-align";

// Each option is read as the same field of a stored style would be, so the
// command line takes what a project holds and refuses what it would.
std::optional<model::CaptionStyle> ReadField(const char* field, const std::string& value) {
    return model::ParseCaptionStyle(std::string(field) + "=" + value);
}

}  // namespace

bool IsCaptionOption(const std::string& option) {
    return option == kFont || option == kSize || option == kPosition || option == kAlign;
}

base::Status ParseCaptionOption(const std::string& option, const std::string& value,
                                CaptionOverrides& overrides) {
    if (option == kFont) {
        // Fonts are chosen by family names, which never hold the separator.
        if (value.empty() || value.find(';') != std::string::npos)
            return base::MakeFault(std::string(kFont) + " needs a font family name");
        overrides.font = value;
    } else if (option == kSize) {
        const auto style = ReadField("size", value);
        if (!style || style->sizePercent == 0) {
            char range[64];
            std::snprintf(range, sizeof range, "%g to %g", model::kMinCaptionSizePercent,
                          model::kMaxCaptionSizePercent);
            return base::MakeFault(std::string(kSize) +
                                   " must be a percentage of the frame's height, " + range);
        }
        overrides.sizePercent = style->sizePercent;
    } else if (option == kPosition) {
        overrides.position = model::ParseCaptionPosition(value);
        if (!overrides.position)
            return base::MakeFault(std::string(kPosition) + " must be bottom, top or centre");
    } else if (option == kAlign) {
        const auto style = ReadField("align", value);
        if (!style) return base::MakeFault(std::string(kAlign) + " must be left, centre or right");
        overrides.align = style->align;
    }
    return {};
}

void ApplyCaptionOverrides(const CaptionOverrides& overrides, model::TslSettings& settings) {
    model::CaptionStyle& style = settings.Caption;
    if (overrides.font) style.font = *overrides.font;
    if (overrides.sizePercent) style.sizePercent = *overrides.sizePercent;
    if (overrides.position) style.position = *overrides.position;
    if (overrides.align) style.align = *overrides.align;
}

}  // namespace cli
