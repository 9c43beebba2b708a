// Where and how large a picture's caption is drawn into the encoded frame.
//
// The caption sits near the bottom, centred by an estimate of its width
// (a fixed advance per character), in pixels of the encoded picture. Its
// row is given for the PAL picture; an NTSC picture is shorter, so there
// the caption keeps the same distance from the bottom edge.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace video {

struct CaptionPlacement {
    int fontSize;
    int x;
    int y;
    friend bool operator==(const CaptionPlacement&, const CaptionPlacement&) = default;
};

// Font size and text origin for a caption of 'text' (UTF-8) in VideoType 0,
// 1 or 2 and the television standard TVSet (1 NTSC, any other PAL); nullopt
// for other video types. A negative x becomes 1.
std::optional<CaptionPlacement> PlaceCaption(int videoType, int32_t tvSet, std::string_view text);

// Characters (code points) of UTF-8 text.
int CharacterCount(std::string_view text);

// The look of every caption.
inline constexpr const char* kCaptionFont = "Fixedsys";
struct CaptionColour {
    int red, green, blue;
};
inline constexpr CaptionColour kCaptionTextColour{225, 225, 225};
inline constexpr CaptionColour kCaptionShadowColour{96, 96, 96};

}  // namespace video
