#include "showbuild/BeatTiming.h"

#include <algorithm>
#include <cmath>

#include "sound/MixRules.h"

namespace video {
namespace {

constexpr int kBeatsPerBar = 4;

// The typical distance between beats, in milliseconds: the median gap, so a
// join between files or a stretch without beats does not sway it. 0 for
// fewer than two beats.
double TypicalBeatMs(const std::vector<ShowBeat>& beats) {
    if (beats.size() < 2) return 0;
    std::vector<int64_t> gaps;
    gaps.reserve(beats.size() - 1);
    for (size_t i = 1; i < beats.size(); ++i) gaps.push_back(beats[i].ms - beats[i - 1].ms);
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    return static_cast<double>(gaps[gaps.size() / 2]);
}

struct BeatFrame {
    int64_t frame;
    bool barStart;
};

// Where the pictures' cycles start for their first drawn frames to be those
// nearest the beats: a cycle's first frame only starts the picture and still
// shows the frame before. Inside the show's first and last frames; beats
// nearer each other than a frame share theirs.
std::vector<BeatFrame> BeatFrames(const std::vector<ShowBeat>& beats, FrameRate rate,
                                  int64_t endFrame) {
    std::vector<BeatFrame> frames;
    frames.reserve(beats.size());
    for (const ShowBeat& beat : beats) {
        const int64_t frame = rate.FrameNearest(beat.ms) - 1;
        if (frame <= 0 || frame >= endFrame) continue;
        if (!frames.empty() && frames.back().frame >= frame) {
            frames.back().barStart = frames.back().barStart || beat.barStart;
            continue;
        }
        frames.push_back({frame, beat.barStart});
    }
    return frames;
}

// Where the next picture begins: the beat nearest 'target' within 'reach'
// of it and inside [lo, hi], a bar's first beat within 'barReach' of it
// before any other; nullopt when no beat is near.
std::optional<int64_t> BeatNear(const std::vector<BeatFrame>& frames, int64_t target, int64_t lo,
                                int64_t hi, int64_t reach, int64_t barReach) {
    const auto first = std::lower_bound(
        frames.begin(), frames.end(), std::max(lo, target - std::max(reach, barReach)),
        [](const BeatFrame& beat, int64_t frame) { return beat.frame < frame; });
    std::optional<int64_t> nearest, nearestBar;
    for (auto it = first; it != frames.end() && it->frame <= hi; ++it) {
        const int64_t distance = std::abs(it->frame - target);
        if (distance > std::max(reach, barReach) && it->frame > target) break;
        if (distance <= reach && (!nearest || distance < std::abs(*nearest - target)))
            nearest = it->frame;
        if (it->barStart && distance <= barReach &&
            (!nearestBar || distance < std::abs(*nearestBar - target)))
            nearestBar = it->frame;
    }
    return nearestBar ? nearestBar : nearest;
}

size_t Utf8Characters(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    }));
}

}  // namespace

int64_t ShortestShownMs(const std::string& caption) {
    if (caption.empty()) return kShortestShownMs;
    const auto reading =
        kReadingBaseMs + kReadingMsPerCharacter * static_cast<int64_t>(Utf8Characters(caption));
    return std::max(kShortestShownMs, reading);
}

