// The preview player: where its keys, seeks and clock land, its frames
// against the frame renderer's, and its window.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "AppTestUtil.h"
#include "app/PlayerFrames.h"
#include "app/PlayerTimeline.h"
#include "app/PlayerWindow.h"
#include "model/MotionSetting.h"
#include "model/Show.h"
#include "showbuild/FrameImage.h"
#include "showbuild/FrameRenderer.h"
#include "showbuild/RendererTestShow.h"
#include "showbuild/ShowPreparation.h"
#include "showbuild/ShowTiming.h"

namespace app_test {
namespace {

using app::PlayerTimeline;

// 160 frames at 25 a second, pictures starting at frames 0, 50 and 100.
PlayerTimeline Timeline(int64_t frame, bool playing) {
    PlayerTimeline timeline(160, 25, {0, 50, 100});
    timeline.Seek(frame, 0);
    if (playing) timeline.Play(0);
    return timeline;
}

TEST(PlayerTimeline, KeysSeeksAndTheClockLandOnTheRightFrame) {
    struct Case {
        const char* what;
        int64_t from;
        bool playing;
        std::function<void(PlayerTimeline&)> act;
        int64_t frame;
        bool playingAfter;
    };
    const auto next = [](PlayerTimeline& t) { t.NextPicture(0); };
    const auto previous = [](PlayerTimeline& t) { t.PreviousPicture(0); };
    const auto advance = [](double now) {
        return [now](PlayerTimeline& t) { t.Advance(now, std::nullopt); };
    };
    const Case cases[] = {
        {"next picture", 10, false, next, 50, false},
        {"next picture from the last one: its end", 120, false, next, 159, false},
        {"previous picture from inside one: its start", 60, false, previous, 50, false},
        {"previous picture from a start", 50, false, previous, 0, false},
        {"previous picture at the first", 0, false, previous, 0, false},
        {"next picture while playing plays on", 10, true, next, 50, true},
        {"next frame", 10, false, [](PlayerTimeline& t) { t.StepFrame(1); }, 11, false},
        {"a frame step pauses", 10, true, [](PlayerTimeline& t) { t.StepFrame(-1); }, 9, false},
        {"no frame before the first", 0, false, [](PlayerTimeline& t) { t.StepFrame(-1); }, 0,
         false},
        {"no frame after the last", 159, false, [](PlayerTimeline& t) { t.StepFrame(1); }, 159,
         false},
        {"a seek past the end", 3, false, [](PlayerTimeline& t) { t.Seek(500, 0); }, 159, false},
        {"a seek before the start", 3, false, [](PlayerTimeline& t) { t.Seek(-3, 0); }, 0, false},
        {"the clock", 10, true, advance(0.5), 22, true},
        {"the clock stands while paused", 10, false, advance(0.5), 10, false},
        {"the clock stops at the last frame", 150, true, advance(1.0), 159, false},
        {"a seek while playing plays on from there", 10, true,
         [](PlayerTimeline& t) {
             t.Seek(100, 1.0);
             t.Advance(1.4, std::nullopt);
         },
         110, true},
        {"a pause holds the frame", 10, true,
         [](PlayerTimeline& t) {
             t.Advance(0.2, std::nullopt);
             t.Pause();
             t.Advance(5, std::nullopt);
         },
         15, false},
        {"play at the end starts over", 159, false, [](PlayerTimeline& t) { t.Play(0); }, 0, true},
        // The music's clock: it waits for the first sound, runs on between
        // the card's blocks, and the monotonic clock takes over at its end.
        {"music not yet sounding", 0, true, [](PlayerTimeline& t) { t.Advance(0.5, 0.0); }, 0,
         true},
        {"music between blocks", 0, true,
         [](PlayerTimeline& t) {
             t.Advance(0.5, 0.0);
             t.Advance(0.6, 0.046);
             t.Advance(0.64, 0.046);
         },
         2, true},
        {"music ended", 0, true,
         [](PlayerTimeline& t) {
             t.Advance(0.5, 0.0);
             t.Advance(0.6, 0.046);
             t.Advance(0.7, std::nullopt);
         },
         3, true},
    };
    for (const Case& c : cases) {
        PlayerTimeline timeline = Timeline(c.from, c.playing);
        c.act(timeline);
        EXPECT_EQ(timeline.frame(), c.frame) << c.what;
        EXPECT_EQ(timeline.playing(), c.playingAfter) << c.what;
    }
}

TEST(PlayerTimeline, DrawsAheadOnlyWhilePlayingAndSaysWhereItIs) {
    PlayerTimeline timeline = Timeline(60, true);
    EXPECT_EQ(timeline.Wanted(4, {61, 62}), (std::vector<int64_t>{60, 63, 64}));
    timeline.Pause();
    EXPECT_EQ(timeline.Wanted(4, {}), (std::vector<int64_t>{60}));
    EXPECT_EQ(timeline.Wanted(4, {60}), (std::vector<int64_t>{}));
    EXPECT_EQ(timeline.StatusText(), "0:02 / 0:06 \u2014 picture 2 of 3");
}

constexpr int kDvd = 2;  // pixels that are not square

video::PreparedShow Prepared(const model::Show& show) {
    video::PreparedShow prepared = video::PrepareShow(show, video::ShowLoaders{});
    EXPECT_EQ(prepared.outcome, video::PreparedShow::Outcome::Ready) << prepared.message;
    return prepared;
}

// The frames a player asks for as it plays through a transition, seeks back
// and forth, starts the next picture ahead and steps back, against the same
// frames drawn each by a renderer of its own from nothing.
TEST(PlayerFrames, AreTheFrameRenderersFramesWhateverTheOrderAskedIn) {
    QTemporaryDir dir;
    const model::Show show = video::test::RendererTestShow(dir.path().toStdString(), kDvd);
    video::PreparedShow prepared = Prepared(show);
    const int64_t transition = prepared.lengths.timing.TransitionFrames;
    ASSERT_GT(transition, 4);
    app::PlayerFrames frames(std::move(prepared), {});
    const std::vector<int64_t>& starts = frames.pictureStarts();
    ASSERT_EQ(starts.size(), 4u);
    const int64_t last = frames.frameCount() - 1;
    // Each request also starts a later picture ahead, the third or the
    // fourth in turn, so one starts between frames of a transition that
    // goes on from the frame before.
    const std::vector<std::vector<int64_t>> asked = {
        {starts[1] + 1},
        {starts[1] + 2, starts[1] + 3, starts[1] + transition / 2},
        {starts[0] + transition + 3, starts[1] - 1},
        {starts[2] + transition - 1, starts[2] + transition + 2},
        {last, last - 1},
    };
    std::map<int64_t, QImage> drawn;
    for (size_t stage = 0; stage < asked.size(); ++stage) {
        const std::vector<int64_t>& request = asked[stage];
        frames.Want(request, stage % 2 ? 3 : 2);
        bool started = false;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                for (app::PlayerFrames::Drawn& frame : frames.Take()) {
                    EXPECT_EQ(frame.fault, "");
                    if (frame.frame >= 0)
                        drawn[frame.frame] = frame.image;
                    else
                        started = true;
                }
                return started && std::ranges::all_of(request, [&](int64_t index) {
                           return drawn.contains(index);
                       });
            },
            20000));
    }
    ASSERT_EQ(drawn.size(), 10u);
    for (const auto& [index, image] : drawn) {
        video::FrameRenderer fresh(Prepared(show));
        const base::Result<video::ShowFrame> frame = fresh.FrameAt(index);
        ASSERT_TRUE(frame) << frame.message();
        ASSERT_FALSE(frame->captions.empty());
        const QImage expected = video::DisplayImage(*frame, fresh);
        EXPECT_EQ(image.size(), QSize(768, 576));  // a PAL DVD frame at 4:3
        EXPECT_TRUE(image == expected) << "frame " << index;
    }
}

