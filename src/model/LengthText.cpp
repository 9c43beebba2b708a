#include "model/LengthText.h"

#include <cstdio>

namespace model {

std::string FormatSeconds(int64_t seconds) {
    if (seconds < 0) seconds = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02d:%02d", static_cast<long long>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

std::string FormatClock(int64_t seconds) {
    if (seconds < 0) seconds = 0;
    if (seconds >= 3600) return FormatSeconds(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02d", static_cast<long long>(seconds / 60),
                  static_cast<int>(seconds % 60));
    return text;
}

std::string FormatLengthText(int64_t milliseconds) {
    if (milliseconds < 1) return "0:00:00";
    return FormatSeconds(milliseconds / 1000);
}

}  // namespace model
