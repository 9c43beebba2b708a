#include "showbuild/ProgressText.h"

#include "model/LengthText.h"

namespace video {

namespace {

int64_t WholeSeconds(double seconds) {
    if (!(seconds > 0)) return 0;  // also NaN
    if (seconds > 1e12) return static_cast<int64_t>(1e12);
    return static_cast<int64_t>(seconds);
}

}  // namespace

std::string ProgressLabelText(int kind, int64_t value, int64_t totalFrames) {
    switch (kind) {
        case 0:
            return "";
        case 1:
            return "Preparing...";
        case 2:
            return "Couting...";
        case 3: {
            const int64_t percent = totalFrames > 0 ? value * 100 / totalFrames : 0;
            return "Progress: " + std::to_string(percent) + "%";
        }
        default:
            return "...";
    }
}

std::string RemainingTimeText(double seconds) {
    return "Remaining Time: " + model::FormatSeconds(WholeSeconds(seconds));
}

}  // namespace video
