#include "showbuild/CaptionLayout.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "showbuild/ShowTiming.h"
#include "video/EncoderPresets.h"

namespace video {

namespace {

// A one-line caption at full size in the PAL picture of each video type.
struct CaptionRow {
    int videoType;
    int fontSize;
    int top;
};
constexpr std::array<CaptionRow, 3> kCaptionRows{{
    {0, 17, 265},
    {1, 24, 540},
    {2, 36, 530},
}};

// The DVD's row, the model a frame of another size is scaled from.
constexpr int kModelHeight = 576;
constexpr int kModelFontSize = 36;
constexpr int kModelTop = 530;
// A widescreen DVD's glyph width: its pixels are 64:45 wide, the 4:3 DVD's
// 16:15, and (16/15) / (64/45) is 3/4.
constexpr int kWideDiscCaptionStretch = 75;

// Text is made no smaller than this share of its size before it is broken.
constexpr double kSmallestScale = 0.6;
// Left free on each side, as a share of the frame's width.
constexpr double kSideMargin = 0.05;

const char* const kEllipsis = "\xE2\x80\xA6";

bool IsContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Text shortened by whole characters until it fits, then ended with an
// ellipsis; spaces before the ellipsis go too.
std::string Ellipsized(std::string text, int pixelSize, int room, const MeasureText& measure) {
    while (!text.empty()) {
        do {
            text.pop_back();
        } while (!text.empty() && IsContinuationByte(text.back()));
        while (!text.empty() && text.back() == ' ') text.pop_back();
        const std::string candidate = text + kEllipsis;
        if (measure(candidate, pixelSize).inkWidth <= room) return candidate;
    }
    return kEllipsis;
}

// Where each space-separated break would split the text: the two halves,
// without the spaces around the break.
std::vector<std::pair<std::string, std::string>> WordBreaks(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> breaks;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != ' ') continue;
        const size_t end = text.find_last_not_of(' ', i);
        const size_t start = text.find_first_not_of(' ', i);
        if (end == std::string::npos || start == std::string::npos) continue;
        std::pair<std::string, std::string> split{text.substr(0, end + 1), text.substr(start)};
        if (breaks.empty() || breaks.back() != split) breaks.push_back(std::move(split));
    }
    return breaks;
}

}  // namespace

std::optional<CaptionFrame> CaptionFrameFor(int videoType, int32_t tvSet) {
    const auto row = std::find_if(kCaptionRows.begin(), kCaptionRows.end(),
                                  [&](const CaptionRow& r) { return r.videoType == videoType; });
    const EncoderPreset* pal = FindPreset(videoType, static_cast<int>(TvStandard::Pal));
    const EncoderPreset* own =
        FindPreset(videoType, static_cast<int>(IsNtsc(tvSet) ? TvStandard::Ntsc : TvStandard::Pal));
    if (row == kCaptionRows.end() || !pal || !own) return std::nullopt;
    return CaptionFrame{own->width, own->height, row->fontSize,
                        row->top - (pal->height - own->height)};
}

int CaptionShadowOffset(const CaptionFrame& frame) {
    return std::max(
        kCaptionShadowOffset,
        static_cast<int>(std::lround(kCaptionShadowOffset * frame.height / double{kModelHeight})));
}

std::optional<CaptionFrame> CaptionFrameFor(const FrameFormat& format, int32_t tvSet) {
    if (format.squarePixels()) return ScaledCaptionFrame(format.width, format.height);
    std::optional<CaptionFrame> frame = CaptionFrameFor(format.videoType, tvSet);
    // Only the 16:9 DVD: the 4:3 formats keep the captions they have always had.
    if (frame && format.anamorphicWide && format.displayWidth * 3 > format.displayHeight * 4)
        frame->stretch = kWideDiscCaptionStretch;
    return frame;
}

CaptionFrame ScaledCaptionFrame(int width, int height) {
    const double scale = static_cast<double>(height) / kModelHeight;
    const int bottomGap = static_cast<int>(std::lround((kModelHeight - kModelTop) * scale));
    return CaptionFrame{width, height,
                        std::max(1, static_cast<int>(std::lround(kModelFontSize * scale))),
                        height - bottomGap};
}

std::vector<CaptionLine> LayOutCaption(const CaptionFrame& frame, const std::string& text,
                                       const MeasureText& measure) {
    if (text.empty()) return {};
    const int room = frame.width - 2 * static_cast<int>(std::lround(frame.width * kSideMargin));
    // Every line stands on the baseline of a full-size one-line caption.
    const int baseline = frame.top + measure(text, frame.fontSize).ascent;
    const auto place = [&](const std::string& line, int size, int baselineY) {
        const TextExtent extent = measure(line, size);
        return CaptionLine{line, size, (frame.width - extent.inkWidth) / 2 - extent.inkLeft,
                           baselineY - extent.ascent};
    };
    const auto fits = [&](const std::string& line, int size) {
        return measure(line, size).inkWidth <= room;
    };

    const int smallest =
        std::max(1, static_cast<int>(std::lround(frame.fontSize * kSmallestScale)));
    for (int size = frame.fontSize; size >= smallest; --size)
        if (fits(text, size)) return {place(text, size, baseline)};

    // Two lines at the smallest size: the break that leaves the wider line
    // narrowest; failing one where both fit, the longest top line that fits.
    const int size = smallest;
    std::string top, bottom = text;
    int best = -1;
    for (const auto& [first, second] : WordBreaks(text)) {
        const int wide = std::max(measure(first, size).inkWidth, measure(second, size).inkWidth);
        if (wide <= room && (best < 0 || wide < best)) {
            best = wide;
            top = first;
            bottom = second;
        } else if (best < 0 && (top.empty() || fits(first, size))) {
            top = first;
            bottom = second;
        }
    }
    if (!fits(bottom, size)) bottom = Ellipsized(bottom, size, room, measure);
    std::vector<CaptionLine> lines{place(bottom, size, baseline)};
    if (!top.empty()) {
        if (!fits(top, size)) top = Ellipsized(top, size, room, measure);
        lines.push_back(place(top, size, baseline - measure(top, size).lineSpacing));
    }
    return lines;
}

}  // namespace video
