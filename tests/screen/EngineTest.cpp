// The screen's state and stepping, driven without a display: transitions
// run in the loop with a clock that jumps, so no test waits.
#include <gtest/gtest.h>

#include <stdexcept>

#include "screen/ScreenEngine.h"
#include "screen/ScreenTestUtil.h"

namespace screen::test {
namespace {

class TestScreen : public ScreenEngine {
public:
    // Every screen records its events.
    TestScreen() {
        SetThreaded(false);
        OnProgress = [this](ScreenEngine& s) { progressEvents.push_back(s.Progress()); };
        OnComplete = [this](ScreenEngine&) { ++completes; };
        OnChange = [this](ScreenEngine&) { ++changes; };
    }

    std::vector<int> progressEvents;
    int completes = 0;
    int changes = 0;
    int controlInvalidations = 0;
    std::vector<Rect> invalidated;
    std::function<void()> onMessages;

    void ResetRecords() {
        progressEvents.clear();
        invalidated.clear();
        completes = changes = controlInvalidations = 0;
    }
    void Resize(int w, int h) { ClientResized(w, h); }

protected:
    // Every reading is a second later, so the loop never waits.
    uint64_t TickCount() const override { return clock_ += 1000; }
    void ProcessMessages() override {
        if (onMessages) onMessages();
    }
    void InvalidateControl() override { ++controlInvalidations; }
    void InvalidateClientRect(const Rect& r) override { invalidated.push_back(r); }

private:
    mutable uint64_t clock_ = 0;
};

// A 60 x 40 picture for the runs that need any one.
class ScreenStepsTest : public ::testing::Test {
protected:
    const Bitmap picture = PositionPicture(60, 40, 3);
};

std::vector<int> Sequence(int first, int step, int last) {
    std::vector<int> v;
    for (int p = first; p < last; p += step) v.push_back(p);
    v.push_back(last);
    return v;
}

TEST_F(ScreenStepsTest, ForwardRunsStepByStepAndComplete) {
    for (int step : {4, 15}) {
        TestScreen screen;
        screen.SetStep(static_cast<uint16_t>(step));
        screen.SetPicture(&picture);
        screen.Play();
        EXPECT_EQ(screen.progressEvents, Sequence(step, step, 100)) << step;
        EXPECT_EQ(screen.completes, 1);
        EXPECT_FALSE(screen.Running());
        EXPECT_FALSE(screen.OldBitmap.has_value());
        EXPECT_FALSE(screen.NewBitmap.has_value());
        EXPECT_TRUE(screen.ScreenBitmap.samePixels(picture));
    }
}

TEST_F(ScreenStepsTest, ReverseRunsEndOnTheSnapshot) {
    TestScreen screen;
    const Bitmap first = PositionPicture(60, 40, 1);
    const Bitmap second = PositionPicture(60, 40, 2);
    screen.SetPicture(&first);
    screen.Play();  // shows the first picture, Progress 100

    screen.ResetRecords();
    screen.SetReverse(true);
    screen.SetStep(15);
    screen.SetPicture(&second);
    screen.Play();
    // Progress already is 100, so preparation renders nothing.
    EXPECT_EQ(screen.progressEvents, (std::vector<int>{85, 70, 55, 40, 25, 10, 0}));
    EXPECT_EQ(screen.completes, 1);
    EXPECT_TRUE(screen.ScreenBitmap.samePixels(first));
    EXPECT_TRUE(screen.Picture().samePixels(second));

    // A fresh screen in reverse renders the incoming picture first.
    TestScreen fresh;
    fresh.SetReverse(true);
    fresh.SetStep(50);
    fresh.SetPicture(&second);
    fresh.Play();
    EXPECT_EQ(fresh.progressEvents, (std::vector<int>{100, 50, 0}));
}

TEST_F(ScreenStepsTest, StepIsClampedToOneAndHundred) {
    TestScreen screen;
    EXPECT_EQ(screen.Step(), 4);
    screen.SetStep(0);
    EXPECT_EQ(screen.Step(), 1);
    screen.SetStep(500);
    EXPECT_EQ(screen.Step(), 100);
    screen.SetStep(37);
    EXPECT_EQ(screen.Step(), 37);
}

TEST_F(ScreenStepsTest, ProgressWritesOnlyCountDuringARun) {
    TestScreen screen;
    screen.SetProgress(50);  // not running
    EXPECT_EQ(screen.Progress(), 0);
    EXPECT_TRUE(screen.progressEvents.empty());

    screen.SetPicture(&picture);
    screen.SetManual(true);
    screen.Play();
    ASSERT_TRUE(screen.Running());
    screen.SetProgress(30);
    screen.SetProgress(30);  // the current value
    EXPECT_EQ(screen.progressEvents, (std::vector<int>{30}));

    screen.invalidated.clear();
    screen.SetProgress(10);  // going back: the whole picture first
    ASSERT_FALSE(screen.invalidated.empty());
    EXPECT_EQ(screen.invalidated.front(), (Rect{0, 0, 60, 40}));
    screen.SetProgress(250);
    EXPECT_EQ(screen.Progress(), 100);
}

TEST_F(ScreenStepsTest, PlayNeedsAPictureAndIgnoresARunningTransition) {
    TestScreen screen;
    screen.Play();
    EXPECT_FALSE(screen.Running());
    EXPECT_TRUE(screen.progressEvents.empty());

    const Bitmap first = PositionPicture(60, 40, 1);
    const Bitmap second = PositionPicture(30, 20, 2);
    screen.SetPicture(&first);
    screen.SetManual(true);
    screen.Play();
    screen.SetPicture(&second);
    screen.Play();  // still the first transition
    ASSERT_TRUE(screen.NewBitmap.has_value());
    EXPECT_TRUE(screen.NewBitmap->samePixels(first));
}

TEST_F(ScreenStepsTest, StopWithoutAThreadEndsAtOnceWithoutCompletion) {
    TestScreen manual;
    manual.SetPicture(&picture);
    manual.SetManual(true);
    manual.Play();
    manual.Stop();
    EXPECT_FALSE(manual.Running());
    EXPECT_FALSE(manual.Stopping());
    EXPECT_EQ(manual.completes, 0);

    // Stopped from inside the loop, by a handler of its own events.
    TestScreen looped;
    looped.OnProgress = [&](ScreenEngine& s) {
        looped.progressEvents.push_back(s.Progress());
        if (s.Progress() == 40) s.Stop();
    };
    looped.SetPicture(&picture);
    looped.Play();
    EXPECT_FALSE(looped.Running());
    EXPECT_EQ(looped.progressEvents.back(), 40);
    EXPECT_EQ(looped.completes, 0);
}

TEST_F(ScreenStepsTest, ManualTransitionsWaitForTheHostAndResume) {
    TestScreen screen;
    screen.SetPicture(&picture);
    screen.SetStep(10);
    screen.SetManual(true);
    screen.Play();
    EXPECT_TRUE(screen.Running());
    EXPECT_TRUE(screen.progressEvents.empty());
    screen.SetProgress(50);
    screen.SetManual(false);  // the loop takes over from 50
    EXPECT_EQ(screen.progressEvents, (std::vector<int>{50, 60, 70, 80, 90, 100}));
    EXPECT_EQ(screen.completes, 1);
    EXPECT_FALSE(screen.Running());

    // Manual set while the loop steps: the transition stays prepared.
    TestScreen interrupted;
    interrupted.OnProgress = [&](ScreenEngine& s) {
        if (s.Progress() == 20) interrupted.SetManual(true);
    };
    interrupted.SetStep(10);
    interrupted.SetPicture(&picture);
    interrupted.Play();
    EXPECT_TRUE(interrupted.Running());
    EXPECT_EQ(interrupted.Progress(), 20);
    EXPECT_EQ(interrupted.completes, 0);

    // Outside a run, Manual resets Progress to the run's start, silently.
    TestScreen idle;
    idle.SetReverse(true);
    idle.SetManual(true);
    EXPECT_EQ(idle.Progress(), 100);
    EXPECT_TRUE(idle.progressEvents.empty());
}

TEST_F(ScreenStepsTest, ClearForgetsTheFrameOnlyWhenIdle) {
    TestScreen screen;
    screen.SetAutoSize(false);
    screen.SetColor(raster::RGB(0, 0, 200));
    const Bitmap first = PositionPicture(100, 100, 1);
    screen.SetPicture(&first);
    screen.SetManual(true);
    screen.Play();
    screen.Clear();  // during the run: nothing
    EXPECT_FALSE(screen.ScreenBitmap.isEmpty());
    screen.SetProgress(100);
    screen.Stop();
    screen.SetManual(false);

    screen.controlInvalidations = 0;
    screen.Clear();
    EXPECT_TRUE(screen.ScreenBitmap.isEmpty());
    EXPECT_EQ(screen.controlInvalidations, 1);

    // The next snapshot shows the background colour only.
    const Bitmap second = PositionPicture(100, 100, 2);
    screen.SetPicture(&second);
    screen.SetManual(true);
    screen.Play();
    ASSERT_TRUE(screen.OldBitmap.has_value());
    EXPECT_TRUE(screen.OldBitmap->samePixels(Bitmap(100, 100, raster::RGB(0, 0, 200))));
}

TEST_F(ScreenStepsTest, CutsAndStylesBeyondTheTableStillEnd) {
    TestScreen cut;
    cut.SetStyle(0);
    cut.SetPicture(&picture);
    cut.Play();
    EXPECT_EQ(cut.progressEvents, (std::vector<int>{100}));
    EXPECT_EQ(cut.completes, 1);

    // A reverse cut lands on the snapshot and ends too.
    cut.ResetRecords();
    cut.SetReverse(true);
    cut.Play();
    EXPECT_FALSE(cut.Running());
    EXPECT_EQ(cut.completes, 1);

    TestScreen beyond;
    beyond.SetAutoSize(false);
    beyond.Resize(60, 40);
    beyond.SetStyle(200);
    beyond.SetPicture(&picture);
    beyond.Play();
    EXPECT_EQ(beyond.progressEvents.size(), 25u);
    EXPECT_EQ(beyond.completes, 1);
    EXPECT_TRUE(beyond.ScreenBitmap.samePixels(Bitmap(60, 40)));  // still the snapshot
}

TEST_F(ScreenStepsTest, ErrorsOfALoopRunEndTheTransitionAndReachTheCaller) {
    TestScreen screen;
    screen.OnProgress = [](ScreenEngine& s) {
        if (s.Progress() == 12) throw std::runtime_error("handler failed");
    };
    screen.SetPicture(&picture);
    EXPECT_THROW(screen.Play(), std::runtime_error);
    EXPECT_FALSE(screen.Running());
    EXPECT_FALSE(screen.OldBitmap.has_value());
    EXPECT_FALSE(screen.NewBitmap.has_value());
}

TEST_F(ScreenStepsTest, AScreenDestroyedBetweenStepsIsNotTouchedAgain) {
    auto* screen = new TestScreen;
    screen->SetPicture(&picture);
    int calls = 0;
    screen->onMessages = [&] {
        if (++calls == 3) delete screen;
    };
    screen->Play();  // returns once it notices; sanitizer builds check the rest
    EXPECT_EQ(calls, 3);
}

TEST_F(ScreenStepsTest, AScreenDestroyedInsideAThreadStepEndsTheThread) {
    // The test steps in place of the animation thread.
    struct ThreadStepped : TestScreen {
        ThreadStepped() { SetThreaded(true); }
        bool StartThread() override { return true; }
    };
    auto* screen = new ThreadStepped;
    screen->SetPicture(&picture);
    screen->OnProgress = [](ScreenEngine& s) {
        if (s.Progress() == 8) delete &s;
    };
    screen->Play();
    ASSERT_TRUE(screen->HasThread());
    EXPECT_EQ(screen->ThreadStep(), ScreenEngine::ThreadStepResult::Continue);
    // The screen is gone after this step: nothing of it may be read.
    EXPECT_EQ(screen->ThreadStep(), ScreenEngine::ThreadStepResult::Quit);
}

TEST(ScreenPlacementTest, CentredPicturesAreSnapshotFromTheCentredArea) {
    TestScreen screen;
    screen.SetAutoSize(false);
    screen.Resize(300, 200);
    screen.SetCenter(true);
    screen.SetColor(raster::RGB(9, 9, 9));
    const Bitmap first = PositionPicture(100, 50, 1);
    screen.SetPicture(&first);
    screen.Play();
    EXPECT_EQ(screen.PictureRect, (Rect{100, 75, 200, 125}));

    screen.ComposePaintBuffer();
    EXPECT_EQ(screen.PaintBuffer.pixel(0, 0), raster::RGB(9, 9, 9));
    EXPECT_EQ(screen.PaintBuffer.pixel(100, 75), first.pixel(0, 0));
    EXPECT_EQ(screen.PaintBuffer.pixel(199, 124), first.pixel(99, 49));

    const Bitmap second = PositionPicture(100, 50, 2);
    screen.SetPicture(&second);
    screen.SetManual(true);
    screen.Play();
    ASSERT_TRUE(screen.OldBitmap.has_value());
    EXPECT_TRUE(screen.OldBitmap->samePixels(first));
}

TEST(ScreenPlacementTest, InvalidationFollowsCentreAndStretch) {
    TestScreen screen;
    screen.SetAutoSize(false);
    screen.Resize(200, 100);
    const Bitmap picture = PositionPicture(100, 50, 1);
    screen.SetPicture(&picture);
    screen.Play();

    screen.invalidated.clear();
    screen.InvalidatePictureRect({0, 0, 150, 50});  // clipped to the picture
    screen.SetCenter(true);                         // picture now at (50, 25)
    screen.InvalidatePictureRect({10, 10, 20, 20});
    screen.SetStretch(true);  // the frame fills the client: scale 2
    screen.InvalidatePictureRect({0, 0, 50, 50});
    screen.Resize(200, 200);
    screen.SetStretchFine(true);  // proportions kept: (0, 50, 200, 150)
    screen.InvalidatePictureRect({0, 0, 50, 50});
    EXPECT_EQ(screen.invalidated,
              (std::vector<Rect>{
                  {0, 0, 100, 50}, {60, 35, 70, 45}, {0, 0, 100, 100}, {0, 50, 100, 150}}));
}

TEST(ScreenPlacementTest, BackgroundModesAndStretchCompose) {
    TestScreen screen;
    screen.SetAutoSize(false);
    screen.Resize(8, 6);
    screen.SetColor(raster::RGB(1, 1, 1));
    const Bitmap tile = PositionPicture(3, 2, 50);
    screen.SetBgPicture(&tile);
    screen.ComposePaintBuffer();  // tiled by default
    EXPECT_EQ(screen.PaintBuffer.pixel(7, 5), tile.pixel(1, 1));

    screen.controlInvalidations = 0;
    screen.SetBgMode(bmCentered);  // (8 - 3) div 2, (6 - 2) div 2
    EXPECT_EQ(screen.controlInvalidations, 1);
    screen.ComposePaintBuffer();
    EXPECT_EQ(screen.PaintBuffer.pixel(2, 2), tile.pixel(0, 0));
    EXPECT_EQ(screen.PaintBuffer.pixel(0, 0), raster::RGB(1, 1, 1));

    screen.SetBgMode(bmStretched);
    screen.ComposePaintBuffer();
    EXPECT_EQ(screen.PaintBuffer.pixel(7, 5), tile.pixel(2, 1));

    screen.SetBgMode(bmNone);
    screen.ComposePaintBuffer();
    EXPECT_EQ(screen.PaintBuffer.pixel(7, 5), raster::RGB(1, 1, 1));

    // Stretch scales the frame over the whole client area.
    const Bitmap picture = PositionPicture(4, 3, 60);
    screen.SetPicture(&picture);
    screen.Play();
    screen.SetStretch(true);
    screen.ComposePaintBuffer();
    EXPECT_EQ(screen.PaintBuffer.pixel(7, 5), picture.pixel(3, 2));
    EXPECT_EQ(screen.PaintBuffer.pixel(0, 0), picture.pixel(0, 0));
}

TEST(ScreenPlacementTest, AutoSizeFitsTheControlToThePicture) {
    TestScreen screen;
    EXPECT_EQ(screen.ClientWidth(), 100);
    const Bitmap picture = PositionPicture(64, 48, 1);
    screen.SetPicture(&picture);
    EXPECT_EQ(screen.ClientWidth(), 64);
    EXPECT_EQ(screen.ClientHeight(), 48);
    EXPECT_EQ(screen.changes, 1);

    screen.SetAutoSize(false);
    const Bitmap larger = PositionPicture(80, 60, 2);
    screen.SetPicture(&larger);
    EXPECT_EQ(screen.ClientWidth(), 64);
    screen.SetAutoSize(true);
    EXPECT_EQ(screen.ClientWidth(), 80);

    screen.SetPicture(nullptr);
    EXPECT_TRUE(screen.Picture().isEmpty());
    EXPECT_EQ(screen.changes, 3);
}

}  // namespace
}  // namespace screen::test
