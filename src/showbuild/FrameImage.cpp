#include "showbuild/FrameImage.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <optional>

#include "video/EncoderPresets.h"
#include "video/MclDef.h"

namespace video {

void StampCaptions(QImage& image, const std::vector<CaptionLine>& lines, const CaptionLook& look,
                   int opacity) {
    if (lines.empty() || opacity <= 0) return;
    QPainter painter(&image);
    painter.setOpacity(std::min(1.0, static_cast<double>(opacity) / TextLayer::kFullOpacity));
    for (const CaptionLine& line : lines)
        if (const auto layer = CachedTextLayer(AtSize(look, line.fontSize), line.text))
            painter.drawImage(line.x + layer->offsetX(), line.y + layer->offsetY(), layer->image());
}

QImage CaptionSample(const FrameFormat& format, int32_t tvSet, const model::CaptionStyle& style,
                     const std::string& text, int height, const QImage& background) {
    const std::optional<CaptionFrame> frame = CaptionFrameFor(format, tvSet, style);
    if (!frame || height <= 0) return {};
    QImage encoded(frame->width, frame->height, QImage::Format_ARGB32_Premultiplied);
    if (!background.isNull()) {
        encoded = background
                      .scaled(frame->width, frame->height, Qt::IgnoreAspectRatio,
                              Qt::SmoothTransformation)
                      .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    } else {
        // Dark to light from top to bottom, so every colour of text shows somewhere.
        QPainter painter(&encoded);
        QLinearGradient ramp(0, 0, 0, frame->height);
        ramp.setColorAt(0, QColor(40, 60, 90));
        ramp.setColorAt(1, QColor(200, 190, 170));
        painter.fillRect(encoded.rect(), ramp);
    }
    {
        QPainter painter(&encoded);
        painter.setPen(QPen(QColor(255, 255, 255, 110), 1, Qt::DashLine));
        const SafeArea& safe = frame->safe;
        painter.drawRect(safe.left, safe.top, safe.right - safe.left - 1,
                         safe.bottom - safe.top - 1);
    }
    const CaptionLook look = CaptionLookFor(style, *frame);
    StampCaptions(encoded,
                  LayOutCaption(*frame, text,
                                [&](const std::string& line, int size) {
                                    return MeasureCaption(look, line, size);
                                }),
                  look);
    const int width = static_cast<int>(
        (int64_t{height} * format.displayWidth + format.displayHeight / 2) / format.displayHeight);
    return encoded.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB888);
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
    StampCaptions(encoded, frame.captions, frame.captionLook, frame.captionOpacity);
    const FrameFormat& format = input.format;
    const int height = format.height;
    const int width = static_cast<int>(
        (int64_t{height} * format.displayWidth + format.displayHeight / 2) / format.displayHeight);
    return encoded.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB888);
}

}  // namespace video
