// Lengths shown to the user as H:MM:SS ("0:03:25"), independent of the
// locale. Hours do not wrap at 24.
#pragma once

#include <cstdint>
#include <string>

namespace model {

// Whole seconds as H:MM:SS; negative values show as "0:00:00".
std::string FormatSeconds(int64_t seconds);

// Whole seconds as a clock reads them: "0:42", or "1:02:03" for an hour or
// more; negative values show as "0:00".
std::string FormatClock(int64_t seconds);

// A length in milliseconds, seconds truncated; "0:00:00" below 1 ms.
std::string FormatLengthText(int64_t milliseconds);

}  // namespace model
