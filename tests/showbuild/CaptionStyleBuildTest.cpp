// Styled captions as a viewer sees them, decoded from built videos: every
// place inside the title-safe area against its edge, every format's
// captions inside its safe area, the colours of an outline and a box, a
// fade, and the fonts and scripts the system cannot draw named in the result.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "model/CaptionStyle.h"
#include "showbuild/BuildDriver.h"
#include "showbuild/BuildTestUtil.h"
#include "showbuild/ShowTiming.h"

namespace video::test {
namespace {

// A caption style changed from the default by 'change'.
template <typename Change>
model::CaptionStyle StyleWith(Change change) {
    model::CaptionStyle style;
    change(style);
    return style;
}

struct Format {
    int videoType;
    int tvSet;
    int width, height;
    int safePercent;
};
constexpr Format kDvdPal{2, 0, 720, 576, 80};

class CaptionStyleBuild : public BuildTest {
protected:
    // Black pictures, each with its caption, shown for 'interval' seconds
    // after a cut, with captions in 'style'.
    void Pictures(const std::vector<std::string>& captions, const model::CaptionStyle& style,
                  int32_t interval = 0) {
        show_.settings.Pictures.clear();
        for (size_t i = 0; i < captions.size(); ++i) {
            const std::string name = "black" + std::to_string(i) + ".png";
            WriteSolidPicture(File(name), 160, 120, 0x000000);
            show_.settings.Pictures.push_back(File(name));
            show_.notes.WriteString("captions", name, captions[i]);
        }
        show_.settings.ShowCaption = true;
        show_.settings.Caption = style;
        QuickShow(interval);
        show_.settings.useeffects.reset();
    }
    BuildResult Build(const Format& format) {
        show_.settings.VideoType = static_cast<uint8_t>(format.videoType);
        show_.settings.TVSet = format.tvSet;
        BuildResult result = BuildShow();
        EXPECT_EQ(result.status, BuildResult::Status::Completed) << result.message;
        return result;
    }
    RgbFrame Decode(const BuildResult& result, const Format& format, int index) {
        return RgbFrame{format.width, format.height,
                        DecodeFrameRgb(result.videoFile, format.width, format.height, index)};
    }
};

// The title-safe area of a format, as the test computes it.
struct Safe {
    double left, top, right, bottom;
};
Safe SafeOf(const Format& f) {
    const double mx = f.width * (100 - f.safePercent) / 200.0;
    const double my = f.height * (100 - f.safePercent) / 200.0;
    return {mx, my, f.width - mx, f.height - my};
}

TEST_F(CaptionStyleBuild, EveryPlaceLiesInsideTheSafeAreaAgainstItsEdge) {
    const Safe safe = SafeOf(kDvdPal);
    const int size = 36;  // the DVD's caption size
    for (const auto& [position, positionName] : model::kCaptionPositions)
        for (const model::CaptionAlign align :
             {model::CaptionAlign::Left, model::CaptionAlign::Centre, model::CaptionAlign::Right}) {
            SCOPED_TRACE(std::string(positionName) + " " + std::to_string(static_cast<int>(align)));
            Pictures({"Holiday at the lake"}, StyleWith([&](model::CaptionStyle& s) {
                         s.position = position;
                         s.align = align;
                     }));
            const RgbFrame frame = Decode(Build(kDvdPal), kDvdPal, kLastFrame);
            ASSERT_EQ(frame.rgb.size(), size_t{720} * 576 * 3);
            const InkBox ink = frame.inkBox();
            ASSERT_GE(ink.right, 0) << "no caption drawn";
            EXPECT_GE(ink.left, safe.left);
            EXPECT_LT(ink.right, safe.right);
            EXPECT_GE(ink.top, safe.top);
            EXPECT_LT(ink.bottom, safe.bottom);
            const double across = align == model::CaptionAlign::Left ? ink.left - safe.left
                                  : align == model::CaptionAlign::Right
                                      ? safe.right - 1 - ink.right
                                      : std::abs((ink.left + ink.right) / 2.0 - 360);
            EXPECT_LT(across, 4) << ink.left << ".." << ink.right;
            const double down = position == model::CaptionPosition::Top ? ink.top - safe.top
                                : position == model::CaptionPosition::Bottom
                                    ? safe.bottom - 1 - ink.bottom
                                    : std::abs((ink.top + ink.bottom) / 2.0 - 288);
            EXPECT_LT(down, size / 2) << ink.top << ".." << ink.bottom;
        }
}

// A long caption on a box, with an outline, in every disc format and
// standard and in an MP4 one: all of it inside the format's title-safe area,
// the bottom line at its bottom edge.
TEST_F(CaptionStyleBuild, EveryFormatKeepsItsCaptionsInsideItsSafeArea) {
    Pictures({"Holiday at the lake in June 2024 with all of the family, too"},
             StyleWith([](model::CaptionStyle& s) {
                 s.edge = model::CaptionEdge::Outline;
                 s.box = true;
                 s.boxColour = 0x4060A0;
             }));
    for (const Format& format : {Format{0, 0, 352, 288, 80}, Format{0, 1, 352, 240, 80},
                                 Format{1, 0, 480, 576, 80}, Format{1, 1, 480, 480, 80}, kDvdPal,
                                 Format{2, 1, 720, 480, 80}, Format{3, 0, 1280, 720, 90}}) {
        SCOPED_TRACE(std::to_string(format.videoType) + "/" + std::to_string(format.tvSet));
        const Safe safe = SafeOf(format);
        const RgbFrame frame = Decode(Build(format), format, kLastFrame);
        ASSERT_EQ(frame.rgb.size(), static_cast<size_t>(format.width) * format.height * 3);
        const InkBox ink = frame.inkBox();
        ASSERT_GE(ink.right, 0) << "no caption drawn";
        EXPECT_GE(ink.left, safe.left);
        EXPECT_LT(ink.right, safe.right);
        EXPECT_GE(ink.top, safe.top);
        EXPECT_LT(ink.bottom, safe.bottom);
        EXPECT_GT(ink.bottom, safe.bottom - format.height / 40.0 - 2);
        // Too long for one line at full size: made smaller, or broken into two.
        EXPECT_GT(ink.right - ink.left, (safe.right - safe.left) / 2);
    }
}

TEST_F(CaptionStyleBuild, OutlineAndBoxAreDrawnInTheirColours) {
    // Red and blue appear only where the style sets them.
    Pictures({"WWW MMM"}, {});
    RgbFrame frame = Decode(Build(kDvdPal), kDvdPal, kLastFrame);
    ASSERT_FALSE(frame.rgb.empty());
    EXPECT_EQ(frame.count(0), 0);
    EXPECT_EQ(frame.count(2), 0);

    Pictures({"WWW MMM"}, StyleWith([](model::CaptionStyle& s) {
                 s.colour = 0xFFFFFF;
                 s.edge = model::CaptionEdge::Outline;
                 s.edgeColour = 0xFF0000;
                 s.box = true;
                 s.boxColour = 0x0000FF;
                 s.boxOpacity = 100;
             }));
    frame = Decode(Build(kDvdPal), kDvdPal, kLastFrame);
    ASSERT_FALSE(frame.rgb.empty());
    EXPECT_GT(frame.count(0), 300) << "red outline";
    // The box fills a band as high as the text and wider than it.
    const InkBox ink = frame.inkBox();
    EXPECT_GT(frame.count(2), (ink.right - ink.left) * (ink.bottom - ink.top) / 3) << "blue box";
    const uint8_t* corner = frame.at(ink.left + 2, ink.top + 2);
    EXPECT_GT(corner[2], 180);
    EXPECT_LT(corner[0], 70);
}

TEST_F(CaptionStyleBuild, AFadingCaptionStartsDarkerThanItsMiddle) {
    const int cycle = TransitionFrameCount(1, kPalRate) + ImageFrameCount(2, kPalRate);
    for (const bool fade : {false, true}) {
        SCOPED_TRACE(fade ? "fading" : "not fading");
        Pictures({"Holiday at the lake"}, StyleWith([&](model::CaptionStyle& s) { s.fade = fade; }),
                 2);
        const BuildResult result = Build(kDvdPal);
        const int64_t first = Decode(result, kDvdPal, 0).lumaSum();
        const int64_t middle = Decode(result, kDvdPal, cycle / 2).lumaSum();
        ASSERT_GT(middle, 0);
        if (fade)
            EXPECT_LT(first * 4, middle);
        else
            EXPECT_NEAR(static_cast<double>(first), static_cast<double>(middle), middle * 0.1);
    }
}

// A font that is not installed is named once however many pictures ask for
// it, and the captions are drawn in the default one; Chinese and Arabic are
// drawn through the fonts that have them, and a script no font has is named.
TEST_F(CaptionStyleBuild, MissingFontsAndGlyphsAreNamedAndOtherScriptsDrawn) {
    const std::string missingFont = "Vanto No Such Font";
    const std::vector<std::string> captions = {
        "\xE5\x8C\x97\xE4\xBA\xAC\xE7\x9A\x84\xE5\xA4\x8F\xE5\xA4\xA9",  // Chinese
        "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 \xD8\xA8\xD8\xA7\xD9\x84\xD8\xB9\xD8\xA7"
        "\xD9\x84\xD9\x85",                              // Arabic
        "Caf\xC3\xA9 \xF0\x93\x80\x80\xF0\x93\x80\x81",  // Egyptian hieroglyphs
    };
    const auto missing = [&](model::CaptionStyle& s) { s.font = missingFont; };
    Pictures(captions, StyleWith(missing), 1);
    model::SetOwnCaptionStyle(show_.notes, show_.settings.Pictures[1],
                              StyleWith([&](model::CaptionStyle& s) {
                                  missing(s);
                                  s.align = model::CaptionAlign::Left;
                              }));
    const BuildResult result = Build(kDvdPal);
    int fontWarnings = 0, glyphWarnings = 0;
    for (const std::string& warning : result.warnings) {
        fontWarnings += warning.find(missingFont) != std::string::npos;
        if (warning.find(captions[2]) != std::string::npos) {
            ++glyphWarnings;
            EXPECT_NE(warning.find("U+13000"), std::string::npos) << warning;
        }
    }
    EXPECT_EQ(fontWarnings, 1);
    EXPECT_EQ(glyphWarnings, 1);
    EXPECT_EQ(result.warnings.size(), 2u);

    const int cycle = TransitionFrameCount(1, kPalRate) + ImageFrameCount(1, kPalRate);
    for (int picture = 0; picture < 2; ++picture) {
        SCOPED_TRACE(picture);
        const RgbFrame frame = Decode(result, kDvdPal, picture * cycle + cycle - 2);
        const InkBox ink = frame.inkBox();
        ASSERT_GE(ink.right, 0) << "no caption drawn";
        EXPECT_GT(ink.right - ink.left, 60);
        EXPECT_GT(ink.bottom - ink.top, 15);
    }
}

}  // namespace
}  // namespace video::test
