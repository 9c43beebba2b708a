// A rendered frame as the video shows it: scaled to the encoded size, the
// captions stamped there with the encoder's text layers, and scaled to the
// display's proportions (a disc frame's pixels are not square).
#pragma once

#include <QImage>

#include "showbuild/FrameRenderer.h"
#include "video/TextOverlay.h"

namespace video {

// The style every caption line is stamped in, at a font size, shadow
// distance and glyph width (TextStyle::stretch).
TextStyle CaptionStyle(int fontSize, int shadow, int stretch = 100);

// 'frame' of 'renderer''s show at the display size: the rendered height, and
// the width that gives it the format's display aspect.
QImage DisplayImage(const ShowFrame& frame, const FrameRenderer& renderer);

}  // namespace video
