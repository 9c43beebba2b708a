// Lengths of music files as the Music step shows them.
#pragma once

#include <QString>

#include <cstdint>

namespace music {

// H:MM:SS of the whole seconds (truncated) of a length in milliseconds;
// "0:00:00" below 1 ms. Hours keep counting past 24: a length is a
// duration, not a time of day.
QString FormatMusicLength(int32_t milliseconds);

}  // namespace music
