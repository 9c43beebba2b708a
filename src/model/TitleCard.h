// Title cards: slides of text that stand in the show's picture list like
// pictures ("Summer 2026" opening the show), with a title, an optional second
// line and a backdrop: a colour, a blurred copy of a chosen picture, or a
// picture filling the frame.
//
// A card's list entry is a name under the "title:" prefix, not a file: a
// reader that knows no cards resolves it to a file that does not exist and
// leaves it out as it does a picture that is gone. What the card says and
// shows is kept in sections of its own keyed like per-picture data, and its
// interval, transitions and caption style in the per-picture sections, so a
// show without cards writes nothing new.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace model {

class IniFile;

enum class TitleBackdrop { Colour, Blurred, Picture };

struct TitleCard {
    std::string title;
    std::string line2;  // the optional second line, smaller, under the title
    TitleBackdrop backdrop = TitleBackdrop::Colour;
    uint32_t colour = 0x000000;  // 0xRRGGBB; also behind a picture that cannot be read
    std::string picture;         // for Blurred and Picture
    friend bool operator==(const TitleCard&, const TitleCard&) = default;
};

// Store sections of the cards' text and backdrop.
extern const char* const kTitleTextSection;
extern const char* const kTitleLineSection;
extern const char* const kTitleBackSection;
// Those three: what a card is, apart from what it shares with pictures.
std::span<const char* const> TitleCardSections();

// Whether a list entry or show path names a title card.
bool IsTitleCard(std::string_view path);

// An entry name for a new card that neither 'inUse' nor the notes' cards hold.
std::string NewTitleCardPath(const IniFile& notes, std::span<const std::string> inUse);

// The card 'path' names (an empty colour card when its sections say nothing);
// nullopt for a path that is not a card.
std::optional<TitleCard> ReadTitleCard(const IniFile& notes, std::string_view path);
void WriteTitleCard(IniFile& notes, std::string_view path, const TitleCard& card);

// The card's words as one text: the title, and the second line under it.
std::string TitleCardText(const TitleCard& card);

// "colour #102030", "blur #102030 /path" or "picture #102030 /path", and back.
std::string TitleBackdropText(const TitleCard& card);
bool ParseTitleBackdrop(std::string_view text, TitleCard& card);

}  // namespace model
