// Per-picture caption, interval, effect set and motion, as a show keeps them
// in its notes and a store in its sections.
// A picture's own entry is kept under its path key (ImagePathKey); older
// options files and projects hold it under the file-name key (ImageKey),
// shared by every picture of that name, which still applies to a picture
// without an entry of its own. A missing entry means the show-wide value.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace model {

class IniFile;

// Store sections of per-picture data.
extern const char* const kCaptionsSection;
extern const char* const kIntervalsSection;
extern const char* const kEffectsSection;
// Those three, kMotionSection, kMotionFitSection, kFocusSection and
// kCaptionStyleSection.
std::span<const char* const> PerPictureSections();

// The picture's own entry in one of those sections (or kMotionSection): under
// its path key, else under its file-name key; nullopt when it has neither.
// Every reader of per-picture data looks it up here.
std::optional<std::string> OwnEntry(const IniFile& notes, std::string_view section,
                                    std::string_view path);

// Gives the picture its own entry under its path key, or (nullopt) the
// show's value again: then a file-name key that applied to it goes too, so
// call AdoptFileNameKeys first for the other pictures of that name.
void SetOwnEntry(IniFile& notes, std::string_view section, std::string_view path,
                 const std::optional<std::string>& value);

// Copies the section's file-name entries to the path keys of the pictures
// given that have none of their own, then drops those file-name entries:
// each picture keeps what it showed, and one set back to the show's value
// stays so. A picture not given loses the file-name entry it shared.
void AdoptFileNameKeys(IniFile& notes, std::string_view section,
                       std::span<const std::string> paths);

}  // namespace model
