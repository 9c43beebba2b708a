#include "showbuild/CaptionLayout.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "showbuild/ShowTiming.h"
#include "video/EncoderPresets.h"

namespace video {

namespace {

// A one-line caption's font size in each disc format.
struct CaptionRow {
    int videoType;
    int fontSize;
};
constexpr std::array<CaptionRow, 3> kCaptionRows{{
    {0, 17},
    {1, 24},
    {2, 36},
}};

// The DVD's row, the model a frame of another size is scaled from.
constexpr int kModelHeight = 576;
constexpr int kModelFontSize = 36;
// A widescreen DVD's glyph width: its pixels are 64:45 wide, the 4:3 DVD's
// 16:15, and (16/15) / (64/45) is 3/4.
constexpr int kWideDiscCaptionStretch = 75;

// The share of the frame's width and height inside the title-safe area, in
// percent.
constexpr int kDiscSafePercent = 80;
constexpr int kSquarePixelSafePercent = 90;

// Text is made no smaller than this share of its size before it is broken.
constexpr double kSmallestScale = 0.6;

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

int Margin(int length, int safePercent) {
    return static_cast<int>(std::lround(length * (100 - safePercent) / 200.0));
}

// The text of each line, bottom first, and the size they are drawn at.
struct FittedLines {
    std::vector<std::string> lines;
    int size = 0;
};

FittedLines FitCaption(const CaptionFrame& frame, const std::string& text,
                       const MeasureText& measure) {
    const int room = frame.safe.right - frame.safe.left;
    const auto fits = [&](const std::string& line, int size) {
        return measure(line, size).inkWidth <= room;
    };
    const int smallest =
        std::max(1, static_cast<int>(std::lround(frame.fontSize * kSmallestScale)));
    for (int size = frame.fontSize; size >= smallest; --size)
        if (fits(text, size)) return {{text}, size};

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
    FittedLines fitted{{bottom}, size};
    if (!top.empty())
        fitted.lines.push_back(fits(top, size) ? top : Ellipsized(top, size, room, measure));
    return fitted;
}

}  // namespace

SafeArea TitleSafeArea(int width, int height, bool squarePixels) {
    const int percent = squarePixels ? kSquarePixelSafePercent : kDiscSafePercent;
    const int x = Margin(width, percent);
    const int y = Margin(height, percent);
    return SafeArea{x, y, width - x, height - y};
}

int FormatCaptionSize(const FrameFormat& format) {
    if (format.squarePixels())
        return std::max(1, static_cast<int>(
                               std::lround(kModelFontSize * format.height / double{kModelHeight})));
    const auto row =
        std::find_if(kCaptionRows.begin(), kCaptionRows.end(),
                     [&](const CaptionRow& r) { return r.videoType == format.videoType; });
    return row == kCaptionRows.end() ? 0 : row->fontSize;
}

int CaptionShadowOffset(const CaptionFrame& frame) {
    return std::max(
        kCaptionShadowOffset,
        static_cast<int>(std::lround(kCaptionShadowOffset * frame.height / double{kModelHeight})));
}

std::optional<CaptionFrame> CaptionFrameFor(const FrameFormat& format, int32_t tvSet,
                                            const model::CaptionStyle& style) {
    int fontSize = FormatCaptionSize(format);
    int width = format.width, height = format.height;
    if (!format.squarePixels()) {
        const EncoderPreset* own = FindPreset(
            format.videoType, static_cast<int>(IsNtsc(tvSet) ? TvStandard::Ntsc : TvStandard::Pal));
        if (!own) return std::nullopt;
        width = own->width;
        height = own->height;
    }
    if (fontSize <= 0 || width <= 0 || height <= 0) return std::nullopt;
    if (style.sizePercent > 0)
        fontSize = std::max(1, static_cast<int>(std::lround(height * style.sizePercent / 100)));
    CaptionFrame frame{width,          height,
                       fontSize,       TitleSafeArea(width, height, format.squarePixels()),
                       style.position, style.align};
    // Only the 16:9 DVD: the 4:3 formats keep the captions they have always had.
    if (!format.squarePixels() && format.anamorphicWide &&
        format.displayWidth * 3 > format.displayHeight * 4)
        frame.stretch = kWideDiscCaptionStretch;
    return frame;
}

std::vector<CaptionLine> LayOutCaption(const CaptionFrame& frame, const std::string& text,
                                       const MeasureText& measure) {
    if (text.empty()) return {};
    const FittedLines fitted = FitCaption(frame, text, measure);
    const int count = static_cast<int>(fitted.lines.size());
    const TextExtent bottomLine = measure(fitted.lines.front(), fitted.size);
    const TextExtent topLine = measure(fitted.lines.back(), fitted.size);
    const int spacing = bottomLine.lineSpacing;

    // The baseline of the top line.
    int topBaseline = 0;
    switch (frame.position) {
        case model::CaptionPosition::Bottom: {
            // Every line stands on the baseline of a full-size one-line
            // caption whose drawing ends at the area's bottom.
            const TextExtent full = measure(text, frame.fontSize);
            topBaseline = frame.safe.bottom - (full.bottom - full.ascent) - (count - 1) * spacing;
            break;
        }
        case model::CaptionPosition::Top:
            topBaseline = frame.safe.top - topLine.top + topLine.ascent;
            break;
        case model::CaptionPosition::Centre: {
            const int height = (count - 1) * spacing + bottomLine.bottom - topLine.top;
            topBaseline = (frame.height - height) / 2 - topLine.top + topLine.ascent;
            break;
        }
    }

    std::vector<CaptionLine> lines;
    for (int i = 0; i < count; ++i) {
        const std::string& line = fitted.lines[static_cast<size_t>(i)];
        const TextExtent extent = measure(line, fitted.size);
        int x = 0;
        switch (frame.align) {
            case model::CaptionAlign::Left:
                x = frame.safe.left - extent.inkLeft;
                break;
            case model::CaptionAlign::Right:
                x = frame.safe.right - extent.inkLeft - extent.inkWidth;
                break;
            case model::CaptionAlign::Centre:
                x = (frame.width - extent.inkWidth) / 2 - extent.inkLeft;
                break;
        }
        const int baseline = topBaseline + (count - 1 - i) * spacing;
        lines.push_back(CaptionLine{line, fitted.size, x, baseline - extent.ascent});
    }
    return lines;
}

}  // namespace video
