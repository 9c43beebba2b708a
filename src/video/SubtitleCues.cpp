#include "video/SubtitleCues.h"

#include <algorithm>
#include <cstdio>

namespace video {

namespace {

// Milliseconds to the frame's start, to the nearest.
int64_t MillisecondsAt(int64_t frame, FrameRate rate) {
    const int64_t scaled = frame * 1000 * rate.den;
    return (scaled + rate.num / 2) / rate.num;
}

std::string SrtTime(int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld,%03lld",
                  static_cast<long long>(ms / 3600000), static_cast<long long>(ms / 60000 % 60),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
    return text;
}

}  // namespace

std::vector<SubtitleCue> CuesOfCaptions(const std::vector<int64_t>& starts,
                                        const std::vector<std::string>& texts, int64_t endFrame) {
    std::vector<SubtitleCue> cues;
    const size_t count = std::min(starts.size(), texts.size());
    for (size_t i = 0; i < count; ++i) {
        const int64_t end = std::min(i + 1 < count ? starts[i + 1] : endFrame, endFrame);
        // A picture skipped at its start shares its frame with the next one.
        if (texts[i].empty() || starts[i] >= end) continue;
        cues.push_back({starts[i], end, texts[i]});
    }
    return cues;
}

std::string SrtText(const std::vector<SubtitleCue>& cues, FrameRate rate) {
    std::string srt;
    int number = 0;
    for (const SubtitleCue& cue : cues) {
        srt += std::to_string(++number) + '\n';
        srt += SrtTime(MillisecondsAt(cue.start, rate)) + " --> " +
               SrtTime(MillisecondsAt(cue.end, rate)) + '\n';
        // A blank line ends a cue, so the text holds none of its own.
        std::string text = cue.text;
        for (size_t at = text.find("\n\n"); at != std::string::npos; at = text.find("\n\n"))
            text.erase(at, 1);
        srt += text + "\n\n";
    }
    return srt;
}

}  // namespace video
