// The screen as a widget: threaded runs, stopping and destroying them,
// painting and transparency, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <memory>

#include "raster/Fill.h"
#include "screen/AnimateThread.h"
#include "screen/ScreenTestUtil.h"
#include "screen/Vantoscreen.h"

namespace screen::test {
namespace {

constexpr int kPatience = 20000;  // ms; only a bound for a broken run, never a measurement

// Lets the deleteLater of finished animation threads run.
bool ThreadsGone() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return TAnimateThread::LiveCount() == 0;
}

struct Recorder {
    std::vector<int> progress;
    int completes = 0;
    bool offGuiThread = false;

    void Attach(TVantoscreen& screen) {
        screen.OnProgress = [this](ScreenEngine& s) {
            progress.push_back(s.Progress());
            offGuiThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
        };
        screen.OnComplete = [this](ScreenEngine&) { ++completes; };
    }
};

TEST(ThreadedScreenTest, StepsRunOnTheGuiThreadAndComplete) {
    TVantoscreen screen;
    Recorder record;
    record.Attach(screen);
    screen.SetStep(10);
    screen.SetDelay(1);
    const Bitmap picture = PositionPicture(60, 40, 3);
    screen.SetPicture(&picture);
    screen.Play();
    EXPECT_TRUE(screen.Running());
    EXPECT_NE(screen.AnimateThread(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return record.completes > 0; }, kPatience));

    EXPECT_EQ(record.progress, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    EXPECT_FALSE(record.offGuiThread);
    EXPECT_FALSE(screen.Running());
    EXPECT_EQ(screen.AnimateThread(), nullptr);
    EXPECT_TRUE(screen.ScreenBitmap.samePixels(picture));
    EXPECT_TRUE(QTest::qWaitFor(ThreadsGone, kPatience));
}

TEST(ThreadedScreenTest, StopCompletesLaterAndBlocksPlayUntilThen) {
    TVantoscreen screen;
    Recorder record;
    record.Attach(screen);
    screen.SetStep(1);
    screen.SetDelay(10);
    const Bitmap first = PositionPicture(60, 40, 1);
    const Bitmap second = PositionPicture(60, 40, 2);
    screen.SetPicture(&first);
    screen.Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return record.progress.size() >= 3; }, kPatience));

    screen.Stop();
    EXPECT_EQ(record.completes, 0);  // not inside Stop
    EXPECT_TRUE(screen.Running());
    EXPECT_FALSE(screen.Stopping());
    const size_t stepsAtStop = record.progress.size();
    screen.SetPicture(&second);
    screen.Play();  // the stopped run has not ended yet
    ASSERT_TRUE(screen.NewBitmap.has_value());
    EXPECT_TRUE(screen.NewBitmap->samePixels(first));

    ASSERT_TRUE(QTest::qWaitFor([&] { return record.completes > 0; }, kPatience));
    EXPECT_FALSE(screen.Running());
    EXPECT_EQ(record.progress.size(), stepsAtStop);  // no step after the stop
    EXPECT_LT(screen.Progress(), 100);
    EXPECT_TRUE(QTest::qWaitFor(ThreadsGone, kPatience));
}

TEST(ThreadedScreenTest, DestroyingTheScreenMidRunDetachesItsThread) {
    Recorder record;
    auto screen = std::make_unique<TVantoscreen>();
    record.Attach(*screen);
    screen->SetStep(1);
    screen->SetDelay(2);
    const Bitmap picture = PositionPicture(60, 40, 3);
    screen->SetPicture(&picture);
    screen->Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return record.progress.size() >= 3; }, kPatience));

    screen.reset();  // must neither wait for the worker nor be reached by it
    EXPECT_TRUE(QTest::qWaitFor(ThreadsGone, kPatience));
    EXPECT_EQ(record.completes, 0);
    EXPECT_LT(record.progress.back(), 100);
}

TEST(ThreadedScreenTest, ManualPausesTheThreadAndAFreshThreadResumes) {
    TVantoscreen screen;
    Recorder record;
    screen.OnComplete = [&](ScreenEngine&) { ++record.completes; };
    screen.OnProgress = [&](ScreenEngine& s) {
        record.progress.push_back(s.Progress());
        if (s.Progress() == 30) screen.SetManual(true);
    };
    screen.SetStep(10);
    screen.SetDelay(1);
    const Bitmap picture = PositionPicture(60, 40, 3);
    screen.SetPicture(&picture);
    screen.Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.AnimateThread() == nullptr; }, kPatience));
    EXPECT_TRUE(screen.Running());  // kept prepared for the host
    EXPECT_EQ(screen.Progress(), 30);
    EXPECT_EQ(record.completes, 0);

    screen.SetProgress(60);
    screen.SetManual(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return record.completes > 0; }, kPatience));
    EXPECT_EQ(record.progress, (std::vector<int>{10, 20, 30, 60, 70, 80, 90, 100}));
    EXPECT_TRUE(QTest::qWaitFor(ThreadsGone, kPatience));
}

