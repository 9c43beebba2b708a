// Where the caption of a picture without one of its own comes from (nothing,
// its file name, the date it was taken, or its EXIF title), and how a date
// taken is written. Stored as "CaptionSource" and "CaptionDate" in [Set]
// (rows of the settings key table); a store without the first was written
// before there was a choice and keeps the file name it always showed, while a
// new show starts with nothing. The names are the command line's.
#pragma once

#include <QDate>
#include <QLocale>

#include <array>
#include <cstdint>
#include <string>

#include "model/VideoFormatKeys.h"

namespace model {

enum class CaptionSource : uint8_t { None = 0, FileName = 1, DateTaken = 2, Title = 3 };

inline constexpr std::array<NamedValue, 4> kCaptionSourceNames{
    {{0, "none"}, {1, "name"}, {2, "date"}, {3, "title"}}};
inline constexpr uint8_t kOldShowCaptionSource = static_cast<uint8_t>(CaptionSource::FileName);
inline constexpr uint8_t kNewShowCaptionSource = static_cast<uint8_t>(CaptionSource::None);

// The ways a date taken is written, in the user's language and order:
// "10 December 2026" (long: the locale's long date without the weekday),
// "10/12/2026" (numeric: the locale's short date with the whole year),
// "December 2026" (month), "2026-12-10" (iso).
enum class CaptionDate : uint8_t { Long = 0, Numeric = 1, Month = 2, Iso = 3 };

inline constexpr std::array<NamedValue, 4> kCaptionDateNames{
    {{0, "long"}, {1, "numeric"}, {2, "month"}, {3, "iso"}}};

// The date as a caption in 'format' (an unknown number writes it long).
std::string FormatCaptionDate(QDate date, uint8_t format, const QLocale& locale = QLocale());

}  // namespace model
