#include "video/FrameRates.h"

#include <algorithm>
#include <array>
#include <limits>

namespace video {
namespace {

struct RateRow {
    RateChoice choice;
    FrameRate rate;
};

constexpr std::array kRates{
    RateRow{RateChoice::Fps24, {24, 1}},           RateRow{RateChoice::Fps25, {25, 1}},
    RateRow{RateChoice::Fps30, {30, 1}},           RateRow{RateChoice::Fps50, {50, 1}},
    RateRow{RateChoice::Fps60, {60, 1}},           RateRow{RateChoice::Fps30Ntsc, {30000, 1001}},
    RateRow{RateChoice::Fps60Ntsc, {60000, 1001}},
};

int64_t Clamp32(int64_t value) {
    return std::clamp<int64_t>(value, 0, std::numeric_limits<int32_t>::max());
}

}  // namespace

int64_t FrameRate::hundredths() const {
    return (int64_t{num} * 100 + den / 2) / den;
}

int64_t FrameRate::FramesOfSeconds(int64_t seconds) const {
    return std::max<int64_t>(seconds, 0) * hundredths() / 100;
}

int64_t FrameRate::FramesLike25(int64_t frames25) const {
    return std::max<int64_t>(frames25, 0) * hundredths() / 2500;
}

int64_t FrameRate::SecondsOfFrames(int64_t frames) const {
    if (frames <= 0) return 0;
    // In exact integers, so whole seconds never come out one short through
    // the rate's binary rounding.
    return Clamp32(frames * 100 / hundredths());
}

int64_t FrameRate::FramesCovering(int64_t milliseconds) const {
    if (milliseconds <= 0) return 0;
    const int64_t per = int64_t{den} * 1000;
    return (milliseconds * num + per - 1) / per;
}

int64_t FrameRate::FrameNearest(int64_t milliseconds) const {
    if (milliseconds <= 0) return 0;
    const int64_t per = int64_t{den} * 1000;
    return (milliseconds * num + per / 2) / per;
}

int64_t FrameRate::MillisecondsOfFrames(int64_t frames) const {
    if (frames <= 0) return 0;
    return (frames * den * 1000 + num - 1) / num;
}

std::optional<FrameRate> RateOfChoice(int choice, int standard) {
    if (standard != 0 && standard != 1) return std::nullopt;
    if (choice == static_cast<int>(RateChoice::OfStandard))
        return standard == 1 ? kNtscRate : kPalRate;
    for (const RateRow& row : kRates)
        if (static_cast<int>(row.choice) == choice) return row.rate;
    return std::nullopt;
}

}  // namespace video
