#include "model/PictureFocus.h"

#include <charconv>
#include <cstdio>

#include "model/PerImage.h"

namespace model {

const char* const kFocusSection = "focus";

namespace {

std::optional<double> Share(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value >= 0 && value <= 1))
        return std::nullopt;
    return value;
}

}  // namespace

std::string FocusText(const FocusPoint& focus) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f,%.4f", focus.x, focus.y);
    return text;
}

std::optional<FocusPoint> ParseFocus(std::string_view text) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const auto x = Share(text.substr(0, comma)), y = Share(text.substr(comma + 1));
    if (!x || !y) return std::nullopt;
    return FocusPoint{*x, *y};
}

std::optional<FocusPoint> OwnFocus(const IniFile& notes, std::string_view path) {
    const std::optional<std::string> own = OwnEntry(notes, kFocusSection, path);
    return own ? ParseFocus(*own) : std::nullopt;
}

void SetOwnFocus(IniFile& notes, std::string_view path, const std::optional<FocusPoint>& focus) {
    SetOwnEntry(notes, kFocusSection, path,
                focus ? std::optional<std::string>(FocusText(*focus)) : std::nullopt);
}

}  // namespace model
