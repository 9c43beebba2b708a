// The point of a picture the user chose for its motion and crops to aim at
// first, before any face or striking region found in it: shares (0..1) of
// the upright picture's width and height, so it holds for every decode. Kept
// per picture in a section keyed like the captions, as "x,y".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace model {

class IniFile;

struct FocusPoint {
    double x = 0.5;
    double y = 0.5;
    friend bool operator==(const FocusPoint&, const FocusPoint&) = default;
};

extern const char* const kFocusSection;

// "0.4215,0.3100": four decimals, a tenth of a pixel of a 100-megapixel
// picture's side and well under a frame pixel.
std::string FocusText(const FocusPoint& focus);
// nullopt unless two numbers 0..1 separated by a comma.
std::optional<FocusPoint> ParseFocus(std::string_view text);

std::optional<FocusPoint> OwnFocus(const IniFile& notes, std::string_view path);
// Sets the picture's focus point, or (nullopt) clears it.
void SetOwnFocus(IniFile& notes, std::string_view path, const std::optional<FocusPoint>& focus);

}  // namespace model
