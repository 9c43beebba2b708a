// The preview runner's choices (order, styles, intervals, speed) and
// its runs on a real screen, and the preview window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>
#include <set>

#include "model/MediaPaths.h"
#include "model/MotionSetting.h"
#include "model/PerImage.h"
#include "model/Settings.h"
#include "model/Show.h"
#include "screen/AnimateThread.h"
#include "screen/FullscreenForm.h"
#include "screen/PreviewRunner.h"
#include "screen/RunnerChoices.h"

namespace screen::test {
namespace {

constexpr int kPatience = 20000;  // ms; only a bound for a broken run

std::string FileName(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

// A program folder of its own with sample pictures, and a show the tests
// fill; runners play copies of it.
class RunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        root_ = dir_.path().toStdString() + "/";
        QDir(dir_.path()).mkpath("sample");
        WritePicture(root_ + "sample/t1.jpg", Qt::red);
        WritePicture(root_ + "sample/t2.jpg", Qt::blue);
        model::SetProgramDir(root_);
        model::SetUserDataDir(root_);
    }
    void TearDown() override {
        model::SetProgramDir("");
        model::SetUserDataDir("");
        EXPECT_TRUE(QTest::qWaitFor(
            [] {
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                return TAnimateThread::LiveCount() == 0;
            },
            kPatience));
    }

    std::string WritePicture(const std::string& path, QColor color, int w = 64, int h = 48) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(color);
        EXPECT_TRUE(image.save(QString::fromStdString(path), "JPG"));
        return path;
    }
    std::string Path(const std::string& name) { return root_ + name; }

    // A runner that only decides: its timer is off and transitions are
    // prepared but not stepped.
    std::unique_ptr<TRunVantoscreen> QuietRunner() {
        auto runner = std::make_unique<TRunVantoscreen>(&host_, RunnerOptions{}, show_);
        runner->Timer->stop();
        runner->View->SetManual(true);
        return runner;
    }

    QTemporaryDir dir_;
    std::string root_;
    QWidget host_;
    model::Show show_;
};

TEST(RunnerChoicesTest, SpeedTableGivesStepAndDelay) {
    const struct {
        int speed, step, delay;
    } table[] = {{1, 15, 1}, {2, 8, 20}, {3, 4, 30}, {4, 2, 30}, {5, 1, 30}};
    for (const auto& row : table) {
        const auto steps = SpeedSteps(row.speed);
        ASSERT_TRUE(steps.has_value());
        EXPECT_EQ(steps->step, row.step);
        EXPECT_EQ(steps->delay, row.delay);
    }
    EXPECT_FALSE(SpeedSteps(0).has_value());
    EXPECT_FALSE(SpeedSteps(6).has_value());
}

TEST(RunnerChoicesTest, StylesComeFromTheSetOrCut) {
    model::StyleSet set;
    EXPECT_EQ(ChooseStyle(set), 0);
    set.set(0).set(173).set(175);  // members, but none that draws a transition
    EXPECT_EQ(ChooseStyle(set), 0);
    set.set(42).set(172);
    std::set<int> seen;
    for (int i = 0; i < 200; ++i) seen.insert(ChooseStyle(set));
    EXPECT_EQ(seen, (std::set<int>{42, 172}));
}

TEST_F(RunnerTest, ListOrderWrapsAndSkipsMissingPictures) {
    show_.settings.Pictures = {WritePicture(Path("a.jpg"), Qt::green), Path("missing.jpg"),
                               WritePicture(Path("b.jpg"), Qt::yellow)};
    auto runner = QuietRunner();
    std::vector<int> order;
    for (int i = 0; i < 5; ++i) {
        runner->PickNextFile();
        order.push_back(runner->Index);
    }
    EXPECT_EQ(order, (std::vector<int>{0, 2, 0, 2, 0}));

    // The per-image dialog's trick: Index 1 of two pictures shows entry 0.
    runner->Index = 1;
    show_.settings.Pictures.resize(2);
    runner->ApplySettings(show_);
    runner->PickNextFile();
    EXPECT_EQ(runner->Index, 0);
}

