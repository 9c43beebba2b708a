#include "music/MPEGError.h"

#include <algorithm>
#include <array>

namespace music {

std::string MPEGErrorMessage(int32_t code) {
    static constexpr std::array<const char*, 6> kMessages = {
        "MPEG library not loaded", "Internal decoder error",       "Incorrect mode",
        "Input stream error",      "Input stream is non-seekable", "Output device failure",
    };
    if (code >= 0 && code < static_cast<int32_t>(kMessages.size())) return kMessages[code];
    return "MPEG library error " + std::to_string(code);
}

TMPEGError MPEGErrorFor(int32_t code) {
    return TMPEGError(MPEGErrorMessage(code), static_cast<uint8_t>(std::clamp(code, 0, 255)));
}

}  // namespace music
