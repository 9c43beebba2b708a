// How a caption style is drawn in one frame: the text style the encoder's
// text layers take (font found or replaced by the default, colours, shadow
// or outline, box, glyph width), and its opacity at each frame of a picture
// when it fades in and out with the picture. The build, the player and the
// single frames all draw captions from this one look.
#pragma once

#include <cstdint>
#include <string>

#include "model/CaptionStyle.h"
#include "showbuild/CaptionLayout.h"
#include "video/TextOverlay.h"

namespace video {

struct CaptionLook {
    TextStyle text;  // its pixel size is each line's
    bool fade = false;
};

// The family a style's captions are drawn in: its own when installed, else
// the program's caption font.
std::string CaptionFamily(const model::CaptionStyle& style);

// The look of captions in 'style' laid out in 'frame'.
CaptionLook CaptionLookFor(const model::CaptionStyle& style, const CaptionFrame& frame);

// The look's text style at one pixel size.
TextStyle AtSize(const CaptionLook& look, int pixelSize);

// Measures caption text in a look, as the encoder draws it.
TextExtent MeasureCaption(const CaptionLook& look, const std::string& text, int pixelSize);

// The opacity (0..TextLayer::kFullOpacity) of a fading caption at frame
// 'cyclePos' of a picture's 'cycleFrames' (its transition and hold): it
// rises over the transition and falls as long before the next one (half a
// second each way when the pictures cut), and is full for a caption that
// does not fade.
int CaptionOpacity(const CaptionLook& look, int64_t cyclePos, int64_t cycleFrames,
                   int64_t transitionFrames, double framesPerSecond);

}  // namespace video
