// A rendered frame as the video shows it: scaled to the encoded size, the
// captions stamped there with the encoder's text layers, and scaled to the
// display's proportions (a disc frame's pixels are not square).
#pragma once

#include <QImage>

#include <string>
#include <vector>

#include "model/CaptionStyle.h"
#include "showbuild/CaptionLook.h"
#include "showbuild/FrameRenderer.h"
#include "video/TextOverlay.h"

namespace video {

// Stamps caption lines drawn in 'look' onto 'image' (the encoded size) at
// 'opacity' (0..TextLayer::kFullOpacity), with the encoder's text layers.
void StampCaptions(QImage& image, const std::vector<CaptionLine>& lines, const CaptionLook& look,
                   int opacity = TextLayer::kFullOpacity);

// A sample of captions in 'style' as the video draws them: 'text' laid out
// and stamped on a frame of 'format' (in standard 'tvSet') filled with
// 'background' (the encoded size; a plain grey ramp when null), with the
// title-safe area's edge drawn thin, at the display's proportions and
// 'height' pixels high.
QImage CaptionSample(const FrameFormat& format, int32_t tvSet, const model::CaptionStyle& style,
                     const std::string& text, int height, const QImage& background = {});

// 'frame' of 'renderer''s show at the display size: the rendered height, and
// the width that gives it the format's display aspect.
QImage DisplayImage(const ShowFrame& frame, const FrameRenderer& renderer);

}  // namespace video
