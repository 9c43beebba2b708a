// Where and how large a picture's caption is drawn into the encoded frame.
//
// A caption sits near the bottom of the encoded picture, centred on the ink
// of the text as the font draws it. Text too wide for the frame less a 5%
// margin on each side is made smaller, down to 60% of its size; text still
// too wide is broken at spaces onto a second line above the first, and
// whatever does not fit then ends with an ellipsis. The layout only needs
// the frame's size and a way to measure text, so any frame size can use it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "showbuild/FrameGeometry.h"
#include "video/TextExtent.h"

namespace video {

// The frame a caption is laid out in, in pixels of the encoded picture, and
// a one-line caption's look there at full size: font size and the top of its
// text cell.
struct CaptionFrame {
    int width;
    int height;
    int fontSize;
    int top;
    // Glyph width in percent (TextStyle::stretch): a widescreen DVD's pixels
    // are 4/3 as wide as a 4:3 one's, so its captions are drawn 3/4 as wide
    // and look the same on screen.
    int stretch = 100;
};

// The caption frame of VideoType 0, 1 or 2 in television standard TVSet
// (1 NTSC, any other PAL); nullopt for other video types. An NTSC picture is
// shorter, so there the caption keeps its PAL distance from the bottom edge.
std::optional<CaptionFrame> CaptionFrameFor(int videoType, int32_t tvSet);

// A caption frame for a frame of square pixels of any size: the DVD's font
// size and distance from the bottom, scaled by the frame's height over 576.
CaptionFrame ScaledCaptionFrame(int width, int height);

// The caption frame of a rendered format: its own row for a disc format
// (narrowed for a widescreen DVD), scaled from the DVD's for the
// square-pixel (MP4) formats, which are encoded at the size they are
// rendered at.
std::optional<CaptionFrame> CaptionFrameFor(const FrameFormat& format, int32_t tvSet);

// Measures a line of text at one pixel size.
using MeasureText = std::function<TextExtent(const std::string& text, int pixelSize)>;

// One line of a laid-out caption: its text, font size and the top-left
// corner of its cell.
struct CaptionLine {
    std::string text;
    int fontSize = 0;
    int x = 0;
    int y = 0;
    friend bool operator==(const CaptionLine&, const CaptionLine&) = default;
};

// The lines of caption 'text' (UTF-8) in 'frame', bottom line first; none
// for an empty text.
std::vector<CaptionLine> LayOutCaption(const CaptionFrame& frame, const std::string& text,
                                       const MeasureText& measure);

// The look of every caption.
inline constexpr const char* kCaptionFont = "Fixedsys";
struct CaptionColour {
    int red, green, blue;
};
inline constexpr CaptionColour kCaptionTextColour{225, 225, 225};
inline constexpr CaptionColour kCaptionShadowColour{96, 96, 96};
// The shadow lies this many pixels right of and below the text in the
// disc formats; taller frames scale it with their height.
inline constexpr int kCaptionShadowOffset = 2;
int CaptionShadowOffset(const CaptionFrame& frame);

}  // namespace video
