// Small text helpers shared by the store, the lists and the catalogue.
//
// All text is UTF-8 in std::string. Names in INI files and the order of
// picture names ignore letter case; for non-ASCII text we fold case through
// Qt so that "Ä" and "ä" meet, while pure ASCII takes a fast path.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace model {

// Case-folded form used as a lookup key for case-insensitive names.
std::string FoldCase(std::string_view text);

bool EqualsNoCase(std::string_view a, std::string_view b);

// Orders names without regard to case; names that differ only in case
// keep a fixed byte order so sorting is deterministic.
bool LessNoCase(std::string_view a, std::string_view b);

std::string ToLower(std::string_view text);

// Strips spaces, tabs and line-break characters from both ends.
std::string_view Trim(std::string_view text);

// A 32-bit integer in decimal (optional sign) or hexadecimal ("$1F",
// "0x1F"), surrounding spaces allowed. Anything else, or a value that does
// not fit 32 bits, gives no value.
std::optional<int32_t> ParseInteger(std::string_view text);

}  // namespace model