TEST_F(RunnerTest, RandomOrderNeverRepeatsThePictureJustShown) {
    show_.settings.ImageSequence = 1;
    show_.settings.Pictures = {WritePicture(Path("a.jpg"), Qt::green),
                               WritePicture(Path("b.jpg"), Qt::yellow)};
    auto runner = QuietRunner();
    int previous = -1;
    for (int i = 0; i < 200; ++i) {
        runner->PickNextFile();
        ASSERT_NE(runner->Index, previous);
        previous = runner->Index;
    }
    show_.settings.Pictures.resize(1);  // one picture can only repeat
    runner->ApplySettings(show_);
    runner->PickNextFile();
    runner->PickNextFile();
    EXPECT_EQ(runner->Index, 0);
}

TEST_F(RunnerTest, StylesAndIntervalsComeFromThePictureOrTheShow) {
    const std::string own = WritePicture(Path("own.jpg"), Qt::green);
    const std::string plain = WritePicture(Path("plain.jpg"), Qt::yellow);
    show_.settings.Pictures = {own, plain};
    show_.settings.useeffects.reset();
    show_.notes.WriteString(model::kEffectsSection, model::ImageKey(own), "7,");
    show_.notes.WriteInteger(model::kIntervalsSection, model::ImageKey(own), 5);

    auto runner = QuietRunner();
    runner->Timer->setInterval(3000);  // what the tick sets from ImageInterval
    runner->PickNext();
    runner->ShowNext();
    EXPECT_EQ(runner->CurrentFile, own);
    EXPECT_EQ(runner->View->Style(), 7);
    EXPECT_EQ(runner->Timer->interval(), 5000);

    runner->Timer->setInterval(3000);
    runner->PickNext();
    runner->ShowNext();
    EXPECT_EQ(runner->CurrentFile, plain);
    EXPECT_EQ(runner->View->Style(), 0);  // the show's set is empty: a cut
    EXPECT_EQ(runner->Timer->interval(), 3000);
}

