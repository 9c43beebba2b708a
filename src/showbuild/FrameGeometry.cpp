#include "showbuild/FrameGeometry.h"

#include <algorithm>
#include <array>

#include "model/VideoFormatKeys.h"
#include "video/EncoderPresets.h"

namespace video {

namespace {

// The MP4 rows take their frame from the encoder's shape table.
constexpr std::array<FrameFormat, 6> kFormats{{
    {0, "VCD", 320, 288, 4, 3, ".mpg"},
    {1, "SVCD", 480, 576, 4, 3, ".mpg"},
    {2, "DVD", 720, 576, 4, 3, ".mpg", true},
    {3, "MP4 720p", 1280, 720, 16, 9, ".mp4"},
    {4, "MP4 1080p", 1920, 1080, 16, 9, ".mp4"},
    {5, "MP4 4K", 3840, 2160, 16, 9, ".mp4"},
}};

}  // namespace

std::optional<FrameFormat> FrameFormatFor(int videoType, int aspect, int standard, int rate) {
    const auto row = std::find_if(kFormats.begin(), kFormats.end(),
                                  [&](const FrameFormat& f) { return f.videoType == videoType; });
    const std::optional<FrameRate> chosen = RateOfChoice(rate, standard);
    if (row == kFormats.end() || !chosen || aspect < kMclAspectFormat ||
        aspect > kMclAspectPortrait)
        return std::nullopt;
    FrameFormat format = *row;
    if (!format.squarePixels()) {
        // A disc: its own frame, at its standard's rate whatever rate the
        // show keeps for MP4; a DVD is shown 16:9 when chosen, VCD and SVCD
        // are 4:3 whatever is asked.
        if (aspect > kMclAspectStandard) return std::nullopt;
        if (format.anamorphicWide && aspect == kMclAspectWide) {
            format.displayWidth = 16;
            format.displayHeight = 9;
        }
        format.rate = *RateOfChoice(static_cast<int>(RateChoice::OfStandard), standard);
        return format;
    }
    const FrameShape* shape = FindShape(videoType, aspect);
    if (!shape) return std::nullopt;
    format.width = shape->width;
    format.height = shape->height;
    format.displayWidth = shape->displayAspect.num;
    format.displayHeight = shape->displayAspect.den;
    format.rate = *chosen;
    return format;
}

std::optional<FrameFormat> FrameFormatOf(const model::TslSettings& settings) {
    return FrameFormatFor(settings.VideoType, model::BuildAspect(settings),
                          settings.TVSet == 1 ? 1 : 0, settings.VideoRate);
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
