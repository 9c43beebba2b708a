// The texts the build shows while it runs: the encoder's progress kind as a
// label, and the time still to go.
#pragma once

#include <cstdint>
#include <string>

namespace video {

// Label for a progress notification: "" when finished, "Preparing...",
// "Couting...", "Progress: N%" while encoding (N = value x 100 div
// totalFrames, 0 while there is nothing to count), "..." for anything else.
std::string ProgressLabelText(int kind, int64_t value, int64_t totalFrames);

// "Remaining Time: H:MM:SS" for seconds (cut to whole seconds; negative
// and not-a-number values count as 0).
std::string RemainingTimeText(double seconds);

}  // namespace video