TEST(ThreadedScreenTest, ThreadPriorityIsAppliedToTheThread) {
    TVantoscreen screen;
    QThread::Priority seen = QThread::InheritPriority;
    screen.OnProgress = [&](ScreenEngine&) {
        if (screen.AnimateThread()) seen = screen.AnimateThread()->priority();
    };
    int completes = 0;
    screen.OnComplete = [&](ScreenEngine&) { ++completes; };
    screen.SetThreadPriority(tpLowest);
    screen.SetStep(50);
    screen.SetDelay(1);
    const Bitmap picture = PositionPicture(20, 20, 3);
    screen.SetPicture(&picture);
    screen.Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return completes > 0; }, kPatience));
    EXPECT_EQ(seen, QThread::LowestPriority);
    EXPECT_TRUE(QTest::qWaitFor(ThreadsGone, kPatience));
}

TEST(ScreenWidgetTest, PaintsTheComposedClientImage) {
    QWidget host;
    host.resize(200, 150);
    auto* screen = new TVantoscreen(&host);
    EXPECT_TRUE(screen->testAttribute(Qt::WA_OpaquePaintEvent));
    EXPECT_EQ(screen->size(), QSize(100, 100));
    screen->SetAlign(alClient);
    EXPECT_EQ(screen->size(), QSize(200, 150));
    host.show();  // a hidden widget gets its resize events when shown
    host.resize(240, 180);
    EXPECT_EQ(screen->size(), QSize(240, 180));

    screen->SetThreaded(false);
    screen->SetCenter(true);
    screen->SetColor(raster::RGB(0, 0, 255));
    const Bitmap picture = PositionPicture(40, 30, 77);
    screen->SetPicture(&picture);
    EXPECT_EQ(screen->size(), QSize(240, 180));  // aligned: AutoSize leaves it
    screen->Play();

    const QImage shot = screen->grab().toImage();
    EXPECT_EQ(shot.pixel(0, 0), qRgb(0, 0, 255));
    // Centred at (100, 75); pixel (5, 6) of the picture.
    EXPECT_EQ(shot.pixel(105, 81), qRgb(77, 6, 5));
}

TEST(ScreenWidgetTest, PicturesAreFittedToTheSizeTheHostHasNow) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("wide.png");
    QImage image(50, 20, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(file));

    QWidget host;
    host.resize(200, 150);
    auto* screen = new TVantoscreen(&host);
    screen->SetAlign(alClient);
    // A hidden host gets its resize event only when shown.
    host.resize(300, 100);
    screen->SizeMode = 3;  // stretched to exactly the screen's size
    screen->LoadFromFile(file.toStdString());
    EXPECT_EQ(screen->Picture().width(), 300);
    EXPECT_EQ(screen->Picture().height(), 100);
}

TEST(ScreenWidgetTest, TransparentColourShowsTheParent) {
    QWidget host;
    host.resize(60, 40);
    QPalette palette = host.palette();
    palette.setColor(QPalette::Window, QColor(255, 0, 0));
    host.setPalette(palette);
    host.setAutoFillBackground(true);
    auto* screen = new TVantoscreen(&host);
    screen->SetThreaded(false);
    Bitmap picture(60, 40, raster::RGB(0, 255, 0));
    raster::FillRect(picture, {0, 0, 30, 40}, raster::RGB(10, 20, 30));
    screen->SetPicture(&picture);
    screen->Play();

    screen->SetTransparentMode(true);
    screen->SetTransparentColor(raster::RGB(10, 20, 30));
    EXPECT_FALSE(screen->testAttribute(Qt::WA_OpaquePaintEvent));
    QImage shot = host.grab().toImage();
    EXPECT_EQ(shot.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(45, 5), qRgb(0, 255, 0));

    screen->SetTransparentMode(false);
    shot = host.grab().toImage();
    EXPECT_EQ(shot.pixel(5, 5), qRgb(10, 20, 30));
}

}  // namespace
}  // namespace screen::test