std::vector<ShowBeat> MixedBeats(const std::vector<std::optional<model::StoredBeats>>& files,
                                 const std::vector<int64_t>& lengthsMs, int64_t crossfadeMs) {
    std::vector<ShowBeat> beats;
    const size_t count = std::min(files.size(), lengthsMs.size());
    int64_t start = 0;
    for (size_t i = 0; i < count; ++i) {
        const int64_t length = std::max<int64_t>(lengthsMs[i], 0);
        if (i > 0) start -= sound::JoinOverlap(std::max<int64_t>(lengthsMs[i - 1], 0), crossfadeMs);
        // The middles of the crossfades into and out of this file.
        const int64_t from =
            i > 0 ? start + sound::JoinOverlap(lengthsMs[i - 1], crossfadeMs) / 2 : 0;
        const int64_t until = i + 1 < count
                                  ? start + length - sound::JoinOverlap(length, crossfadeMs) / 2
                                  : start + length;
        if (files[i] && files[i]->tempo > 0) {
            const std::vector<int32_t>& own = files[i]->beatsMs;
            for (size_t b = 0; b < own.size(); ++b) {
                const int64_t at = start + own[b];
                if (own[b] >= length || at < from || at >= until) continue;
                beats.push_back({at, b % kBeatsPerBar == 0});
            }
        }
        start += length;
    }
    return beats;
}

int ApplyBeatSync(const std::vector<ShowBeat>& beats, int64_t musicMs, ShowTiming& timing,
                  std::vector<std::string>& pictures, const TimingRules& rules,
                  const NeedsLookup& needsOf) {
    if (musicMs <= 0 || pictures.empty()) return 0;
    const FrameRate rate = rules.rate;
    const int64_t endFrame = rate.FramesCovering(musicMs);
    const std::vector<BeatFrame> frames = BeatFrames(beats, rate, endFrame);
    const double beatMs = TypicalBeatMs(beats);

    int32_t transition = TransitionFrameCount(rules.EffectSpeed2, rate);
    if (beatMs > 0) {
        const double setMs = static_cast<double>(rate.MillisecondsOfFrames(transition));
        const auto beatCount = std::max<int64_t>(1, std::llround(setMs / beatMs));
        const auto wholeBeats = static_cast<int64_t>(std::llround(beatCount * beatMs));
        if (wholeBeats < kShortestShownMs && rate.FrameNearest(wholeBeats) >= 1)
            transition = static_cast<int32_t>(rate.FrameNearest(wholeBeats));
    }
    const int64_t beatFrames = beatMs > 0 ? rate.FrameNearest(static_cast<int64_t>(beatMs)) : 0;

    // Each picture's needs are looked up once; a pass repeats them.
    const std::vector<std::string> copy = pictures;
    std::vector<PictureNeeds> needs;
    needs.reserve(copy.size());
    for (const std::string& picture : copy) needs.push_back(needsOf(picture));
    const auto leastOf = [&](size_t k) {
        return std::max<int64_t>(transition + 1,
                                 rate.FramesCovering(needs[k % needs.size()].shortestMs));
    };

    pictures.clear();
    timing = ShowTiming{};
    timing.TransitionFrames = transition;
    int offBeat = 0;
    for (size_t k = 0;; ++k) {
        const int64_t start = timing.TotalFrames();
        pictures.push_back(copy[k % copy.size()]);
        const int64_t least = leastOf(k), leastNext = leastOf(k + 1);
        int64_t next;
        if (endFrame - start < least + leastNext) {
            // No room for another picture after this one: it stays to the end.
            next = std::max(endFrame, start + transition + 1);
        } else {
            const int64_t desired =
                transition + ImageFrameCount(needs[k % needs.size()].intervalSeconds, rate);
            const int64_t lo = start + least, hi = endFrame - leastNext;
            const int64_t target = std::clamp(start + desired, lo, hi);
            const int64_t reach = std::max<int64_t>(desired / 2, 1);
            const std::optional<int64_t> beat =
                BeatNear(frames, target, lo, hi, reach, std::min(reach, 2 * beatFrames));
            if (!beat) ++offBeat;
            next = beat.value_or(target);
        }
        const auto hold = static_cast<int32_t>(next - start - transition);
        timing.ImageFrames.push_back(hold);
        timing.ImageFramesSum += hold;
        if (next >= endFrame) break;
    }
    timing.ShowSeconds = static_cast<int32_t>(rate.SecondsOfFrames(timing.TotalFrames()));
    return offBeat;
}

}  // namespace video
