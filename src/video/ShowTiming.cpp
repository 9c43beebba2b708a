#include "video/ShowTiming.h"

#include <algorithm>
#include <limits>

#include "model/IniFile.h"
#include "model/PerImage.h"
#include "model/Settings.h"

namespace video {

namespace {

// A hand-edited interval can ask for any number of frames; cap one picture
// so that a cycle (hold plus transition) and the frame counters stay far
// from overflowing.
constexpr int64_t kMaxImageFrames = std::numeric_limits<int32_t>::max() / 4;

}  // namespace

int32_t TransitionFrameCount(int32_t speed, int32_t tvSet) {
    int32_t pal;
    switch (speed) {
        case 1:
            pal = 10;
            break;
        case 2:
            pal = 35;
            break;
        case 3:
            pal = 50;
            break;
        case 4:
            pal = 75;
            break;
        case 5:
            pal = 100;
            break;
        default:
            pal = 50;
            break;
    }
    // Integer part of pal x 29.97 / 25, exactly.
    return IsNtsc(tvSet) ? pal * 2997 / 2500 : pal;
}

int32_t ImageFrameCount(int32_t intervalSeconds, int32_t tvSet) {
    const int64_t seconds = std::max<int64_t>(intervalSeconds, 0);
    const int64_t frames = IsNtsc(tvSet) ? seconds * 2997 / 100 : seconds * 25;
    // One frame at least: a cycle then reaches its last transition frame, so
    // every transition completes even without a hold.
    return static_cast<int32_t>(std::clamp<int64_t>(frames, 1, kMaxImageFrames));
}

int32_t SecondsOfFrames(int64_t frames, int32_t tvSet) {
    if (frames <= 0) return 0;
    // frames / 29.97 in exact integers, so whole seconds never come out one
    // short through the rate's binary rounding.
    const int64_t seconds = IsNtsc(tvSet) ? frames * 100 / 2997 : frames / 25;
    return static_cast<int32_t>(std::min<int64_t>(seconds, std::numeric_limits<int32_t>::max()));
}

void AppendPictureTiming(ShowTiming& timing, int32_t intervalSeconds, const TimingRules& rules) {
    timing.TransitionFrames = TransitionFrameCount(rules.EffectSpeed2, rules.TVSet);
    const int32_t frames = ImageFrameCount(intervalSeconds, rules.TVSet);
    timing.ImageFrames.push_back(frames);
    timing.ImageFramesSum += frames;
    timing.ShowSeconds = SecondsOfFrames(timing.TotalFrames(), rules.TVSet);
}

ShowTiming ComputeShowTiming(const std::vector<std::string>& pictures, const TimingRules& rules,
                             const IntervalLookup& intervalOf) {
    ShowTiming timing;
    timing.TransitionFrames = TransitionFrameCount(rules.EffectSpeed2, rules.TVSet);
    timing.ImageFrames.reserve(pictures.size());
    for (const std::string& picture : pictures)
        AppendPictureTiming(timing, intervalOf(picture), rules);
    timing.ShowSeconds = SecondsOfFrames(timing.TotalFrames(), rules.TVSet);
    return timing;
}

int32_t ComputeMusicLength(const std::vector<int64_t>& lengthsMs) {
    int64_t sum = 0;
    for (int64_t length : lengthsMs) sum += length;
    const int64_t seconds = sum / 1000;
    return static_cast<int32_t>(std::clamp<int64_t>(seconds, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

void ApplySync(uint8_t musicSync, int32_t musicSeconds, ShowTiming& timing,
               std::vector<std::string>& pictures, std::vector<std::string>& music,
               const TimingRules& rules, const IntervalLookup& intervalOf) {
    const int32_t showSeconds = timing.ShowSeconds;
    if (musicSync == static_cast<uint8_t>(MusicSyncMode::FitToPictures) &&
        musicSeconds < showSeconds) {
        if (musicSeconds <= 0 || music.empty()) return;
        const int64_t k = static_cast<int64_t>(showSeconds - musicSeconds) / musicSeconds + 1;
        const std::vector<std::string> copy = music;
        music.reserve(music.size() * static_cast<size_t>(k + 1));
        for (int64_t pass = 0; pass < k; ++pass)
            music.insert(music.end(), copy.begin(), copy.end());
    } else if (musicSync == static_cast<uint8_t>(MusicSyncMode::FitToMusic) &&
               showSeconds < musicSeconds) {
        if (showSeconds <= 0 || pictures.empty()) return;
        const int64_t k = static_cast<int64_t>(musicSeconds - showSeconds) / showSeconds + 1;
        // Intervals of the copy are looked up once; a pass repeats them.
        const std::vector<std::string> copy = pictures;
        std::vector<int32_t> intervals;
        intervals.reserve(copy.size());
        for (const std::string& picture : copy) intervals.push_back(intervalOf(picture));
        for (int64_t pass = 0; pass < k; ++pass) {
            for (size_t i = 0; i < copy.size(); ++i) {
                pictures.push_back(copy[i]);
                AppendPictureTiming(timing, intervals[i], rules);
                if (timing.ShowSeconds >= musicSeconds) return;
            }
        }
    }
}

TimingRules SettingsTimingRules() {
    return TimingRules{model::Settings.EffectSpeed2, model::Settings.TVSet};
}

ShowTiming ComputeSettingsShowTiming() {
    return ComputeShowTiming(model::Settings.Pictures, SettingsTimingRules(),
                             [](const std::string& path) { return model::IntervalOf(path); });
}

int32_t ComputeSettingsMusicLength() {
    const model::IniFile& store = model::OptionsStore();
    std::vector<int64_t> lengths;
    lengths.reserve(model::Settings.Music.size());
    for (const std::string& path : model::Settings.Music)
        lengths.push_back(store.ReadInteger("Mp3Length", path, 0));
    return ComputeMusicLength(lengths);
}

ShowLengths ComputeLengths() {
    ShowLengths lengths;
    lengths.timing = ComputeSettingsShowTiming();
    lengths.MusicSeconds = ComputeSettingsMusicLength();
    return lengths;
}

void ApplySettingsSync(ShowLengths& lengths) {
    ApplySync(model::Settings.MusicSync, lengths.MusicSeconds, lengths.timing,
              model::Settings.Pictures, model::Settings.Music, SettingsTimingRules(),
              [](const std::string& path) { return model::IntervalOf(path); });
}

}  // namespace video
