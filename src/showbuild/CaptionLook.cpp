#include "showbuild/CaptionLook.h"

#include <algorithm>
#include <cmath>

#include "video/FontCoverage.h"

namespace video {
namespace {

// 0xRRGGBB, as a style keeps colours, to the text layers' 0x00BBGGRR.
uint32_t LayerColour(uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

// An outline about a sixteenth of the type's size: visible on a busy
// picture, never filling the counters of bold letters.
constexpr double kOutlineShare = 1.0 / 16;
// The box reaches a sixth of the type's size past the text cell.
constexpr double kBoxPadShare = 1.0 / 6;
// A fade where the pictures cut, in seconds.
constexpr double kCutFadeSeconds = 0.5;

}  // namespace

std::string CaptionFamily(const model::CaptionStyle& style) {
    if (!style.font.empty() && FontInstalled(style.font)) return style.font;
    return kCaptionFont;
}

CaptionLook CaptionLookFor(const model::CaptionStyle& style, const CaptionFrame& frame) {
    CaptionLook look;
    TextStyle& text = look.text;
    text.family = CaptionFamily(style);
    text.pixelSize = frame.fontSize;
    text.bold = true;
    text.stretch = frame.stretch;
    text.color = LayerColour(style.colour);
    switch (style.edge) {
        case model::CaptionEdge::Shadow:
            text.shadowColor = LayerColour(style.edgeColour);
            text.shadowDx = text.shadowDy = CaptionShadowOffset(frame);
            break;
        case model::CaptionEdge::Outline:
            text.outlineColor = LayerColour(style.edgeColour);
            text.outlineWidth =
                std::max(1, static_cast<int>(std::lround(frame.fontSize * kOutlineShare)));
            break;
        case model::CaptionEdge::None:
            break;
    }
    if (style.box) {
        text.backColor = LayerColour(style.boxColour);
        text.backOpacity =
            static_cast<int>(std::lround(std::clamp(style.boxOpacity, 0, 100) * 2.55));
        text.backPad = std::max(1, static_cast<int>(std::lround(frame.fontSize * kBoxPadShare)));
    }
    look.fade = style.fade;
    return look;
}

TextStyle AtSize(const CaptionLook& look, int pixelSize) {
    TextStyle style = look.text;
    // The edges keep their width when the text is made smaller to fit.
    style.pixelSize = pixelSize;
    return style;
}

TextExtent MeasureCaption(const CaptionLook& look, const std::string& text, int pixelSize) {
    return MeasureTextExtent(AtSize(look, pixelSize), text);
}

int CaptionOpacity(const CaptionLook& look, int64_t cyclePos, int64_t cycleFrames,
                   int64_t transitionFrames, double framesPerSecond) {
    constexpr int kFull = TextLayer::kFullOpacity;
    if (!look.fade || cycleFrames <= 0) return kFull;
    int64_t fade = transitionFrames > 0
                       ? transitionFrames
                       : static_cast<int64_t>(std::lround(framesPerSecond * kCutFadeSeconds));
    fade = std::clamp<int64_t>(fade, 1, std::max<int64_t>(1, cycleFrames / 2));
    const int64_t pos = std::clamp<int64_t>(cyclePos, 0, cycleFrames - 1);
    const int64_t steps = std::min({pos + 1, cycleFrames - pos, fade + 1});
    return static_cast<int>(kFull * steps / (fade + 1));
}

}  // namespace video
