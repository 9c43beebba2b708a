#include "sound/MixRules.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sound {

int32_t ClampFadeMs(int64_t milliseconds) {
    return static_cast<int32_t>(std::clamp<int64_t>(milliseconds, 0, kMaxFadeMs));
}

int64_t MsToSamples(int64_t milliseconds, int sampleRate) {
    return (milliseconds * sampleRate + 500) / 1000;
}

int64_t JoinOverlap(int64_t previousLength, int64_t crossfade) {
    return std::clamp<int64_t>(crossfade, 0, std::max<int64_t>(previousLength, 0));
}

int64_t CrossfadedLength(const std::vector<int64_t>& lengths, int64_t crossfade) {
    int64_t total = 0;
    for (size_t i = 0; i < lengths.size(); ++i) {
        const int64_t length = std::max<int64_t>(lengths[i], 0);
        if (i > 0) total -= JoinOverlap(std::max<int64_t>(lengths[i - 1], 0), crossfade);
        total += length;
    }
    return total;
}

double CrossfadeIn(int64_t i, int64_t n) {
    if (n <= 0 || i >= n) return 1.0;
    if (i <= 0) return 0.0;
    return std::sin(std::numbers::pi / 2 * static_cast<double>(i) / static_cast<double>(n));
}

double CrossfadeOut(int64_t i, int64_t n) {
    return CrossfadeIn(n - i, n);
}

double ShowGain(int64_t position, int64_t fadeIn, int64_t cutEnd, int64_t fadeOut) {
    double gain = 1.0;
    if (position < fadeIn) gain = static_cast<double>(std::max<int64_t>(position, 0)) / fadeIn;
    if (cutEnd >= 0) {
        if (position >= cutEnd) return 0.0;
        if (position >= cutEnd - fadeOut)
            gain = std::min(gain, static_cast<double>(cutEnd - position) / fadeOut);
    }
    return gain;
}

double EvenLoudnessGain(double lufs, double peak) {
    if (!std::isfinite(lufs) || !std::isfinite(peak) || peak <= 0.0) return 1.0;
    const double gain = std::pow(10.0, (kTargetLufs - lufs) / 20.0);
    return std::min(gain, 1.0 / peak);
}

}  // namespace sound