TEST_F(RunnerTest, SettingsReachTheScreen) {
    const std::string back = WritePicture(Path("back.jpg"), Qt::gray, 16, 16);
    QFile broken(QString::fromStdString(Path("broken.png")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    // Applied in turn to one runner, the first row when it is made.
    const struct {
        int speed;
        bool useColor, tiled;
        std::string background;
        int step, delay, frameBackground;
    } table[] = {
        {1, true, true, back, 15, 1, 0},     // the colour wins over a picture
        {42, false, false, back, 15, 1, 2},  // unknown speeds leave the pace alone
        {3, false, true, back, 4, 30, 1},
        {3, false, true, Path("broken.png"), 4, 30, 0},  // unreadable: the plain colour
    };
    show_.settings.BackgroundColor = raster::RGB(1, 2, 3);
    show_.settings.ImageSize = 3;
    std::unique_ptr<TRunVantoscreen> runner;
    for (const auto& row : table) {
        show_.settings.EffectSpeed2 = row.speed;
        show_.settings.Back_Mode_UseColor = row.useColor;
        show_.settings.Back_Image_UseTiled = row.tiled;
        show_.settings.Back_Image_Filename = row.background;
        if (runner)
            runner->ApplySettings(show_);
        else
            runner = QuietRunner();
        EXPECT_EQ(runner->View->Step(), row.step) << row.speed;
        EXPECT_EQ(runner->View->Delay(), row.delay) << row.speed;
        EXPECT_EQ(runner->View->FrameBackground, row.frameBackground) << row.background;
        if (row.frameBackground != 0) {
            ASSERT_TRUE(runner->View->FrameBackgroundPicture.has_value());
            EXPECT_EQ(runner->View->FrameBackgroundPicture->width(), 16);
        }
    }
    EXPECT_EQ(runner->View->GetColor(), raster::RGB(1, 2, 3));
    EXPECT_EQ(runner->View->SizeMode, 3);
}

TEST_F(RunnerTest, BrokenPicturesDoNotStallTheShow) {
    QFile broken(QString::fromStdString(Path("broken.jpg")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("JFIF? no.");
    broken.close();
    show_.settings.Pictures = {Path("broken.jpg")};
    auto runner = QuietRunner();
    runner->TimerTick();
    EXPECT_TRUE(runner->View->Picture().isEmpty());
    EXPECT_FALSE(runner->View->Running());
    EXPECT_TRUE(runner->Timer->isActive());  // tries again after the interval
}

TEST_F(RunnerTest, ThreadedShowRunsOnItsOwn) {
    show_.settings.EffectSpeed2 = 1;
    show_.settings.ImageInterval = 0;
    show_.settings.useeffects.reset().set(60);
    show_.settings.Pictures = {Path("sample/t1.jpg"), Path("sample/t2.jpg")};
    host_.resize(160, 120);
    host_.show();
    auto runner = std::make_unique<TRunVantoscreen>(&host_, RunnerOptions{}, show_);
    std::vector<std::string> completed;
    auto done = runner->View->OnComplete;
    runner->View->OnComplete = [&](ScreenEngine& s) {
        completed.push_back(FileName(runner->CurrentFile));
        done(s);
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return completed.size() >= 3; }, kPatience));
    completed.resize(3);
    EXPECT_EQ(completed, (std::vector<std::string>{"t1.jpg", "t2.jpg", "t1.jpg"}));

    // Released in the middle of whatever it is doing.
    runner.reset();
}

// Light-weighted centre along x of what is brighter than grey in the right
// half of a bitmap.
double SpotX(const raster::Bitmap& bitmap) {
    double sum = 0, weighted = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = bitmap.width() / 2; x < bitmap.width(); ++x) {
            const double light = std::max(0, bitmap.row(y)[3 * x + 1] - 100);
            sum += light;
            weighted += light * x;
        }
    return sum > 0 ? weighted / sum : -1;
}

TEST_F(RunnerTest, APictureThatMovesFillsTheViewAndMovesWhileItStays) {
    // Grey with a white spot at three quarters of the width.
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(QColor(60, 60, 60));
    for (int y = 110; y < 130; ++y)
        for (int x = 230; x < 250; ++x) image.setPixel(x, y, qRgb(255, 255, 255));
    ASSERT_TRUE(image.save(QString::fromStdString(Path("spot.png"))));
    show_.settings.Pictures = {Path("spot.png")};
    show_.settings.ImageInterval = 1;
    model::SetOwnMotion(show_.notes, Path("spot.png"),
                        model::MotionSetting{model::MotionKind::ZoomIn, 5});
    host_.resize(160, 120);
    host_.show();
    auto runner = QuietRunner();
    runner->PickNext();
    // The first view fills the screen: no padding around it.
    EXPECT_EQ(runner->View->Picture().width(), 160);
    EXPECT_EQ(runner->View->Picture().height(), 120);
    EXPECT_NEAR(SpotX(runner->View->Picture()), 120, 1);
    runner->ShowNext();
    runner->Timer->setInterval(600);  // the picture's time after its transition
    runner->View->SetProgress(100);   // the whole picture, as a transition ends
    runner->View->Stop();             // a host-stepped transition ends without notice
    ASSERT_FALSE(runner->View->Running());
    runner->TransitionDone();  // the motion starts
    // Zoomed in by a quarter, the spot ends a third further from the centre.
    EXPECT_TRUE(QTest::qWaitFor([&] { return SpotX(runner->View->ScreenBitmap) > 131; }, kPatience))
        << SpotX(runner->View->ScreenBitmap);
}

TEST_F(RunnerTest, PreviewWindowCreatesARunnerOnEveryShowAndStopsItOnClose) {
    show_.settings.Pictures = {WritePicture(Path("a.jpg"), Qt::green)};
    TFullscreenForm form;
    form.SetShow(show_);
    EXPECT_EQ(form.windowTitle(), QString("Preview"));
    EXPECT_EQ(form.size(), QSize(720, 480));
    EXPECT_EQ(form.Runner(), nullptr);
    form.show();
    ASSERT_NE(form.Runner(), nullptr);
    TRunVantoscreen* runner = form.Runner();
    EXPECT_EQ(runner->View->size(), QSize(720, 480));
    ASSERT_TRUE(QTest::qWaitFor([&] { return runner->View->Running(); }, kPatience));
    form.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !runner->View->Running(); }, kPatience));
    // The next showing plays the show last handed over, from its start.
    show_.settings.BackgroundColor = 0x123456;
    form.SetShow(show_);
    form.show();
    ASSERT_NE(form.Runner(), nullptr);
    EXPECT_EQ(form.Runner()->Index, -1);
    EXPECT_EQ(form.Runner()->View->GetColor(), 0x123456u);
}

}  // namespace
}  // namespace screen::test
