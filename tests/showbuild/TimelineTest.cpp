// The show's timing, the synchronisation step, the frame-by-frame walk, the
// caption placement and the progress texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "base/Random.h"
#include "showbuild/BuildSession.h"
#include "showbuild/CaptionLayout.h"
#include "showbuild/FrameTimeline.h"
#include "showbuild/ProgressText.h"
#include "showbuild/ShowTiming.h"

namespace video {
namespace {

constexpr FrameRate kPal = kPalRate;
constexpr FrameRate kNtsc = kNtscRate;
constexpr FrameRate k50{50, 1};
constexpr FrameRate k5994{60000, 1001};

IntervalLookup Fixed(int32_t seconds) {
    return [seconds](const std::string&) { return seconds; };
}

IntervalLookup FromMap(std::map<std::string, int32_t> intervals) {
    return [intervals](const std::string& path) { return intervals.at(path); };
}

TEST(ShowTimingTest, TwoPicturesAtPalIntervalTwoSpeedFour) {
    const ShowTiming timing = ComputeShowTiming({"a.jpg", "b.jpg"}, {4, kPal}, Fixed(2));
    EXPECT_EQ(timing.ImageFrames, (std::vector<int32_t>{50, 50}));
    EXPECT_EQ(timing.ImageFramesSum, 100);
    EXPECT_EQ(timing.TransitionFrames, 75);
    EXPECT_EQ(timing.TotalFrames(), 250);
    EXPECT_EQ(timing.ShowSeconds, 10);
}

TEST(ShowTimingTest, FrameCountsKeepTheirSecondsAtEveryRate) {
    // Speeds 1..5 and an out-of-range one at 25, 29.97 (x 29.97 / 25, cut),
    // 50 (twice as many) and 59.94 frames a second.
    struct Row {
        int32_t speed;
        int32_t pal, ntsc, fifty, ntsc60;
    };
    for (const Row r : {Row{1, 10, 11, 20, 23}, Row{2, 35, 41, 70, 83}, Row{3, 50, 59, 100, 119},
                        Row{4, 75, 89, 150, 179}, Row{5, 100, 119, 200, 239},
                        Row{0, 50, 59, 100, 119}, Row{9, 50, 59, 100, 119}}) {
        EXPECT_EQ(TransitionFrameCount(r.speed, kPal), r.pal) << r.speed;
        EXPECT_EQ(TransitionFrameCount(r.speed, kNtsc), r.ntsc) << r.speed;
        EXPECT_EQ(TransitionFrameCount(r.speed, k50), r.fifty) << r.speed;
        EXPECT_EQ(TransitionFrameCount(r.speed, k5994), r.ntsc60) << r.speed;
    }
    EXPECT_EQ(ImageFrameCount(3, kNtsc), 89);  // 89.91 cut
    EXPECT_EQ(ImageFrameCount(3, kPal), 75);
    EXPECT_EQ(ImageFrameCount(3, k50), 150);
    EXPECT_EQ(ImageFrameCount(3, k5994), 179);  // 179.82 cut
    EXPECT_EQ(ImageFrameCount(100, kNtsc), 2997);
    // The rate follows the format: any TVSet other than 1 times as PAL, and
    // the disc formats keep their standard's rate whatever rate is chosen.
    model::TslSettings settings;
    settings.TVSet = 7;
    settings.VideoRate = 4;  // 50
    EXPECT_EQ(RulesOf(settings).rate, kPal);
    settings.VideoType = 4;
    EXPECT_EQ(RulesOf(settings).rate, k50);
    // No interval, or a hand-typed negative one: the transition still ends
    // on its complete last frame.
    EXPECT_EQ(ImageFrameCount(0, kPal), 1);
    EXPECT_EQ(ImageFrameCount(-5, kPal), 1);
    EXPECT_EQ(ImageFrameCount(-5, kNtsc), 1);
    // An absurd interval is capped instead of overflowing.
    EXPECT_GT(ImageFrameCount(2'000'000'000, kNtsc), 0);
}

TEST(ShowTimingTest, ShowSecondsAreCutAndExactAtNtsc) {
    // 2997 frames are exactly 100 s at 29.97; 2996 are 99.97 s.
    EXPECT_EQ(kNtsc.SecondsOfFrames(2997), 100);
    EXPECT_EQ(kNtsc.SecondsOfFrames(2996), 99);
    EXPECT_EQ(kPal.SecondsOfFrames(249), 9);
    EXPECT_EQ(kPal.SecondsOfFrames(0), 0);
    // No pictures: no frames, no seconds.
    const ShowTiming empty = ComputeShowTiming({}, {4, kPal}, Fixed(2));
    EXPECT_EQ(empty.TotalFrames(), 0);
    EXPECT_EQ(empty.ShowSeconds, 0);
}

TEST(ShowTimingTest, MusicLengthSumsMillisecondsBeforeDividing) {
    EXPECT_EQ(ComputeMusicLength({999, 999, 2}), 2);  // 2000 ms, not 0 + 0 + 0
    EXPECT_EQ(ComputeMusicLength({}), 0);
    EXPECT_EQ(ComputeMusicLength({185'000}), 185);
}

TEST(ApplySyncTest, FitToPicturesRepeatsTheMusicList) {
    // 100 s of show, 30 s of music: k = (100 - 30) div 30 + 1 = 3, played 4 times.
    ShowTiming timing = ComputeShowTiming({"a", "b"}, {4, kPal}, Fixed(47));
    ASSERT_EQ(timing.ShowSeconds, 100);
    std::vector<std::string> pictures{"a", "b"};
    std::vector<std::string> music{"x.mp3", "y.mp3"};
    ApplySync(1, 30'000, timing, pictures, music, {4, kPal}, Fixed(47));
    EXPECT_EQ(music.size(), 8u);
    for (size_t i = 0; i < music.size(); ++i) EXPECT_EQ(music[i], i % 2 == 0 ? "x.mp3" : "y.mp3");
    EXPECT_EQ(pictures.size(), 2u);

    // Music already long enough, or no sync: nothing changes.
    std::vector<std::string> longMusic{"x.mp3"};
    ApplySync(1, 100'000, timing, pictures, longMusic, {4, kPal}, Fixed(47));
    ApplySync(0, 30'000, timing, pictures, longMusic, {4, kPal}, Fixed(47));
    EXPECT_EQ(longMusic.size(), 1u);
    // Music a little shorter than the show in the same whole second still
    // needs a second play.
    ApplySync(1, 99'600, timing, pictures, longMusic, {4, kPal}, Fixed(47));
    EXPECT_EQ(longMusic.size(), 2u);

    // Crossfaded passes overlap at each join: four passes of 30 s joined by
    // 10 s last only 90 s, so a fifth is played. A join as long as the list
    // leaves the plain count.
    const struct {
        int64_t joinMs;
        size_t files;
    } joins[] = {{0, 8}, {10'000, 10}, {30'000, 8}};
    for (const auto& c : joins) {
        std::vector<std::string> faded{"x.mp3", "y.mp3"};
        ApplySync(1, 30'000, timing, pictures, faded, {4, kPal}, Fixed(47), c.joinMs);
        EXPECT_EQ(faded.size(), c.files) << c.joinMs;
    }
}

// A song that is not a whole number of seconds long: the pictures cover all
// of it, to the frame, at every rate (NTSC runs at 30000/1001).
TEST(ApplySyncTest, FitToMusicCoversTheLastFractionOfASecond) {
    struct Case {
        FrameRate rate;
        int64_t musicMs;
        size_t pictures;
    };
    // Interval 7, speed 1: a cycle of 175 + 10 frames (7.4 s) at PAL, of
    // 209 + 11 frames (7.34 s) at NTSC. Five cycles reach 37.0 and 36.7 s:
    // in whole seconds 37.0 s covered 37.54 s; to the frame it takes six.
    // At 50 the cycle is 350 + 20 frames, 7.4 s again; at 59.94, 419 + 23
    // frames (7.374 s), and five cycles last 36.870 2 s.
    for (const Case c : {Case{kPal, 37'540, 6}, Case{kNtsc, 37'540, 6}, Case{kPal, 37'000, 5},
                         Case{kNtsc, 36'700, 5}, Case{k50, 37'540, 6}, Case{k50, 37'000, 5},
                         Case{k5994, 36'870, 5}, Case{k5994, 36'871, 6}}) {
        const TimingRules rules{1, c.rate};
        std::vector<std::string> pictures{"a"};
        std::vector<std::string> music{"m.mp3"};
        ShowTiming timing = ComputeShowTiming(pictures, rules, Fixed(7));
        ApplySync(2, c.musicMs, timing, pictures, music, rules, Fixed(7));
        EXPECT_EQ(pictures.size(), c.pictures) << c.rate.num << " " << c.musicMs;
        EXPECT_GE(c.rate.MillisecondsOfFrames(timing.TotalFrames()), c.musicMs);
    }
    // Frame arithmetic at the encoder's exact rates, rounded so as to cover.
    EXPECT_EQ(kPal.FramesCovering(37'540), 939);  // 938.5
    EXPECT_EQ(kNtsc.FramesCovering(1'001), 30);   // exactly 30 frames
    EXPECT_EQ(kNtsc.FramesCovering(1'002), 31);
    EXPECT_EQ(kNtsc.MillisecondsOfFrames(30), 1'001);
    EXPECT_EQ(k5994.FramesCovering(1'001), 60);
    EXPECT_EQ(k5994.FramesCovering(1'002), 61);
    EXPECT_EQ(k5994.MillisecondsOfFrames(60), 1'001);
    EXPECT_EQ(k50.FramesCovering(37'540), 1'877);  // 1877.0
    EXPECT_EQ(kPal.FramesCovering(0), 0);
}

TEST(ApplySyncTest, MusicSwitchedOffIsNoSynchronisation) {
    EXPECT_EQ(EffectiveSync(2, false), 0);
    EXPECT_EQ(EffectiveSync(1, false), 0);
    EXPECT_EQ(EffectiveSync(2, true), 2);
}

TEST(ApplySyncTest, FitToMusicStopsAtThePictureThatCoversTheMusic) {
    // Transitions of 2 s (speed 3); the pictures last 5, 3, 7 and 5 s: 20 s.
    const auto intervals = FromMap({{"a", 3}, {"b", 1}, {"c", 5}, {"d", 3}});
    const TimingRules rules{3, kPal};
    std::vector<std::string> pictures{"a", "b", "c", "d"};
    ShowTiming timing = ComputeShowTiming(pictures, rules, intervals);
    ASSERT_EQ(timing.ShowSeconds, 20);
    std::vector<std::string> music{"m.mp3"};
    // 70 s of music: two whole passes reach 60 s, then a (65), b (68), c (75).
    ApplySync(2, 70'000, timing, pictures, music, rules, intervals);
    ASSERT_EQ(pictures.size(), 15u);
    EXPECT_EQ(pictures.back(), "c");
    EXPECT_EQ(timing.ShowSeconds, 75);
    EXPECT_EQ(timing.ImageFrames.size(), pictures.size());
    // The timing is what a fresh computation over the longer list gives.
    const ShowTiming fresh = ComputeShowTiming(pictures, rules, intervals);
    EXPECT_EQ(fresh.ImageFrames, timing.ImageFrames);
    EXPECT_EQ(fresh.TotalFrames(), timing.TotalFrames());
    EXPECT_EQ(music.size(), 1u);
}

TEST(ApplySyncTest, NothingToDivideByChangesNothing) {
    std::vector<std::string> pictures{"a"};
    std::vector<std::string> music{"m.mp3"};
    ShowTiming timing = ComputeShowTiming(pictures, {4, kPal}, Fixed(10));
    // No measured music in either mode.
    ApplySync(1, 0, timing, pictures, music, {4, kPal}, Fixed(10));
    ApplySync(2, 0, timing, pictures, music, {4, kPal}, Fixed(10));
    EXPECT_EQ(music.size(), 1u);
    EXPECT_EQ(pictures.size(), 1u);
    // No pictures at all.
    std::vector<std::string> none;
    ShowTiming empty = ComputeShowTiming(none, {4, kPal}, Fixed(2));
    ApplySync(2, 60'000, empty, none, music, {4, kPal}, Fixed(2));
    EXPECT_TRUE(none.empty());
    // A show shorter than a second still covers the music: one speed-1
    // transition and a frame (11 frames, 0.44 s) repeated over 2 s.
    ShowTiming blink = ComputeShowTiming(pictures, {1, kPal}, Fixed(0));
    ApplySync(2, 2'000, blink, pictures, music, {1, kPal}, Fixed(0));
    EXPECT_EQ(pictures.size(), 5u);
    EXPECT_EQ(blink.TotalFrames(), 55);
}

// Holds scaled by one factor to a target length, with the rounding carried
// from picture to picture, no hold below a frame, and the shortest show when
// the transitions alone are longer than the target.
TEST(StretchTest, HoldsShareTheTargetByOneFactorToTheFrame) {
    const struct {
        const char* what;
        std::vector<int32_t> holds;
        int32_t transition;
        int64_t target;
        std::vector<int32_t> stretched;
    } cases[] = {
        {"no pictures", {}, 10, 400, {}},
        {"one picture", {25}, 10, 939, {929}},
        {"equal holds, thirds of a frame", {50, 50, 50}, 10, 400, {123, 124, 123}},
        {"shrunk", {50, 50}, 10, 60, {20, 20}},
        {"own intervals doubled", {25, 50, 125}, 10, 430, {50, 100, 250}},
        {"own intervals by 1.5, halves carried", {25, 50, 125}, 10, 330, {38, 75, 187}},
        {"a hold that would fall below a frame", {1, 100}, 10, 71, {1, 50}},
        {"transitions and a frame each, exactly", {50, 50}, 10, 22, {1, 1}},
        {"a frame more", {50, 50}, 10, 23, {2, 1}},
        {"music shorter than the transitions", {50, 50}, 10, 15, {1, 1}},
    };
    for (const auto& c : cases) {
        const std::vector<int32_t> stretched = StretchedHolds(c.holds, c.transition, c.target);
        EXPECT_EQ(stretched, c.stretched) << c.what;
    }
    // A long show of mixed intervals: the total exact, no hold below a
    // frame, and, where no hold is held up at one frame (a factor of 1 or
    // more), every hold within a frame of its exact share.
    std::vector<int32_t> holds;
    for (int32_t i = 0; i < 97; ++i) holds.push_back(1 + i * 37 % 251);
    const int64_t weight = std::accumulate(holds.begin(), holds.end(), int64_t{0});
    for (const int64_t room : {int64_t{500}, int64_t{12'345}, int64_t{1'000'003}}) {
        const std::vector<int32_t> stretched = StretchedHolds(holds, 11, 97 * 11 + room);
        ASSERT_EQ(stretched.size(), holds.size());
        EXPECT_EQ(std::accumulate(stretched.begin(), stretched.end(), int64_t{0}), room);
        for (size_t i = 0; i < holds.size(); ++i) {
            EXPECT_GE(stretched[i], 1);
            if (room < weight) continue;
            EXPECT_LE(std::abs(stretched[i] - static_cast<double>(holds[i]) * room / weight), 1.0)
                << room << " " << i;
        }
    }
}

// Stretched to a song, the show ends within a frame of it at every rate,
// counted at the exact rate, neither picture nor music list grows, and the
// pictures keep their order.
TEST(ApplySyncTest, StretchToMusicEndsWithinAFrameOfTheMusic) {
    const auto intervals = FromMap({{"a", 3}, {"b", 1}, {"c", 5}});
    for (const FrameRate rate : {kPal, kNtsc, FrameRate{50, 1}, FrameRate{60000, 1001}})
        for (const int64_t musicMs : {int64_t{37'540}, int64_t{4'001}, int64_t{9'000}}) {
            const TimingRules rules{1, rate};
            std::vector<std::string> pictures{"a", "b", "c"};
            std::vector<std::string> music{"m.mp3"};
            ShowTiming timing = ComputeShowTiming(pictures, rules, intervals);
            ApplySync(static_cast<uint8_t>(MusicSyncMode::StretchToMusic), musicMs, timing,
                      pictures, music, rules, intervals);
            EXPECT_EQ(pictures, (std::vector<std::string>{"a", "b", "c"}));
            EXPECT_EQ(music.size(), 1u);
            ASSERT_EQ(timing.ImageFrames.size(), 3u);
            EXPECT_EQ(timing.TotalFrames(), rate.FramesCovering(musicMs)) << musicMs;
            EXPECT_EQ(timing.ImageFramesSum, std::accumulate(timing.ImageFrames.begin(),
                                                             timing.ImageFrames.end(), int64_t{0}));
            EXPECT_EQ(timing.ShowSeconds, rate.SecondsOfFrames(timing.TotalFrames()));
            // b's interval is the shortest: it stays the shortest.
            EXPECT_LT(timing.ImageFrames[1], timing.ImageFrames[0]);
            EXPECT_LT(timing.ImageFrames[0], timing.ImageFrames[2]);
        }
}

// Walks a whole show as the encoder drives it: one progress notification,
// then one frame request, until the timeline says it is finished.
std::vector<FrameStep> WalkShow(FrameTimeline& timeline) {
    std::vector<FrameStep> steps;
    for (int guard = 0; guard < 100000; ++guard) {
        timeline.AdvanceFrameCounter();
        steps.push_back(timeline.NextFrame());
        if (steps.back().action == FrameAction::Finished) break;
    }
    return steps;
}

TEST(FrameTimelineTest, CyclesOfTwoPicturesAtSpeedOne) {
    const ShowTiming timing = ComputeShowTiming({"a", "b"}, {1, kPal}, Fixed(1));
    FrameTimeline timeline(timing.ImageFrames, timing.TransitionFrames);
    const std::vector<FrameStep> steps = WalkShow(timeline);

    // Every frame but the final request reaches the encoder.
    ASSERT_EQ(static_cast<int64_t>(steps.size()) - 1, timing.TotalFrames());
    EXPECT_EQ(steps.back().action, FrameAction::Finished);
    for (int picture = 0; picture < 2; ++picture) {
        const size_t start = static_cast<size_t>(picture) * 35;  // 25 hold + 10 transition
        EXPECT_EQ(steps[start].action, FrameAction::StartPicture);
        EXPECT_EQ(steps[start].imageIndex, picture);
        for (int k = 1; k <= 10; ++k) {
            const FrameStep& step = steps[start + static_cast<size_t>(k)];
            EXPECT_EQ(step.action, FrameAction::TransitionFrame);
            EXPECT_EQ(step.progress, 10 * k);  // 10, 20, ... 100
        }
        EXPECT_EQ(steps[start + 11].action, FrameAction::CompletePicture);
        for (size_t k = 12; k < 35; ++k) EXPECT_EQ(steps[start + k].action, FrameAction::Hold);
    }
}

TEST(FrameTimelineTest, EveryShowHandsOverExactlyItsTotalFrames) {
    const auto intervals = FromMap({{"a", 0}, {"b", 3}, {"c", -2}, {"d", 1}});
    for (const FrameRate rate : {kPal, kNtsc, k50, k5994}) {
        for (int32_t speed = 1; speed <= 5; ++speed) {
            const ShowTiming timing =
                ComputeShowTiming({"a", "b", "c", "d"}, {speed, rate}, intervals);
            FrameTimeline timeline(timing.ImageFrames, timing.TransitionFrames);
            const std::vector<FrameStep> steps = WalkShow(timeline);
            EXPECT_EQ(static_cast<int64_t>(steps.size()) - 1, timing.TotalFrames());
            // Chapters are placed where the walk starts each picture.
            std::vector<int64_t> startFrames;
            int starts = 0, lastProgress = 0;
            for (const FrameStep& step : steps) {
                if (step.action == FrameAction::StartPicture ||
                    step.action == FrameAction::Finished) {
                    // The previous picture's transition got to its end.
                    if (starts > 0) {
                        EXPECT_EQ(lastProgress, 100);
                    }
                    if (step.action == FrameAction::StartPicture) {
                        ++starts;
                        startFrames.push_back(&step - steps.data());
                    }
                    lastProgress = 0;
                }
                if (step.action == FrameAction::TransitionFrame) {
                    EXPECT_GE(step.progress, lastProgress);  // never falls back
                    lastProgress = step.progress;
                }
                if (step.action == FrameAction::CompletePicture) {
                    EXPECT_EQ(lastProgress, 100);
                }
            }
            EXPECT_EQ(starts, 4);
            EXPECT_EQ(startFrames, PictureStartFrames(timing));
        }
    }
}

TEST(FrameTimelineTest, NoPicturesEndAtTheFirstRequest) {
    FrameTimeline timeline({}, 75);
    timeline.AdvanceFrameCounter();
    EXPECT_EQ(timeline.NextFrame().action, FrameAction::Finished);
    // A late request after the end is answered the same way.
    timeline.AdvanceFrameCounter();
    EXPECT_EQ(timeline.NextFrame().action, FrameAction::Finished);
}

TEST(FrameTimelineTest, RequestWithoutNotificationRepeatsTheFrame) {
    // The counter starts at -1: a request before any notification sees
    // position -1, which neither starts a picture nor draws.
    FrameTimeline timeline({50}, 75);
    EXPECT_EQ(timeline.NextFrame().action, FrameAction::Hold);
    timeline.AdvanceFrameCounter();
    EXPECT_EQ(timeline.NextFrame().action, FrameAction::StartPicture);
}

TEST(PickEffectTest, DrawsOnlyStylesOfTheSetAndCutsWithoutOne) {
    EXPECT_EQ(PickEffect(model::StyleSet{}), 0);
    model::StyleSet outside;
    for (int style : {0, 173, 174, 175}) outside.set(static_cast<size_t>(style));
    EXPECT_EQ(PickEffect(outside), 0);  // would never end if it kept drawing

    model::StyleSet pair = outside;
    pair.set(3);
    pair.set(172);
    std::set<int> seen;
    base::SetRandSeed(12345);
    for (int i = 0; i < 200; ++i) seen.insert(PickEffect(pair));
    EXPECT_EQ(seen, (std::set<int>{3, 172}));

    // Drawn with the shared generator: the same seed picks the same style.
    model::StyleSet many;
    for (int style = 10; style < 60; ++style) many.set(static_cast<size_t>(style));
    base::SetRandSeed(777);
    const int first = PickEffect(many);
    base::SetRandSeed(777);
    EXPECT_EQ(PickEffect(many), first);
}

// A fixed-pitch stand-in for the font: 0.6 of the size per character, a
// cell 1.2 of the size high.
TextExtent FixedPitch(const std::string& text, int size) {
    int characters = 0;
    for (unsigned char byte : text) characters += (byte & 0xC0) != 0x80;
    return TextExtent{size / 10,     characters * size * 6 / 10, size * 8 / 10, size * 12 / 10, 0,
                      size * 12 / 10};
}

// The encoded frame, its title-safe area (the middle 80% of a disc frame,
// 90% of an MP4 one) and the caption size of each format.
TEST(CaptionLayoutTest, FramesPerFormatLieInTheTitleSafeArea) {
    struct Case {
        int videoType;
        int tvSet;
        int width, height, safePercent, fontSize;
    };
    const Case cases[] = {
        {0, 0, 352, 288, 80, 17},   {0, 1, 352, 240, 80, 17}, {1, 0, 480, 576, 80, 24},
        {1, 1, 480, 480, 80, 24},   {2, 0, 720, 576, 80, 36}, {2, 1, 720, 480, 80, 36},
        {4, 0, 1920, 1080, 90, 68},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.videoType) + "/" + std::to_string(c.tvSet));
        const std::optional<FrameFormat> format =
            FrameFormatFor(c.videoType, kMclAspectFormat, c.tvSet);
        ASSERT_TRUE(format);
        const std::optional<CaptionFrame> frame = CaptionFrameFor(*format, c.tvSet);
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->width, c.width);
        EXPECT_EQ(frame->height, c.height);
        EXPECT_EQ(frame->fontSize, c.fontSize);
        const double marginX = c.width * (100 - c.safePercent) / 200.0;
        const double marginY = c.height * (100 - c.safePercent) / 200.0;
        EXPECT_NEAR(frame->safe.left, marginX, 0.5);
        EXPECT_NEAR(frame->safe.right, c.width - marginX, 0.5);
        EXPECT_NEAR(frame->safe.top, marginY, 0.5);
        EXPECT_NEAR(frame->safe.bottom, c.height - marginY, 0.5);
        // A style's size is its share of the frame's height, in every format.
        model::CaptionStyle tenth;
        tenth.sizePercent = 10;
        const std::optional<CaptionFrame> styled = CaptionFrameFor(*format, c.tvSet, tenth);
        ASSERT_TRUE(styled);
        EXPECT_NEAR(styled->fontSize, c.height / 10.0, 0.5);
    }
}

// At every place a large caption is made smaller, then broken onto two
// lines, then cut with an ellipsis, and every line lies inside the safe
// area against the edge or in the middle it is placed at.
TEST(CaptionLayoutTest, ShrinksThenBreaksThenEllipsizesAtEveryPlace) {
    std::string words;
    for (int i = 0; i < 16; ++i) words += (i ? " " : "") + std::string("word");
    const std::string forty(40, 'x');
    const std::string many = words + " " + words + " " + words;
    const char* const ellipsis = "\xE2\x80\xA6";
    const SafeArea safe{72, 58, 648, 518};
    for (const auto& [position, positionName] : model::kCaptionPositions)
        for (const model::CaptionAlign align :
             {model::CaptionAlign::Left, model::CaptionAlign::Centre, model::CaptionAlign::Right}) {
            SCOPED_TRACE(std::string(positionName) + " " + std::to_string(static_cast<int>(align)));
            // Room: 576 pixels; 40 characters at 36 are 864.
            const CaptionFrame dvd{720, 576, 36, safe, position, align};
            const auto shrunk = LayOutCaption(dvd, forty, FixedPitch);
            ASSERT_EQ(shrunk.size(), 1u);
            EXPECT_EQ(shrunk[0].fontSize, 24);
            // Two lines at 60% (22 px), split where both are narrowest, the
            // beginning on top, one line's spacing apart.
            const auto broken = LayOutCaption(dvd, words, FixedPitch);
            ASSERT_EQ(broken.size(), 2u);
            EXPECT_EQ(broken[0].fontSize, 22);
            EXPECT_EQ(broken[1].text + " " + broken[0].text, words);
            EXPECT_EQ(broken[0].y - broken[1].y, 26);
            const auto cut = LayOutCaption(dvd, many, FixedPitch);
            ASSERT_EQ(cut.size(), 2u);
            EXPECT_EQ(cut[0].text.substr(cut[0].text.size() - 3), ellipsis);
            const auto word = LayOutCaption(dvd, std::string(100, 'x'), FixedPitch);
            ASSERT_EQ(word.size(), 1u);
            EXPECT_EQ(word[0].text, std::string(42, 'x') + ellipsis);

            for (const auto* lines : {&shrunk, &broken, &cut, &word}) {
                int top = dvd.height, bottom = 0;
                for (const CaptionLine& line : *lines) {
                    const TextExtent e = FixedPitch(line.text, line.fontSize);
                    const int left = line.x + e.inkLeft, right = left + e.inkWidth;
                    top = std::min(top, line.y + e.top);
                    bottom = std::max(bottom, line.y + e.bottom);
                    EXPECT_GE(left, safe.left) << line.text;
                    EXPECT_LE(right, safe.right) << line.text;
                    const int side = align == model::CaptionAlign::Left ? left - safe.left
                                     : align == model::CaptionAlign::Right
                                         ? safe.right - right
                                         : (left + right) / 2 - 360;
                    EXPECT_LE(std::abs(side), 1) << line.text;
                }
                EXPECT_GE(top, safe.top);
                EXPECT_LE(bottom, safe.bottom);
                // Against its edge (the bottom one's baseline a full-size
                // caption's), or in the middle.
                const int gap = position == model::CaptionPosition::Top ? top - safe.top
                                : position == model::CaptionPosition::Bottom
                                    ? safe.bottom - bottom
                                    : (top + bottom) / 2 - 288;
                EXPECT_LE(std::abs(gap), 36 * 12 / 10 - 22 * 12 / 10 + 1);
            }
        }
    EXPECT_TRUE(LayOutCaption(CaptionFrame{720, 576, 36, safe}, "", FixedPitch).empty());
}

TEST(ProgressTextTest, LabelsAndTimes) {
    EXPECT_EQ(ProgressLabelText(3, 250, 1000), "Progress: 25%");
    EXPECT_EQ(ProgressLabelText(3, 999, 1000), "Progress: 99%");
    EXPECT_EQ(ProgressLabelText(3, 5, 0), "Progress: 0%");  // nothing to count
    EXPECT_EQ(ProgressLabelText(0, 5, 10), "");
    EXPECT_EQ(ProgressLabelText(1, 0, 10), "Preparing...");
    EXPECT_EQ(ProgressLabelText(7, 0, 10), "...");
    EXPECT_EQ(RemainingTimeText(3725.9), "Remaining Time: 1:02:05");
    EXPECT_EQ(RemainingTimeText(-3), "Remaining Time: 0:00:00");
    EXPECT_EQ(RemainingTimeText(59.99), "Remaining Time: 0:00:59");
    // As the Build page and the command line show them, side by side.
    BuildProgress progress;
    progress.kind = kMclProgressEncoding;
    progress.label = ProgressLabelText(progress.kind, 1, 4);
    progress.remaining = RemainingTimeText(65);
    EXPECT_EQ(progress.text(), "Progress: 25%    Remaining Time: 0:01:05");
}

}  // namespace
}  // namespace video
