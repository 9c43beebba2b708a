#include "model/TitleCard.h"

#include <algorithm>
#include <array>

#include "model/CaptionStyle.h"
#include "model/IniFile.h"
#include "model/MediaPaths.h"
#include "model/PerImage.h"
#include "model/Text.h"

namespace model {

const char* const kTitleTextSection = "titletext";
const char* const kTitleLineSection = "titleline";
const char* const kTitleBackSection = "titleback";

std::span<const char* const> TitleCardSections() {
    static const char* const sections[] = {kTitleTextSection, kTitleLineSection, kTitleBackSection};
    return sections;
}

namespace {

constexpr std::string_view kPrefix = "title:";

struct BackdropName {
    TitleBackdrop backdrop;
    std::string_view name;
};
constexpr std::array<BackdropName, 3> kBackdrops{{
    {TitleBackdrop::Colour, "colour"},
    {TitleBackdrop::Blurred, "blur"},
    {TitleBackdrop::Picture, "picture"},
}};

// The number after the prefix, 0 for anything else.
int CardNumber(std::string_view path) {
    if (!IsTitleCard(path)) return 0;
    return ParseInteger(std::string(path.substr(kPrefix.size()))).value_or(0);
}

}  // namespace

bool IsTitleCard(std::string_view path) {
    return path.starts_with(kPrefix);
}

std::string NewTitleCardPath(const IniFile& notes, std::span<const std::string> inUse) {
    int highest = 0;
    for (const std::string& path : inUse) highest = std::max(highest, CardNumber(path));
    // A card removed from the list may still have notes; a new card must not
    // take them over. Keys are ImagePathKey's, "./title:N".
    for (const std::string& key : notes.ReadSection(kTitleTextSection))
        if (key.starts_with("./")) highest = std::max(highest, CardNumber(key.substr(2)));
    return std::string(kPrefix) + std::to_string(highest + 1);
}

std::optional<TitleCard> ReadTitleCard(const IniFile& notes, std::string_view path) {
    if (!IsTitleCard(path)) return std::nullopt;
    TitleCard card;
    card.title = OwnEntry(notes, kTitleTextSection, path).value_or("");
    card.line2 = OwnEntry(notes, kTitleLineSection, path).value_or("");
    if (const std::optional<std::string> back = OwnEntry(notes, kTitleBackSection, path))
        ParseTitleBackdrop(*back, card);
    return card;
}

void WriteTitleCard(IniFile& notes, std::string_view path, const TitleCard& card) {
    SetOwnEntry(notes, kTitleTextSection, path, card.title);
    SetOwnEntry(notes, kTitleLineSection, path,
                card.line2.empty() ? std::nullopt : std::optional<std::string>(card.line2));
    SetOwnEntry(notes, kTitleBackSection, path, TitleBackdropText(card));
}

std::string TitleCardText(const TitleCard& card) {
    if (card.line2.empty()) return card.title;
    if (card.title.empty()) return card.line2;
    return card.title + '\n' + card.line2;
}

std::string TitleBackdropText(const TitleCard& card) {
    const auto named = std::find_if(kBackdrops.begin(), kBackdrops.end(),
                                    [&](const auto& b) { return b.backdrop == card.backdrop; });
    std::string text = std::string(named->name) + ' ' + ColourText(card.colour);
    if (card.backdrop != TitleBackdrop::Colour) text += ' ' + card.picture;
    return text;
}

bool ParseTitleBackdrop(std::string_view text, TitleCard& card) {
    const size_t space = text.find(' ');
    const std::string_view name = text.substr(0, space);
    const auto named = std::find_if(kBackdrops.begin(), kBackdrops.end(),
                                    [&](const auto& b) { return b.name == name; });
    if (named == kBackdrops.end() || space == std::string_view::npos) return false;
    const std::string_view rest = text.substr(space + 1);
    const std::optional<uint32_t> colour = ParseColour(rest.substr(0, 7));
    if (!colour) return false;
    card.backdrop = named->backdrop;
    card.colour = *colour;
    card.picture = rest.size() > 8 ? std::string(rest.substr(8)) : std::string();
    return true;
}

}  // namespace model