TEST(PlayerWindow, KeysAndTheSeekBarMoveThePlayerAndItShowsWhereItIs) {
    QTemporaryDir dir;
    model::Show show = video::test::RendererTestShow(dir.path().toStdString(), kDvd);
    show.settings.Motion = model::MotionSetting{model::MotionKind::None, 3};
    video::PreparedShow prepared = Prepared(show);
    const std::vector<int64_t> starts = video::PictureStartFrames(prepared.lengths.timing);
    app::PlayerWindow window(std::move(prepared), {});
    window.SetPictureSize(QSize(720, 576));
    window.show();
    EXPECT_TRUE(window.Timeline().playing());  // it plays as it opens
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window.Timeline().frame() > 2; }, app_test::kPatience));

    const int64_t second = starts[1];
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&window, key, modifiers);
    };
    press(Qt::Key_Space);
    EXPECT_FALSE(window.Timeline().playing());
    EXPECT_EQ(window.PlayButton().text(), "Play");
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int64_t frame;
    };
    const int64_t end = window.Timeline().frameCount() - 1;
    for (const Step& step :
         {Step{Qt::Key_Home, Qt::NoModifier, 0}, Step{Qt::Key_PageDown, Qt::NoModifier, second},
          Step{Qt::Key_Right, Qt::NoModifier, second + 1},
          Step{Qt::Key_Right, Qt::NoModifier, second + 2},
          Step{Qt::Key_Left, Qt::NoModifier, second + 1},
          Step{Qt::Key_Left, Qt::ControlModifier, second},
          Step{Qt::Key_Right, Qt::ControlModifier, starts[2]},
          Step{Qt::Key_PageUp, Qt::NoModifier, second}, Step{Qt::Key_End, Qt::NoModifier, end}}) {
        press(step.key, step.modifiers);
        EXPECT_EQ(window.Timeline().frame(), step.frame) << step.key;
        EXPECT_EQ(window.SeekBar().value(), step.frame) << step.key;
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.PaintedFrame() == step.frame; },
                                    app_test::kPatience))
            << step.key;
    }
    EXPECT_EQ(window.PaintedImage().size(), QSize(768, 576));

    window.SeekBar().setValue(static_cast<int>(second + 30));
    EXPECT_EQ(window.Timeline().frame(), second + 30);
    EXPECT_EQ(window.Status().text(), "0:02 / 0:05 \u2014 picture 2 of 4");

    press(Qt::Key_Space);
    EXPECT_TRUE(window.Timeline().playing());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Timeline().frame() > second + 32; },
                                app_test::kPatience));

    press(Qt::Key_F11);
    EXPECT_TRUE(window.isFullScreen());
    press(Qt::Key_Escape);
    EXPECT_FALSE(window.isFullScreen());
    EXPECT_TRUE(window.isVisible());
    press(Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.Timeline().playing());
}

}  // namespace
}  // namespace app_test
