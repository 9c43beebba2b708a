#include "model/CaptionStyle.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>

#include "model/PerImage.h"

namespace model {

const char* const kCaptionStyleSection = "captionstyle";

std::string ColourText(uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", colour & 0xFFFFFFu);
    return text;
}

std::optional<uint32_t> ParseColour(std::string_view text) {
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    uint32_t colour = 0;
    const auto [end, error] = std::from_chars(text.data() + 1, text.data() + 7, colour, 16);
    if (error != std::errc() || end != text.data() + 7) return std::nullopt;
    return colour;
}

namespace {

template <typename T>
struct NamedChoice {
    T value;
    const char* name;
};
constexpr std::array<NamedChoice<CaptionEdge>, 3> kEdges{{
    {CaptionEdge::Shadow, "shadow"},
    {CaptionEdge::Outline, "outline"},
    {CaptionEdge::None, "none"},
}};
constexpr std::array<NamedChoice<CaptionAlign>, 3> kAligns{{
    {CaptionAlign::Left, "left"},
    {CaptionAlign::Centre, "centre"},
    {CaptionAlign::Right, "right"},
}};

template <typename T, size_t N>
std::optional<T> ChoiceOf(const std::array<NamedChoice<T>, N>& choices, std::string_view name) {
    for (const auto& choice : choices)
        if (name == choice.name) return choice.value;
    return std::nullopt;
}
template <typename T, size_t N>
std::string NameOf(const std::array<NamedChoice<T>, N>& choices, T value) {
    for (const auto& choice : choices)
        if (choice.value == value) return choice.name;
    return choices[0].name;
}

std::optional<int> ParseInt(std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

std::string SizeText(double percent) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", percent);
    return text;
}

// Every field: its name, its stored text, and how that text is read back.
struct Field {
    const char* name;
    std::function<std::string(const CaptionStyle&)> text;
    std::function<bool(std::string_view, CaptionStyle&)> read;
};

const std::array<Field, 8>& Fields() {
    static const std::array<Field, 8> fields{{
        {"font", [](const CaptionStyle& s) { return s.font; },
         [](std::string_view v, CaptionStyle& s) {
             s.font = std::string(v);
             return true;
         }},
        {"size", [](const CaptionStyle& s) { return SizeText(s.sizePercent); },
         [](std::string_view v, CaptionStyle& s) {
             double percent = 0;
             const auto [end, error] = std::from_chars(v.data(), v.data() + v.size(), percent);
             if (error != std::errc() || end != v.data() + v.size()) return false;
             if (percent != 0 &&
                 !(percent >= kMinCaptionSizePercent && percent <= kMaxCaptionSizePercent))
                 return false;
             s.sizePercent = std::round(percent * 100) / 100;
             return true;
         }},
        {"colour", [](const CaptionStyle& s) { return ColourText(s.colour); },
         [](std::string_view v, CaptionStyle& s) {
             const auto colour = ParseColour(v);
             if (colour) s.colour = *colour;
             return colour.has_value();
         }},
        {"edge",
         [](const CaptionStyle& s) {
             return NameOf(kEdges, s.edge) +
                    (s.edge == CaptionEdge::None ? "" : ColourText(s.edgeColour));
         },
         [](std::string_view v, CaptionStyle& s) {
             const size_t hash = v.find('#');
             const auto edge = ChoiceOf(kEdges, v.substr(0, hash));
             if (!edge) return false;
             s.edge = *edge;
             if (hash == std::string_view::npos) return true;
             const auto colour = ParseColour(v.substr(hash));
             if (colour) s.edgeColour = *colour;
             return colour.has_value();
         }},
        {"box",
         [](const CaptionStyle& s) {
             return s.box ? ColourText(s.boxColour) + "/" + std::to_string(s.boxOpacity)
                          : std::string("none");
         },
         [](std::string_view v, CaptionStyle& s) {
             if (v == "none") {
                 s.box = false;
                 return true;
             }
             const size_t slash = v.find('/');
             const auto colour = ParseColour(v.substr(0, slash));
             const auto opacity = slash == std::string_view::npos
                                      ? std::optional<int>(s.boxOpacity)
                                      : ParseInt(v.substr(slash + 1), 0, 100);
             if (!colour || !opacity) return false;
             s.box = true;
             s.boxColour = *colour;
             s.boxOpacity = *opacity;
             return true;
         }},
        {"position",
         [](const CaptionStyle& s) {
             for (const auto& entry : kCaptionPositions)
                 if (entry.position == s.position) return std::string(entry.name);
             return std::string(kCaptionPositions[0].name);
         },
         [](std::string_view v, CaptionStyle& s) {
             const auto position = ParseCaptionPosition(v);
             if (position) s.position = *position;
             return position.has_value();
         }},
        {"align", [](const CaptionStyle& s) { return NameOf(kAligns, s.align); },
         [](std::string_view v, CaptionStyle& s) {
             const auto align = ChoiceOf(kAligns, v);
             if (align) s.align = *align;
             return align.has_value();
         }},
        {"fade", [](const CaptionStyle& s) { return std::string(s.fade ? "on" : "off"); },
         [](std::string_view v, CaptionStyle& s) {
             s.fade = v == "on";
             return v == "on" || v == "off";
         }},
    }};
    return fields;
}

}  // namespace

std::optional<CaptionPosition> ParseCaptionPosition(std::string_view name) {
    for (const auto& entry : kCaptionPositions)
        if (name == entry.name) return entry.position;
    // The other spelling of the middle.
    if (name == "center") return CaptionPosition::Centre;
    return std::nullopt;
}

std::string CaptionStyleText(const CaptionStyle& style) {
    static const CaptionStyle kDefault;
    std::string text;
    for (const Field& field : Fields()) {
        const std::string value = field.text(style);
        if (value == field.text(kDefault)) continue;
        if (!text.empty()) text += ';';
        text += field.name;
        text += '=';
        text += value;
    }
    return text;
}

std::optional<CaptionStyle> ParseCaptionStyle(std::string_view text) {
    CaptionStyle style;
    while (!text.empty()) {
        const size_t end = text.find(';');
        const std::string_view item = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (item.empty()) continue;
        const size_t equals = item.find('=');
        if (equals == std::string_view::npos) return std::nullopt;
        const std::string_view name = item.substr(0, equals);
        bool read = false;
        for (const Field& field : Fields())
            if (name == field.name) read = field.read(item.substr(equals + 1), style);
        if (!read) return std::nullopt;
    }
    return style;
}

std::optional<CaptionStyle> OwnCaptionStyle(const IniFile& notes, std::string_view path) {
    const std::optional<std::string> own = OwnEntry(notes, kCaptionStyleSection, path);
    if (!own) return std::nullopt;
    // A damaged entry counts as the show's style.
    return ParseCaptionStyle(*own);
}

void SetOwnCaptionStyle(IniFile& notes, std::string_view path,
                        const std::optional<CaptionStyle>& style) {
    SetOwnEntry(notes, kCaptionStyleSection, path,
                style ? std::optional<std::string>(CaptionStyleText(*style)) : std::nullopt);
}

}  // namespace model
