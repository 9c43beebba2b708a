#include "video/CaptionLayout.h"

#include <cstdint>

#include "base/Arith.h"
#include "video/EncoderPresets.h"
#include "video/ShowTiming.h"

namespace video {

int CharacterCount(std::string_view text) {
    int count = 0;
    for (unsigned char byte : text)
        if ((byte & 0xC0) != 0x80) ++count;
    return count;
}

std::optional<CaptionPlacement> PlaceCaption(int videoType, int32_t tvSet, std::string_view text) {
    const int n = CharacterCount(text);
    CaptionPlacement placement{};
    switch (videoType) {
        case 0: {
            const int64_t w = 9LL * n;
            placement = {17, static_cast<int>((352 - w) / 2), 265};
            break;
        }
        case 1: {
            const double w = 9.0 * n * 20 / 17;
            placement = {24, static_cast<int>(base::Trunc((480 - w) / 2)), 540};
            break;
        }
        case 2: {
            const double w = 9.0 * n * 33 / 17;
            placement = {36, static_cast<int>(base::Trunc((720 - w) / 2)), 530};
            break;
        }
        default:
            return std::nullopt;
    }
    if (placement.x < 0) placement.x = 1;
    // The PAL row would put the caption below an NTSC picture's last line.
    if (IsNtsc(tvSet)) {
        const EncoderPreset* pal = FindPreset(videoType, static_cast<int>(TvStandard::Pal));
        const EncoderPreset* ntsc = FindPreset(videoType, static_cast<int>(TvStandard::Ntsc));
        if (pal && ntsc) placement.y -= pal->height - ntsc->height;
    }
    return placement;
}

}  // namespace video
