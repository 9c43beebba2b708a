#include "showbuild/ShowTiming.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "model/IniFile.h"
#include "model/PerImage.h"
#include "showbuild/BeatTiming.h"
#include "showbuild/FrameGeometry.h"
#include "showbuild/PictureCaptions.h"
#include "sound/MixRules.h"

namespace video {

namespace {

// A hand-edited interval can ask for any number of frames; cap one picture
// so that a cycle (hold plus transition) and the frame counters stay far
// from overflowing.
constexpr int64_t kMaxImageFrames = std::numeric_limits<int32_t>::max() / 4;

}  // namespace

int32_t TransitionFrameCount(int32_t speed, FrameRate rate) {
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
    return static_cast<int32_t>(rate.FramesLike25(pal));
}

int32_t ImageFrameCount(int32_t intervalSeconds, FrameRate rate) {
    const int64_t frames = rate.FramesOfSeconds(intervalSeconds);
    // One frame at least: a cycle then reaches its last transition frame, so
    // every transition completes even without a hold.
    return static_cast<int32_t>(std::clamp<int64_t>(frames, 1, kMaxImageFrames));
}

std::vector<int64_t> PictureStartFrames(const ShowTiming& timing) {
    std::vector<int64_t> starts;
    starts.reserve(timing.ImageFrames.size());
    int64_t start = 0;
    for (int32_t hold : timing.ImageFrames) {
        starts.push_back(start);
        start += timing.TransitionFrames + hold;
    }
    return starts;
}

void AppendPictureTiming(ShowTiming& timing, int32_t intervalSeconds, const TimingRules& rules) {
    timing.TransitionFrames = TransitionFrameCount(rules.EffectSpeed2, rules.rate);
    const int32_t frames = ImageFrameCount(intervalSeconds, rules.rate);
    timing.ImageFrames.push_back(frames);
    timing.ImageFramesSum += frames;
    timing.ShowSeconds = static_cast<int32_t>(rules.rate.SecondsOfFrames(timing.TotalFrames()));
}

ShowTiming ComputeShowTiming(const std::vector<std::string>& pictures, const TimingRules& rules,
                             const IntervalLookup& intervalOf) {
    ShowTiming timing;
    timing.TransitionFrames = TransitionFrameCount(rules.EffectSpeed2, rules.rate);
    timing.ImageFrames.reserve(pictures.size());
    for (const std::string& picture : pictures)
        AppendPictureTiming(timing, intervalOf(picture), rules);
    timing.ShowSeconds = static_cast<int32_t>(rules.rate.SecondsOfFrames(timing.TotalFrames()));
    return timing;
}

int32_t ComputeMusicLength(const std::vector<int64_t>& lengthsMs) {
    int64_t sum = 0;
    for (int64_t length : lengthsMs) sum += length;
    const int64_t seconds = sum / 1000;
    return static_cast<int32_t>(std::clamp<int64_t>(seconds, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

std::vector<int32_t> StretchedHolds(const std::vector<int32_t>& holds, int32_t transitionFrames,
                                    int64_t targetFrames) {
    const auto count = static_cast<int64_t>(holds.size());
    std::vector<int32_t> stretched(holds.size(), 1);
    // Frames left for the holds once every transition has its frames.
    int64_t room = targetFrames - count * std::max(transitionFrames, 0);
    if (room <= count) return stretched;
    // Holds whose share of the room comes to less than a frame keep one
    // frame, which lowers the factor for the others; repeated until no
    // further hold falls below a frame (the factor only ever falls, so the
    // held set only grows).
    std::vector<bool> atLeast(holds.size(), false);
    int64_t weight = 0;
    for (int32_t hold : holds) weight += std::max(hold, 1);
    for (bool changed = true; changed;) {
        changed = false;
        int64_t heldRoom = 0, heldWeight = 0;
        for (size_t i = 0; i < holds.size(); ++i) {
            const int64_t w = std::max(holds[i], 1);
            if (atLeast[i] || static_cast<__int128>(w) * room >= weight) continue;
            atLeast[i] = changed = true;
            ++heldRoom;
            heldWeight += w;
        }
        room -= heldRoom;
        weight -= heldWeight;
    }
    // Each free hold ends where the running weight, scaled, rounds to: the
    // last one ends exactly at 'room'.
    int64_t runningWeight = 0, given = 0;
    for (size_t i = 0; i < holds.size(); ++i) {
        if (atLeast[i]) continue;
        runningWeight += std::max(holds[i], 1);
        const auto upTo = static_cast<int64_t>(
            (static_cast<__int128>(runningWeight) * room * 2 + weight) / (weight * 2));
        stretched[i] = static_cast<int32_t>(std::min(upTo - given, kMaxImageFrames));
        given = upTo;
    }
    return stretched;
}

void ApplySync(uint8_t musicSync, int64_t musicMs, ShowTiming& timing,
               std::vector<std::string>& pictures, std::vector<std::string>& music,
               const TimingRules& rules, const IntervalLookup& intervalOf, int64_t passJoinMs) {
    if (musicMs <= 0) return;
    if (musicSync == static_cast<uint8_t>(MusicSyncMode::FitToPictures)) {
        const int64_t showMs = rules.rate.MillisecondsOfFrames(timing.TotalFrames());
        if (music.empty() || showMs <= musicMs) return;
        int64_t k = (showMs - musicMs) / musicMs + 1;
        // Each join between passes overlaps by the crossfade, so k + 1 passes
        // last (k + 1) * music - k * join; a pass that adds nothing cannot help.
        const int64_t gain = musicMs - std::max<int64_t>(passJoinMs, 0);
        if (gain > 0)
            while ((k + 1) * musicMs - k * passJoinMs < showMs) ++k;
        const std::vector<std::string> copy = music;
        music.reserve(music.size() * static_cast<size_t>(k + 1));
        for (int64_t pass = 0; pass < k; ++pass)
            music.insert(music.end(), copy.begin(), copy.end());
    } else if (musicSync == static_cast<uint8_t>(MusicSyncMode::FitToMusic)) {
        const int64_t musicFrames = rules.rate.FramesCovering(musicMs);
        if (pictures.empty() || timing.TotalFrames() >= musicFrames) return;
        // Intervals of the copy are looked up once; a pass repeats them. Every
        // picture adds at least one frame, so the passes end.
        const std::vector<std::string> copy = pictures;
        std::vector<int32_t> intervals;
        intervals.reserve(copy.size());
        for (const std::string& picture : copy) intervals.push_back(intervalOf(picture));
        for (;;) {
            for (size_t i = 0; i < copy.size(); ++i) {
                pictures.push_back(copy[i]);
                AppendPictureTiming(timing, intervals[i], rules);
                if (timing.TotalFrames() >= musicFrames) return;
            }
        }
    } else if (musicSync == static_cast<uint8_t>(MusicSyncMode::StretchToMusic)) {
        if (timing.ImageFrames.empty()) return;
        timing.ImageFrames = StretchedHolds(timing.ImageFrames, timing.TransitionFrames,
                                            rules.rate.FramesCovering(musicMs));
        timing.ImageFramesSum =
            std::accumulate(timing.ImageFrames.begin(), timing.ImageFrames.end(), int64_t{0});
        timing.ShowSeconds = static_cast<int32_t>(rules.rate.SecondsOfFrames(timing.TotalFrames()));
    }
}

bool EndsWithMusic(uint8_t musicSync) {
    return musicSync == static_cast<uint8_t>(MusicSyncMode::FitToMusic) ||
           musicSync == static_cast<uint8_t>(MusicSyncMode::OnTheBeat);
}

uint8_t EffectiveSync(uint8_t musicSync, bool playMusic) {
    return playMusic ? musicSync : static_cast<uint8_t>(MusicSyncMode::None);
}

TimingRules RulesOf(const model::TslSettings& settings) {
    const std::optional<FrameFormat> format = FrameFormatOf(settings);
    return TimingRules{settings.EffectSpeed2, format ? format->rate : kPalRate};
}

std::vector<int64_t> StoredMusicLengths(const model::Show& show,
                                        const std::vector<std::string>& music) {
    std::vector<int64_t> lengths;
    lengths.reserve(music.size());
    for (const std::string& path : music) lengths.push_back(show.MusicLengthMs(path));
    return lengths;
}

namespace {

IntervalLookup IntervalsOf(const model::Show& show) {
    return [&show](const std::string& path) { return show.IntervalOf(path); };
}

}  // namespace

ShowLengths ComputeLengths(const model::Show& show) {
    const model::TslSettings& s = show.settings;
    ShowLengths lengths;
    lengths.timing = ComputeShowTiming(s.Pictures, RulesOf(s), IntervalsOf(show));
    const std::vector<int64_t> music = StoredMusicLengths(show, s.Music);
    // Crossfaded tracks overlap: the music sounds that much shorter, as the
    // mixer joins it, and fitted to it the show is too.
    lengths.MusicMs = sound::CrossfadedLength(music, sound::ClampFadeMs(s.MusicCrossfadeMs));
    lengths.MusicSeconds = ComputeMusicLength({lengths.MusicMs});
    return lengths;
}

void ApplySettingsSync(ShowLengths& lengths, model::Show& show) {
    model::TslSettings& s = show.settings;
    const std::vector<int64_t> music = StoredMusicLengths(show, s.Music);
    if (EffectiveSync(s.MusicSync, s.PlayMusic) == static_cast<uint8_t>(MusicSyncMode::OnTheBeat)) {
        std::vector<std::optional<model::StoredBeats>> beats;
        for (const std::string& path : s.Music) beats.push_back(show.BeatsOf(path));
        const NeedsLookup needsOf = [&show](const std::string& path) {
            const std::string caption = show.settings.ShowCaption ? PictureCaption(show, path) : "";
            return PictureNeeds{show.IntervalOf(path), ShortestShownMs(caption)};
        };
        lengths.OffBeatChanges =
            ApplyBeatSync(MixedBeats(beats, music, sound::ClampFadeMs(s.MusicCrossfadeMs)),
                          lengths.MusicMs, lengths.timing, s.Pictures, RulesOf(s), needsOf);
        return;
    }
    // A repeated list joins its last file to its first, overlapped like any join.
    const int64_t passJoinMs =
        music.empty() ? 0
                      : sound::JoinOverlap(music.back(), sound::ClampFadeMs(s.MusicCrossfadeMs));
    // The lists grow while the lookup reads the notes, which stay as they are.
    ApplySync(EffectiveSync(s.MusicSync, s.PlayMusic), lengths.MusicMs, lengths.timing, s.Pictures,
              s.Music, RulesOf(s), IntervalsOf(show), passJoinMs);
}

}  // namespace video
