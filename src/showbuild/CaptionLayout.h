// Where and how large a picture's caption is drawn into the encoded frame.
//
// A caption lies inside the frame's title-safe area, which every television
// shows whole: at its bottom, top or centre, aligned on the ink of the text
// as the font draws it to the area's left or right edge or centred in the
// frame. Text too wide for the area is made smaller, down to 60% of its
// size; text still too wide is broken at spaces onto a second line, and
// whatever does not fit then ends with an ellipsis. The layout only needs
// the frame's size, the style's place and a way to measure text, so any
// frame size and any font can use it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/CaptionStyle.h"
#include "showbuild/FrameGeometry.h"
#include "video/TextExtent.h"

namespace video {

// A rectangle of the encoded frame, right and bottom exclusive.
struct SafeArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const SafeArea&, const SafeArea&) = default;
};

// The title-safe area of an encoded frame: the middle 80% of its width and
// height on a disc, whose players' televisions may hide the edges, and the
// middle 90% of an MP4 frame (square pixels), shown whole on a computer or
// phone but often cropped a little by a television.
SafeArea TitleSafeArea(int width, int height, bool squarePixels);

// The frame a caption is laid out in, in pixels of the encoded picture, and
// a one-line caption's look there at full size.
struct CaptionFrame {
    int width;
    int height;
    int fontSize;
    SafeArea safe;
    model::CaptionPosition position = model::CaptionPosition::Bottom;
    model::CaptionAlign align = model::CaptionAlign::Centre;
    // Glyph width in percent (TextStyle::stretch): a widescreen DVD's pixels
    // are 4/3 as wide as a 4:3 one's, so its captions are drawn 3/4 as wide
    // and look the same on screen.
    int stretch = 100;
};

// The font size a format's captions have unless a style sets one: the
// disc formats' own rows (an NTSC frame keeps its PAL size), the DVD's
// scaled by the frame's height for the square-pixel (MP4) formats, which are
// encoded at the size they are rendered at. Zero for an unknown format.
int FormatCaptionSize(const FrameFormat& format);

// The caption frame of a rendered format in television standard 'tvSet' (1
// NTSC, any other PAL) for captions in 'style': the encoded frame (a disc's
// own size, an MP4's the rendered one), the font size (the style's share of
// the frame's height, else the format's), the place and the title-safe
// area; nullopt for an unknown format.
std::optional<CaptionFrame> CaptionFrameFor(const FrameFormat& format, int32_t tvSet,
                                            const model::CaptionStyle& style = {});

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

// The font captions are drawn in unless a style names another (a
// fixed-pitch family, drawn in DejaVu Sans Mono here).
inline constexpr const char* kCaptionFont = "Fixedsys";
// The shadow lies this many pixels right of and below the text in the
// disc formats; taller frames scale it with their height.
inline constexpr int kCaptionShadowOffset = 2;
int CaptionShadowOffset(const CaptionFrame& frame);

}  // namespace video
