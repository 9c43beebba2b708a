#include "showbuild/FrameImage.h"

#include <QPainter>

#include <optional>

#include "video/EncoderPresets.h"
#include "video/MclDef.h"

namespace video {

TextStyle CaptionStyle(int fontSize, int shadow, int stretch) {
    // As BuildSession asks the encoder for it through MclText*.
    TextStyle style{.family = kCaptionFont, .pixelSize = fontSize, .bold = true};
    style.stretch = stretch;
    style.color = MclRGB(kCaptionTextColour.red, kCaptionTextColour.green, kCaptionTextColour.blue);
    style.shadowColor =
        MclRGB(kCaptionShadowColour.red, kCaptionShadowColour.green, kCaptionShadowColour.blue);
    style.shadowDx = shadow;
    style.shadowDy = shadow;
    return style;
}

QImage DisplayImage(const ShowFrame& frame, const FrameRenderer& renderer) {
    const raster::Bitmap& pixels = frame.pixels;
    const QImage rendered(pixels.bits(), pixels.width(), pixels.height(),
                          static_cast<qsizetype>(pixels.stride()), QImage::Format_BGR888);
    const SessionInput& input = renderer.input();
    const std::optional<EncoderPreset> preset =
        ResolvePreset(input.format.videoType, IsNtsc(input.tvSet) ? 1 : 0, input.aspect,
                      input.quality, input.rate);
    QImage encoded = rendered.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (preset && (preset->width != encoded.width() || preset->height != encoded.height()))
        encoded = encoded.scaled(preset->width, preset->height, Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
    if (!frame.captions.empty()) {
        QPainter painter(&encoded);
        for (const CaptionLine& line : frame.captions)
            if (const auto layer = CachedTextLayer(
                    CaptionStyle(line.fontSize, frame.captionShadow, frame.captionStretch),
                    line.text))
                painter.drawImage(line.x + layer->offsetX(), line.y + layer->offsetY(),
                                  layer->image());
    }
    const FrameFormat& format = input.format;
    const int height = format.height;
    const int width = static_cast<int>(
        (int64_t{height} * format.displayWidth + format.displayHeight / 2) / format.displayHeight);
    return encoded.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB888);
}

}  // namespace video
