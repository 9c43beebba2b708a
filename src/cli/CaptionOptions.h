// The build command's caption options: --caption-font NAME, --caption-size
// PERCENT (of the frame's height, 2 to 20), --caption-position
// bottom|top|centre and --caption-align left|centre|right, each overriding
// the show's caption style when given (pictures with a style of their own
// keep it).
#pragma once

#include <optional>
#include <string>

#include "base/Result.h"
#include "model/CaptionStyle.h"

namespace model {
struct TslSettings;
}

namespace cli {

struct CaptionOverrides {
    std::optional<std::string> font;
    std::optional<double> sizePercent;
    std::optional<model::CaptionPosition> position;
    std::optional<model::CaptionAlign> align;
};

bool IsCaptionOption(const std::string& option);
// Reads one option's value into 'overrides', or says what is wrong with it.
[[nodiscard]] base::Status ParseCaptionOption(const std::string& option, const std::string& value,
                                              CaptionOverrides& overrides);
void ApplyCaptionOverrides(const CaptionOverrides& overrides, model::TslSettings& settings);

}  // namespace cli
