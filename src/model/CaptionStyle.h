// How captions look: font, size, colour, an outline or a shadow, a box
// behind the text, where they stand and whether they fade with the picture.
// The show has one (the "CaptionStyle" row of the settings key table) and a
// picture may have its own (a "captionstyle" section keyed like the
// captions). A missing key is the look captions had before they could be
// styled, so older projects build as they did.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace model {

class IniFile;

enum class CaptionEdge { Shadow, Outline, None };
enum class CaptionPosition { Bottom, Top, Centre };
enum class CaptionAlign { Left, Centre, Right };

// Colours are 0xRRGGBB.
struct CaptionStyle {
    std::string font;        // a family name; empty is the program's own caption font
    double sizePercent = 0;  // of the frame's height; 0 is the format's own size
    uint32_t colour = 0xE1E1E1;
    CaptionEdge edge = CaptionEdge::Shadow;
    uint32_t edgeColour = 0x606060;
    bool box = false;
    uint32_t boxColour = 0x000000;
    int boxOpacity = 60;  // percent
    CaptionPosition position = CaptionPosition::Bottom;
    CaptionAlign align = CaptionAlign::Centre;
    bool fade = false;  // in and out with the picture
    friend bool operator==(const CaptionStyle&, const CaptionStyle&) = default;
};

// Sizes a style may ask for, in percent of the frame's height.
inline constexpr double kMinCaptionSizePercent = 2;
inline constexpr double kMaxCaptionSizePercent = 20;

// The names of the choices, as stored and as the command line takes them.
struct CaptionPositionName {
    CaptionPosition position;
    const char* name;
};
inline constexpr CaptionPositionName kCaptionPositions[] = {
    {CaptionPosition::Bottom, "bottom"},
    {CaptionPosition::Top, "top"},
    {CaptionPosition::Centre, "centre"},
};
std::optional<CaptionPosition> ParseCaptionPosition(std::string_view name);

// "font=DejaVu Sans;size=5;colour=#ffffff;edge=outline;edge-colour=#000000;
// box=#000000/60;position=top;align=left;fade=on": the fields that differ
// from the default style, in that order ("" for the default).
std::string CaptionStyleText(const CaptionStyle& style);
// The style 'text' describes, fields left out keeping their defaults;
// nullopt when a field is unknown or its value cannot be read.
std::optional<CaptionStyle> ParseCaptionStyle(std::string_view text);

// A colour 0xRRGGBB as "#rrggbb", and back.
std::string ColourText(uint32_t colour);
std::optional<uint32_t> ParseColour(std::string_view text);

// Store section of per-picture caption styles, read and written through PerImage.
extern const char* const kCaptionStyleSection;

// The picture's own caption style, if it has one that can be read.
std::optional<CaptionStyle> OwnCaptionStyle(const IniFile& notes, std::string_view path);
// Gives the picture its own style, or (nullopt) the show's again (see SetOwnEntry).
void SetOwnCaptionStyle(IniFile& notes, std::string_view path,
                        const std::optional<CaptionStyle>& style);

}  // namespace model
