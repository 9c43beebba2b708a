#include "video/FrameGeometry.h"

#include <algorithm>
#include <array>

namespace video {

namespace {

constexpr std::array<FrameFormat, 3> kFormats{{
    {0, "VCD", 320, 288, 4, 3},
    {1, "SVCD", 480, 576, 4, 3},
    {2, "DVD", 720, 576, 4, 3},
}};

}  // namespace

std::optional<FrameFormat> FrameFormatFor(int videoType) {
    for (const FrameFormat& format : kFormats)
        if (format.videoType == videoType) return format;
    return std::nullopt;
}

PictureRect FitPicture(int pictureWidth, int pictureHeight, int frameWidth, int frameHeight,
                       int displayWidth, int displayHeight) {
    const int64_t pw = pictureWidth, ph = pictureHeight;
    const int64_t fw = frameWidth, fh = frameHeight;
    const int64_t dw = displayWidth, dh = displayHeight;
    int64_t w, h;
    // Compare the display's proportions with the picture's, exactly.
    if (dw * ph >= dh * pw) {
        // Full height; the width in frame pixels is the display width the
        // picture needs, divided by the pixel's width (dw * fh) / (dh * fw).
        h = fh;
        w = pw * dh * fw / (ph * dw);
    } else {
        w = fw;
        h = ph * dw * fh / (pw * dh);
    }
    w = std::clamp<int64_t>(w, 1, fw);
    h = std::clamp<int64_t>(h, 1, fh);
    PictureRect rect;
    rect.x = static_cast<int>((fw - w) / 2);
    rect.y = static_cast<int>((fh - h) / 2);
    rect.width = frameWidth - 2 * rect.x;
    rect.height = frameHeight - 2 * rect.y;
    return rect;
}

DisplayBox DisplayBoxOf(const FrameFormat& format) {
    return DisplayBox{format.height * format.displayWidth / format.displayHeight, format.height};
}

}  // namespace video
