// Captions drawn into encoded frames: a text style (font, colours, shadow or
// outline, box), the
// text rendered once with Qt into a small anti-aliased layer, and the blend of
// that layer into a YUV 4:2:0 frame.
//
// The layer is kept in the frame's colour space, premultiplied by coverage, so
// a frame with a caption never goes through RGB: the rendered picture is
// converted straight to YUV and the few caption pixels are blended there.
// Rendering needs a QGuiApplication (fonts); blending does not and may run on
// any thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QString>

#include "video/TextExtent.h"

struct AVFrame;

namespace video {

struct TextStyle {
    std::string family = "Fixedsys";
    int pixelSize = 16;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool antialias = true;
    uint32_t color = 0xFFFFFF;        // 0x00BBGGRR
    uint32_t shadowColor = 0x000000;  // 0x00BBGGRR
    int shadowDx = 0;                 // shadow offset in pixels; 0, 0 draws none
    int shadowDy = 0;
    // An outline this many pixels wide around every glyph; 0 draws none.
    int outlineWidth = 0;
    uint32_t outlineColor = 0x000000;  // 0x00BBGGRR
    uint32_t backColor = 0x808080;     // box behind the text cell...
    int backOpacity = -1;              // ...drawn with this opacity 0..255; -1 draws none
    int backPad = 0;                   // ...reaching this many pixels past the cell
    // Glyph width in percent of the font's own: below 100 for a frame whose
    // pixels are wider than tall, so the text keeps its shape on screen.
    int stretch = 100;
};

// A rendered caption. (offsetX, offsetY) is the layer's top-left corner
// relative to the point the text was placed at (the top-left of its cell).
class TextLayer {
public:
    int width() const { return width_; }
    int height() const { return height_; }
    int offsetX() const { return offsetX_; }
    int offsetY() const { return offsetY_; }
    // The layer as drawn, premultiplied ARGB.
    const QImage& image() const { return image_; }

    // Renders 'text' (UTF-8) in 'style'. Returns nullptr for an empty text or
    // when no QGuiApplication exists.
    static std::shared_ptr<const TextLayer> Render(const TextStyle& style, const std::string& text);

    // Blends the layer into a YUV 4:2:0 frame with its text origin at (x, y),
    // at 'opacity' (0..256, 256 as drawn; a caption fading in or out).
    // Parts outside the frame are clipped.
    void blendInto(AVFrame* frame, int x, int y, int opacity = kFullOpacity) const;
    static constexpr int kFullOpacity = 256;

private:
    // The layer with every pixel's coverage scaled by opacity / 256.
    TextLayer FadedCopy(int opacity) const;

    int width_ = 0;
    int height_ = 0;
    int offsetX_ = 0;
    int offsetY_ = 0;
    QImage image_;
    // Per pixel, in 1/256 units of the frame's sample values: the weight
    // left to the frame underneath (0..256) and the layer's own contribution
    // to Y, Cb and Cr (already multiplied by its coverage).
    std::vector<uint16_t> keep_;
    std::vector<uint8_t> alpha_;
    std::vector<int32_t> y_;
    std::vector<int32_t> cb_;
    std::vector<int32_t> cr_;
};

// A layer placed into one frame.
struct TextStamp {
    std::shared_ptr<const TextLayer> layer;
    int x = 0;
    int y = 0;
    int opacity = TextLayer::kFullOpacity;
};

// The extent of 'text' drawn in 'style' (its size included), as TextLayer
// places it; all zero without a QGuiApplication.
TextExtent MeasureTextExtent(const TextStyle& style, const std::string& text);

// Like TextLayer::Render, but the last few captions are kept, so a caption
// that stays on screen for many frames is rendered once.
std::shared_ptr<const TextLayer> CachedTextLayer(const TextStyle& style, const std::string& text);

// The installed family to use for a requested one. Fixed-pitch families of
// other systems that are missing here ("Fixedsys", "Courier New", ...) become
// DejaVu Sans Mono; other missing families are left to Qt's substitution.
QString ResolveFontFamily(const QString& requested);

// True when a QGuiApplication exists, which text rendering needs.
bool TextRenderingAvailable();

}  // namespace video
