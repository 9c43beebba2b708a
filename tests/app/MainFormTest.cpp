// The main window: steps, menus, the settings binding and closing, and what
// is handed to the desktop.
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>

#include "AppTestUtil.h"
#include "app/BackgroundPreview.h"
#include "app/ColorComboBox.h"
#include "app/DiscSave.h"
#include "app/HelpWindow.h"
#include "app/ImageForm.h"
#include "app/MediaListModels.h"
#include "model/FileIo.h"
#include "model/Project.h"
#include "model/Settings.h"

namespace app_test {
namespace {

using app::TMainForm;

class MainFormTest : public WindowTest {
protected:
    bool Shown(const char* name) { return Find<QWidget>(name)->isVisibleTo(&Window()); }
    QAction* Action(const char* name) {
        auto* action = Window().findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    QRadioButton* Radio(const char* name) { return Find<QRadioButton>(name); }
};

TEST_F(MainFormTest, NextWalksTheStepsAndBackReturnsToImages) {
    EXPECT_EQ(Window().CurrentStep(), TMainForm::kImagesStep);
    EXPECT_TRUE(Shown("nextB"));
    EXPECT_FALSE(Shown("backB"));
    for (int step = TMainForm::kMusicStep; step <= TMainForm::kOptionsStep; ++step) {
        Click("nextB");
        EXPECT_EQ(Window().CurrentStep(), step);
        EXPECT_TRUE(Shown("nextB"));
    }
    Click("nextB");  // Options -> Build
    EXPECT_EQ(Window().CurrentStep(), TMainForm::kBuildStep);
    EXPECT_FALSE(Shown("nextB"));
    EXPECT_TRUE(Shown("backB"));
    Click("backB");
    EXPECT_EQ(Window().CurrentStep(), TMainForm::kImagesStep);
    EXPECT_TRUE(Shown("nextB"));
    EXPECT_FALSE(Shown("backB"));
}

TEST_F(MainFormTest, TheKeyboardReachesTheStepsThroughTheNavigationBar) {
    Window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    // The step opens on the storyboard, which has the focus.
    auto* board = Find<QWidget>("Storyboard");
    EXPECT_EQ(QApplication::focusWidget(), board);
    // Shift+Tab from the page's first control goes back to the bar.
    QTest::keyClick(board, Qt::Key_Backtab);
    auto* bar = Find<QWidget>("OutlookBar");
    ASSERT_EQ(QApplication::focusWidget(), bar);
    QTest::keyClick(bar, Qt::Key_Down);
    EXPECT_EQ(Window().CurrentStep(), TMainForm::kMusicStep);
    QTest::keyClick(bar, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>("musicList"));
}

TEST_F(MainFormTest, SelectingTheShownStepOrOnePastTheLastRunsNothing) {
    QSignalSpy changes(&Window(), &TMainForm::StepChanged);
    Window().SelectStep(TMainForm::kImagesStep);
    Window().SelectStep(TMainForm::kStepCount);
    Window().SelectStep(-1);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(Window().CurrentStep(), TMainForm::kImagesStep);
    Window().SelectStep(TMainForm::kOptionsStep);
    Window().SelectStep(TMainForm::kOptionsStep);
    EXPECT_EQ(changes.count(), 1);
}

// The lengths beside the sync modes are those of the video: pictures the
// build leaves out (a damaged file, a JPEG cut off halfway, which the image
// list greys too) do not count, and crossfaded music overlaps at each join.
TEST_F(MainFormTest, TheLengthsBesideTheSyncModesAreThoseOfTheVideo) {
    const QString a = MakePicture("a.jpg"), b = MakePicture("b.jpg");
    // Noise, so that half the file is well inside the picture's data.
    QImage noise(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x * y) % 256));
    const QString whole = Path("whole.jpg");
    ASSERT_TRUE(noise.save(whole, "JPEG", 90));
    QFile wholeFile(whole);
    ASSERT_TRUE(wholeFile.open(QIODevice::ReadOnly));
    const QByteArray bytes = wholeFile.readAll();
    const QString cut = MakeFile("cut.jpg", bytes.left(bytes.size() / 2));
    const QString damaged = MakeFile("damaged.jpg", "not a JPEG at all");
    const QString one = MakeFile("one.mp3", "x"), two = MakeFile("two.mp3", "x");
    MakeFile("options.dat", ("[Set]\nMusicCrossfadeMs=3000\n[Pictures]\n" + a + "=1\n" + cut +
                             "=1\n" + b + "=1\n" + damaged + "=1\n[Music]\n" + one + "=1\n" + two +
                             "=1\n[Mp3Length]\n" + one + "=60000\n" + two + "=70000\n")
                                .toUtf8());
    model::OpenOptionsStore();
    Window().show();
    Window().SelectStep(TMainForm::kOptionsStep);
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return !Window().Images().Checking(); }, app_test::kPatience));
    QCoreApplication::processEvents();

    // PAL, 2 seconds a picture, speed 4: 2 x 75 transition frames + 2 x 50 = 10 s.
    EXPECT_EQ(Radio("syncGroup0")->text(), "Current length:  0:00:10");
    // 60 s and 70 s joined by a 3 s crossfade.
    EXPECT_EQ(Radio("syncGroup2")->text(), "Fit to music:      0:02:07");
    const QModelIndex cutRow = Window().Images().index(1, 0);
    EXPECT_TRUE(cutRow.data(Qt::ForegroundRole).isValid());
    EXPECT_TRUE(cutRow.data(Qt::ToolTipRole).toString().contains("not used in the show"));
    EXPECT_FALSE(Window().Images().index(0, 0).data(Qt::ForegroundRole).isValid());
}

TEST_F(MainFormTest, EnteringOptionsCollectsTheListsIntoTheShow) {
    const QString a = MakePicture("a.jpg");
    dialogs_.pictureFiles = {{a}};
    Click("addimagefile1");
    EXPECT_TRUE(Window().WorkingShow().settings.Pictures.empty());
    Window().SelectStep(TMainForm::kOptionsStep);
    EXPECT_EQ(Window().WorkingShow().settings.Pictures, std::vector<std::string>{a.toStdString()});
}

TEST_F(MainFormTest, EveryEntryIntoOptionsRecomputesTheLengthsBesideTheSyncModes) {
    const QString a = MakePicture("a.jpg"), b = MakePicture("b.jpg"), c = MakePicture("c.jpg");
    const QString song = MakeFile("song.mp3", "x");
    MakeFile("options.dat",
             ("[Music]\n" + song + "=1\n[Mp3Length]\n" + song + "=65400\n").toUtf8());
    model::OpenOptionsStore();
    dialogs_.pictureFiles = {{a, b}, {c}};
    Click("addimagefile1");
    // PAL, 2 seconds a picture, speed 4: 2 x 75 transition frames + 2 x 50 = 10 s.
    Window().SelectStep(TMainForm::kOptionsStep);
    EXPECT_EQ(Radio("syncGroup0")->text(), "Current length:  0:00:10");
    EXPECT_EQ(Radio("syncGroup1")->text(), "Fit to images:    0:00:10");
    EXPECT_EQ(Radio("syncGroup2")->text(), "Fit to music:      0:01:05");
    // Stretched: 1635 frames cover 65.4 s; less two transitions of 75, the
    // two holds share 1485 frames, 29.7 s each.
    EXPECT_EQ(Radio("syncGroup3")->text(), "Stretch to music: each picture about 29.7 s");

    Window().SelectStep(TMainForm::kImagesStep);
    Click("addimagefile1");
    Window().SelectStep(TMainForm::kOptionsStep);
    EXPECT_EQ(Window().ShowSeconds(), 15);
    EXPECT_EQ(Radio("syncGroup0")->text(), "Current length:  0:00:15");

    // The step's own "Customize caption and effects..." changes an interval:
    // 5 seconds more for c.jpg.
    dialogs_.onModal = [&](QDialog& dialog) {
        auto& form = static_cast<app::TImageForm&>(dialog);
        form.Grid().item(2, app::TImageForm::kIntervalColumn)->setText("7");
        form.findChild<QAbstractButton*>(QStringLiteral("ok1"))->click();
    };
    Click("FlatButton5");
    EXPECT_EQ(Window().ShowSeconds(), 20);
    EXPECT_EQ(Radio("syncGroup0")->text(), "Current length:  0:00:20");

    // So does a project loaded while the step is shown.
    dialogs_.saveChoices = {app::UserDialogs::SaveChoice::Discard};
    dialogs_.projectNames = {
        MakeFile("one.dvprj",
                 ("[Set]\nImageInterval=2\nEffectSpeed2=4\n[Pictures]\n" + a + "=1\n").toUtf8())};
    Action("LoadProject1")->trigger();
    ASSERT_TRUE(dialogs_.errors.isEmpty());
    EXPECT_EQ(Radio("syncGroup0")->text(), "Current length:  0:00:05");
}

TEST_F(MainFormTest, ControlsShowTheRecordAndGiveItBack) {
    const QString background = MakePicture("background/stone.png", 40, 30, Qt::gray);
    MakeFile("options.dat", ("[Set]\nVideoType=1\nTVSet=1\nMusicSync=2\nBackgroundColor=255\n"
                             "Back_Mode_UseColor=0\nBack_Image_UseTiled=0\nBack_Image_Filename=" +
                             background + "\nPlayMusic=0\nEffectSpeed2=3\nImageInterval=7\n")
                                .toUtf8());
    model::OpenOptionsStore();
    EXPECT_TRUE(Radio("VideoGroup1")->isChecked());
    EXPECT_TRUE(Radio("tvGroup1")->isChecked());
    EXPECT_TRUE(Radio("syncGroup2")->isChecked());
    EXPECT_EQ(Find<app::ColorComboBox>("BackcolorCb")->Color(), QColor(Qt::red));
    EXPECT_TRUE(Radio("BackImageRadio")->isChecked());
    EXPECT_TRUE(Radio("BackStretrchRadio")->isChecked());
    auto* preview = Find<app::BackgroundPreview>("BackImage");
    EXPECT_EQ(preview->toolTip(), background);
    EXPECT_TRUE(preview->HasPicture());
    EXPECT_EQ(Find<QSpinBox>("SpeedEdit2")->value(), 3);
    EXPECT_EQ(Find<QSpinBox>("IntervalEdit")->value(), 7);
    EXPECT_FALSE(Action("Play1")->isChecked());

    Radio("VideoGroup0")->setChecked(true);
    Radio("tvGroup0")->setChecked(true);
    Radio("syncGroup3")->setChecked(true);
    Radio("BackColorRadio")->setChecked(true);
    Radio("BackTiledRadio")->setChecked(true);
    Find<QSpinBox>("SpeedEdit2")->setValue(5);
    Find<app::ColorComboBox>("BackcolorCb")->SetColor(QColor(0x12, 0x34, 0x56));
    Window().CollectSettings(false);
    const model::TslSettings& s = Window().WorkingShow().settings;
    EXPECT_EQ(s.VideoType, 0);
    EXPECT_EQ(s.TVSet, 0);
    EXPECT_EQ(s.MusicSync, 3);
    EXPECT_TRUE(s.Back_Mode_UseColor);
    EXPECT_TRUE(s.Back_Image_UseTiled);
    EXPECT_EQ(s.EffectSpeed2, 5);
    EXPECT_EQ(s.BackgroundColor, 0x563412u);  // 0x00BBGGRR
    EXPECT_EQ(s.Back_Image_Filename, background.toStdString());
}

// The blurred fill is a third choice beside colour and picture; the preview
// shows the show's first picture over its blurred copy.
TEST_F(MainFormTest, BlurredFillIsChosenStoredAndPreviewed) {
    const QString photo = MakePicture("photo.png", 30, 60, Qt::darkRed);
    MakeFile("options.dat",
             ("[Set]\nBack_Mode_Blurred=1\nBack_Mode_UseColor=0\n[Pictures]\n" + photo + "=1\n")
                 .toUtf8());
    model::OpenOptionsStore();
    Window().RefreshFromSettings();
    EXPECT_TRUE(Radio("BackBlurRadio")->isChecked());
    EXPECT_FALSE(Radio("BackImageRadio")->isChecked());
    auto* preview = Find<app::BackgroundPreview>("BackImage");
    EXPECT_TRUE(preview->ShowsBlurred());

    Radio("BackColorRadio")->setChecked(true);
    EXPECT_FALSE(preview->ShowsBlurred());
    Window().CollectSettings(false);
    EXPECT_FALSE(Window().WorkingShow().settings.Back_Mode_Blurred);
    EXPECT_TRUE(Window().WorkingShow().settings.Back_Mode_UseColor);
    Radio("BackBlurRadio")->setChecked(true);
    Window().CollectSettings(false);
    EXPECT_TRUE(Window().WorkingShow().settings.Back_Mode_Blurred);
    EXPECT_TRUE(Window().WorkingShow().settings.Back_Mode_UseColor);  // kept for switching back
}

TEST_F(MainFormTest, Mp4FormatsAndDvdOfferTheirShapeMp4ItsQualityAndRateAndAnMp4File) {
    MakeFile("options.dat",
             "[Set]\nVideoType=4\nVideoFormat=mp4-1080p\nVideoAspect=4:3\nVideoShape=4:5\n"
             "VideoQuality=high\nVideoRate=59.94\n");
    model::OpenOptionsStore();
    EXPECT_TRUE(Radio("VideoGroup4")->isChecked());
    auto* aspect = Find<QComboBox>("Mp4Aspect");
    auto* quality = Find<QComboBox>("Mp4Quality");
    auto* rate = Find<QComboBox>("Mp4Rate");
    const auto* shapes = qobject_cast<const QStandardItemModel*>(aspect->model());
    ASSERT_NE(shapes, nullptr);
    EXPECT_TRUE(aspect->isEnabled());
    EXPECT_EQ(aspect->currentIndex(), 4);
    EXPECT_EQ(quality->currentIndex(), 1);
    EXPECT_EQ(rate->currentText(), "59.94");
    EXPECT_EQ(app::VideoSaveFilters(4), QStringList{"MP4 video (*.mp4 *.MP4)"});

    // A DVD has a shape of its own, 4:3 until chosen, 16:9 or 4:3 only, and
    // no quality or rate; VCD and SVCD are 4:3 only, and say so. Each
    // format's choice is kept.
    Radio("VideoGroup2")->setChecked(true);
    EXPECT_TRUE(aspect->isEnabled());
    EXPECT_FALSE(quality->isEnabled());
    EXPECT_FALSE(rate->isEnabled());
    EXPECT_EQ(aspect->currentIndex(), 1);
    for (int upright : {2, 3, 4}) EXPECT_FALSE(shapes->item(upright)->isEnabled()) << upright;
    aspect->setCurrentIndex(0);
    for (const char* disc : {"VideoGroup0", "VideoGroup1"}) {
        Radio(disc)->setChecked(true);
        EXPECT_FALSE(aspect->isEnabled()) << disc;
        EXPECT_EQ(aspect->currentIndex(), 1) << disc;
        EXPECT_TRUE(aspect->toolTip().contains("4:3 only")) << disc;
    }
    // 4:5 is made at 1080p only: at 4K it is greyed, and the shape gives way
    // to 16:9.
    Radio("VideoGroup5")->setChecked(true);
    EXPECT_TRUE(quality->isEnabled());
    EXPECT_TRUE(rate->isEnabled());
    EXPECT_FALSE(shapes->item(4)->isEnabled());
    EXPECT_TRUE(shapes->item(2)->isEnabled());
    EXPECT_EQ(aspect->currentIndex(), 0);
    aspect->setCurrentIndex(2);
    rate->setCurrentIndex(rate->findText("50"));
    Window().CollectSettings(false);
    EXPECT_EQ(Window().WorkingShow().settings.VideoType, 5);
    EXPECT_EQ(Window().WorkingShow().settings.VideoAspect, 2);
    EXPECT_EQ(Window().WorkingShow().settings.VideoQuality, 1);
    EXPECT_EQ(Window().WorkingShow().settings.VideoRate, 4);
    EXPECT_EQ(Window().WorkingShow().settings.DvdAspect, 0);
    Radio("VideoGroup2")->setChecked(true);
    EXPECT_EQ(aspect->currentIndex(), 0);
}

// The Build step's subtitle choice follows the format chosen on the Options
// step and the caption switch: for MP4 with captions it writes its key; for
// a disc or a show without captions it is greyed and says why.
TEST_F(MainFormTest, TheBuildStepsSubtitleChoiceWritesItsKeyAndIsGreyedWhereItCannotApply) {
    MakeFile("options.dat", "[Set]\nVideoFormat=mp4-720p\nShowCaption=1\nSubtitles=off\n");
    model::OpenOptionsStore();
    auto* group = Find<QWidget>("SubtitleGroup");
    auto* box = Find<QComboBox>("SubtitleChoice");
    Window().SelectStep(TMainForm::kBuildStep);
    EXPECT_TRUE(group->isEnabled());
    EXPECT_EQ(box->currentText(), "None");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Up);
    ASSERT_EQ(box->currentText(), "As an .srt file beside it");
    EXPECT_TRUE(Window().Unsaved());
    Window().CollectSettings(true);
    EXPECT_EQ(model::IniFile(model::OptionsFileName()).ReadString("Set", "Subtitles", ""), "file");

    struct Case {
        const char* format;  // the Options step's radio button
        bool captions;
        bool offered;
        const char* why;  // in the tooltip when not offered
    };
    for (const Case& c :
         {Case{"VideoGroup2", true, false, "disc"}, Case{"VideoGroup0", true, false, "disc"},
          Case{"VideoGroup4", false, false, "Captions are off"},
          Case{"VideoGroup5", true, true, ""}}) {
        SCOPED_TRACE(c.format);
        Window().SelectStep(TMainForm::kOptionsStep);
        Radio(c.format)->setChecked(true);
        Window().WorkingShow().settings.ShowCaption = c.captions;
        Window().SelectStep(TMainForm::kBuildStep);
        EXPECT_EQ(group->isEnabled(), c.offered);
        EXPECT_TRUE(group->toolTip().contains(QLatin1String(c.why)));
        // The choice is kept for when it applies again.
        EXPECT_EQ(box->currentText(), "As an .srt file beside it");
    }
}

// "Where it will be watched:" sets the detailed controls, which stay live
// under it: changing one shows "Custom", listed only then. Alt+W reaches it,
// and a TV preset takes the rate of a standard chosen later.
TEST_F(MainFormTest, WhereItWillBeWatchedSetsTheDetailedControlsAndFollowsThem) {
    Window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    Window().SelectStep(TMainForm::kOptionsStep);
    auto* preset = Find<QComboBox>("PresetCombo");
    auto* aspect = Find<QComboBox>("Mp4Aspect");
    auto* rate = Find<QComboBox>("Mp4Rate");
    EXPECT_EQ(preset->currentText(), "DVD");  // a new show's 4:3 DVD
    EXPECT_EQ(preset->findText("Custom"), -1);
    QTest::keyClick(&Window(), Qt::Key_W, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), preset);

    preset->setCurrentIndex(preset->findText("Phone, vertical"));
    EXPECT_TRUE(Radio("VideoGroup4")->isChecked());
    EXPECT_EQ(aspect->currentText(), "9:16");
    EXPECT_EQ(rate->currentText(), "30");
    Window().CollectSettings(false);
    const model::TslSettings& s = Window().WorkingShow().settings;
    EXPECT_EQ(s.VideoType, 4);
    EXPECT_EQ(s.VideoAspect, 2);
    EXPECT_EQ(s.VideoRate, 3);
    rate->setCurrentIndex(rate->findText("60"));
    EXPECT_EQ(preset->currentText(), "Custom");
    rate->setCurrentIndex(rate->findText("30"));
    EXPECT_EQ(preset->currentText(), "Phone, vertical");
    EXPECT_EQ(preset->findText("Custom"), -1);

    preset->setCurrentIndex(preset->findText("TV or computer"));
    EXPECT_EQ(rate->currentText(), "50");
    Radio("tvGroup1")->setChecked(true);
    EXPECT_EQ(rate->currentText(), "60");
    EXPECT_EQ(preset->currentText(), "TV or computer");

    // A DVD made widescreen moves the shape alone, and is a change still.
    preset->setCurrentIndex(preset->findText("DVD"));
    dialogs_.projectNames = {Path("show.dvprj")};
    Action("SaveProject1")->trigger();
    ASSERT_FALSE(Window().Unsaved());
    preset->setCurrentIndex(preset->findText("DVD, widescreen"));
    EXPECT_EQ(aspect->currentText(), "16:9");
    EXPECT_TRUE(Window().Unsaved());
}

TEST_F(MainFormTest, LoadingAProjectShowsItsSpeedIntervalAndMotion) {
    const QString project =
        MakeFile("slow.dvprj", "[Set]\nEffectSpeed2=5\nImageInterval=9\nMotion=pan-down:4\n");
    Window().SelectStep(TMainForm::kEffectsStep);  // starts the preview
    Find<QSpinBox>("SpeedEdit2")->setValue(2);
    dialogs_.projectNames = {project};
    Action("LoadProject1")->trigger();
    EXPECT_EQ(Find<QSpinBox>("SpeedEdit2")->value(), 5);
    EXPECT_EQ(Find<QSpinBox>("IntervalEdit")->value(), 9);
    EXPECT_EQ(Window().WorkingShow().settings.EffectSpeed2, 5);
    EXPECT_EQ(Window().WorkingShow().settings.ImageInterval, 9);
    auto* kind = Find<QComboBox>("MotionKind");
    auto* strength = Find<QSpinBox>("MotionStrength");
    EXPECT_EQ(kind->currentText(), "Pan down");
    EXPECT_EQ(strength->value(), 4);
    // A change reaches the show at once; without motion the strength rests.
    kind->setCurrentIndex(kind->findText("Zoom in"));
    EXPECT_EQ(Window().WorkingShow().settings.Motion,
              (model::MotionSetting{model::MotionKind::ZoomIn, 4}));
    kind->setCurrentIndex(kind->findText("None"));
    EXPECT_FALSE(strength->isEnabled());
}

TEST_F(MainFormTest, ABackgroundPictureThatCannotBeReadIsReportedAndKept) {
    const QString broken = MakeFile("background/broken.png", "not a PNG at all");
    const QString good = MakePicture("background/good.png", 30, 20, Qt::yellow);
    model::OpenOptionsStore();  // the background folder is the dialog's start
    dialogs_.pictureFile = {broken, good};
    Click("FlatButton29");
    EXPECT_EQ(dialogs_.initialFolders.value(0), Path("background/"));
    ASSERT_EQ(dialogs_.errors.size(), 1);
    EXPECT_TRUE(dialogs_.errors[0].contains("broken.png"));
    auto* preview = Find<app::BackgroundPreview>("BackImage");
    EXPECT_EQ(preview->Path(), broken);
    EXPECT_FALSE(preview->HasPicture());
    EXPECT_FALSE(Radio("BackImageRadio")->isChecked());
    Click("FlatButton29");
    EXPECT_EQ(dialogs_.errors.size(), 1);
    EXPECT_TRUE(preview->HasPicture());
    EXPECT_TRUE(Radio("BackImageRadio")->isChecked());
    Window().CollectSettings(false);
    EXPECT_EQ(Window().WorkingShow().settings.Back_Image_Filename, good.toStdString());
    EXPECT_FALSE(Window().WorkingShow().settings.Back_Mode_UseColor);
}

TEST_F(MainFormTest, AProjectWithoutABackgroundPictureShowsNone) {
    const QString stone = MakePicture("background/stone.png", 40, 30, Qt::gray);
    MakeFile("options.dat", ("[Set]\nBack_Image_Filename=" + stone + "\n").toUtf8());
    model::OpenOptionsStore();
    auto* preview = Find<app::BackgroundPreview>("BackImage");
    EXPECT_TRUE(preview->HasPicture());

    dialogs_.projectNames = {MakeFile("plain.dvprj", "[Set]\nBack_Mode_UseColor=0\n")};
    Action("LoadProject1")->trigger();
    EXPECT_TRUE(preview->Path().isEmpty());
    EXPECT_FALSE(preview->HasPicture());
}

TEST_F(MainFormTest, AValueNoRadioButtonHasIsKeptByTheCollect) {
    MakeFile("options.dat", "[Set]\nTVSet=2\nVideoType=258\n");
    model::OpenOptionsStore();
    EXPECT_EQ(Window().WorkingShow().settings.VideoType, 2);  // low eight bits
    EXPECT_FALSE(Radio("tvGroup0")->isChecked());
    EXPECT_FALSE(Radio("tvGroup1")->isChecked());
    EXPECT_TRUE(Radio("VideoGroup2")->isChecked());
    Window().CollectSettings(false);
    EXPECT_EQ(Window().WorkingShow().settings.TVSet, 2);
    EXPECT_EQ(Window().WorkingShow().settings.VideoType, 2);
}

TEST_F(MainFormTest, ClosingWritesTheListsWhileUndoAndExitDoesNot) {
    const QString a = MakePicture("a.jpg");
    dialogs_.pictureFiles = {{a}};
    Click("addimagefile1");
    Find<QSpinBox>("IntervalEdit")->setValue(9);
    Window().show();
    Action("UndoandExit1")->trigger();
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(dialogs_.programEnds, 1);
    EXPECT_FALSE(model::FileExists(model::OptionsFileName()));
    // The program's end keeps the show, which the interval reached at once.
    Restart();
    EXPECT_EQ(Window().Images().rowCount(), 0);
    EXPECT_EQ(Find<QSpinBox>("IntervalEdit")->value(), 9);

    window_.reset();
    dialogs_.pictureFiles = {{a}};
    Click("addimagefile1");
    Window().show();
    EXPECT_TRUE(Window().close());
    const std::string written = model::ReadWholeFile(model::OptionsFileName());
    EXPECT_NE(written.find("[Pictures]\n" + a.toStdString() + "=1\n"), std::string::npos);
}

TEST_F(MainFormTest, ClosingAsksBeforeLosingWhatCannotBeWritten) {
    const QString a = MakePicture("a.jpg");
    dialogs_.pictureFiles = {{a}};
    Click("addimagefile1");
    // A folder where the options file should be: every write fails.
    QDir().mkpath(QString::fromStdString(model::OptionsFileName()));
    Window().show();
    dialogs_.answers = {false, true};
    EXPECT_FALSE(Window().close());
    EXPECT_TRUE(Window().isVisible());
    // The choices still reached the record.
    EXPECT_EQ(Window().WorkingShow().settings.Pictures, std::vector<std::string>{a.toStdString()});
    EXPECT_TRUE(Window().close());
    EXPECT_EQ(dialogs_.questions.size(), 2);
}

TEST_F(MainFormTest, SaveProjectWritesTheProjectLoadedOrSavedAsWhichTheTitleNames) {
    const QString a = MakePicture("a.jpg"), b = MakePicture("b.jpg");
    const auto title = [this] { return Window().windowTitle().remove("[*]"); };
    EXPECT_EQ(title(), "Vanto Slideshow");

    // No project yet: Save Project asks for a name, as Save As does.
    dialogs_.pictureFiles = {{a}};
    Click("addimagefile1");
    dialogs_.projectNames = {Path("holiday")};
    Action("Save1")->trigger();
    ASSERT_TRUE(model::FileExists(Dir() + "holiday.dvprj"));
    EXPECT_EQ(title(), "holiday.dvprj - Vanto Slideshow");
    EXPECT_FALSE(Window().isWindowModified());

    dialogs_.pictureFiles = {{b}};
    Click("addimagefile1");
    EXPECT_TRUE(Window().isWindowModified());
    Action("Save1")->trigger();
    EXPECT_FALSE(Window().isWindowModified());
    EXPECT_NE(model::ReadWholeFile(Dir() + "holiday.dvprj").find(b.toStdString()),
              std::string::npos);

    // After a load, a changed tick goes into the loaded file, not only into
    // the working state.
    const QString trip = MakeFile("trip.dvprj", ("[Set]\n[Pictures]\n" + a + "=1\n").toUtf8());
    dialogs_.projectNames = {trip};
    Action("LoadProject1")->trigger();
    ASSERT_EQ(Window().Images().List().Count(), 1u);
    EXPECT_EQ(title(), "trip.dvprj - Vanto Slideshow");
    EXPECT_FALSE(Window().isWindowModified());
    Window().Images().setData(Window().Images().index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_TRUE(Window().isWindowModified());
    Action("Save1")->trigger();
    EXPECT_EQ(dialogs_.notices, QStringList({"Save OK", "Save OK"}));
    EXPECT_NE(model::ReadWholeFile(trip.toStdString()).find(a.toStdString() + "=0"),
              std::string::npos);
    model::IniFile working(model::OptionsFileName());
    EXPECT_EQ(model::ReadWorkingProject(working).file, trip.toStdString());
    working.EraseSection("Working");
    EXPECT_EQ(model::ReadWholeFile(trip.toStdString()), working.Text());

    // A file that is no project is refused with a message; nothing changes.
    dialogs_.projectNames = {MakeFile("video.dvprj", QByteArray("\x00\x01\x02garbage", 10))};
    Action("LoadProject1")->trigger();
    EXPECT_EQ(dialogs_.errors.size(), 1);
    EXPECT_EQ(Window().Images().List().Count(), 1u);
    EXPECT_EQ(title(), "trip.dvprj - Vanto Slideshow");

    // A project that cannot be written any more is reported, not called saved.
    QFile::remove(trip);
    QDir().mkpath(trip);
    Action("Save1")->trigger();
    ASSERT_EQ(dialogs_.errors.size(), 2);
    EXPECT_TRUE(dialogs_.errors[1].contains(trip));
    EXPECT_EQ(dialogs_.notices.size(), 2);
}

TEST_F(MainFormTest, MusicSwitchedOffIsSaidBesideTheMusicItsLengthAndTheBuild) {
    const auto notes = [this] {
        QStringList shown;
        for (const char* note : {"musicOffNote", "buildMusicNote"})
            if (!Find<QWidget>(note)->isHidden()) shown << note;
        return shown;
    };
    Window().SelectStep(TMainForm::kOptionsStep);
    EXPECT_TRUE(notes().isEmpty());
    EXPECT_FALSE(Radio("syncGroup2")->text().contains("music is off"));

    Action("Play1")->trigger();
    EXPECT_EQ(notes(), QStringList({"musicOffNote", "buildMusicNote"}));
    EXPECT_TRUE(Radio("syncGroup2")->text().contains("music is off"));

    // A project with the music switched off says so as soon as it is loaded.
    Action("Play1")->trigger();
    dialogs_.projectNames = {MakeFile("quiet.dvprj", "[Set]\nPlayMusic=0\n")};
    Action("LoadProject1")->trigger();
    EXPECT_EQ(notes().size(), 2);
}

TEST_F(MainFormTest, SaveAsAsksBeforeReplacingTheProjectANameWithoutExtensionLeadsTo) {
    const QByteArray earlier = "[Settings]\nImageInterval=9\n";
    const QString existing = MakeFile("holiday.dvprj", earlier);
    dialogs_.pictureFiles = {{MakePicture("a.jpg")}};
    Click("addimagefile1");

    // "holiday" is saved as holiday.dvprj, which the dialog never saw.
    dialogs_.projectNames = {Path("holiday")};
    Action("SaveProject1")->trigger();
    ASSERT_EQ(dialogs_.questions.size(), 1);
    EXPECT_TRUE(dialogs_.questions[0].contains(existing));
    EXPECT_EQ(model::ReadWholeFile(existing.toStdString()), earlier.toStdString());

    dialogs_.projectNames = {Path("holiday")};
    dialogs_.answers = {true};
    Action("SaveProject1")->trigger();
    EXPECT_NE(model::ReadWholeFile(existing.toStdString()).find("[Pictures]"), std::string::npos);

    // A name the dialog already asked about is not asked about again.
    dialogs_.projectNames = {existing};
    Action("SaveProject1")->trigger();
    EXPECT_EQ(dialogs_.questions.size(), 2);
    EXPECT_TRUE(dialogs_.errors.isEmpty());
}

// The program has no address of its own: the Help menu and the About box
// lead to the manual installed with it.
TEST_F(MainFormTest, HelpLeadsToTheInstalledManualAndNamesNoAddress) {
    for (const char* gone : {"HomePage1", "Email1"})
        EXPECT_EQ(Window().findChild<QAction*>(QLatin1String(gone)), nullptr) << gone;
    dialogs_.onModal = [](QDialog& about) {
        emit about.findChild<QLabel*>(QStringLiteral("manualLink"))->linkActivated("#manual");
    };
    Action("About1")->trigger();
    ASSERT_NE(Window().Help(), nullptr);
    EXPECT_TRUE(Window().Help()->isVisible());
    EXPECT_TRUE(dialogs_.opened.empty());
    EXPECT_EQ(Action("UndoandExit1")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_E));
}

// A long hint (a picture deep in folders, the reason it is left out) is
// shown in lines no longer than a readable line, whether it is a widget's
// own or a list row's, and none of it is lost.
TEST_F(MainFormTest, LongHintsAreShownInLinesOfAReadableLength) {
    // Characters a line: the long end of the typographers' 45 to 75.
    constexpr int kReadableLine = 75;
    const QString picture = MakePicture(
        "holidays/2019 summer in the mountains with the whole family/"
        "the second week by the lake/IMG_20190812_123456_but_renamed_at_length.jpg");
    dialogs_.pictureFiles = {{picture}};
    Click("addimagefile1");
    Window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    auto* count = Find<QLabel>("CountLabel");
    const QString reason = "The picture " + picture +
                           " could not be read: it ends before its last row, as if the copy "
                           "was cut off; it is left out of the show.";
    auto* list = Find<QAbstractItemView>("ImageList");
    ASSERT_NE(list, nullptr);
    const struct {
        QWidget* widget;
        QPoint at;
        QString hint;
    } cases[] = {
        {count, count->rect().center(), reason},
        {list->viewport(), list->visualRect(list->model()->index(0, 0)).center(), picture},
    };
    for (const auto& [widget, at, hint] : cases) {
        if (widget == count) count->setToolTip(hint);
        QHelpEvent event(QEvent::ToolTip, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &event);
        QLabel* tip = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "qtooltip_label" && top->isVisible())
                tip = qobject_cast<QLabel*>(top);
        ASSERT_NE(tip, nullptr) << hint.toStdString();
        const QStringList lines = tip->text().split('\n');
        EXPECT_GT(lines.size(), 1);
        int widest = 0;
        for (const QString& line : lines) {
            EXPECT_LE(line.size(), kReadableLine) << line.toStdString();
            widest = std::max(widest, tip->fontMetrics().horizontalAdvance(line));
        }
        EXPECT_LE(tip->width(), widest + 2 * tip->margin() + 20);
        QString shown = tip->text(), given = hint;
        EXPECT_EQ(shown.remove('\n').remove(' '), given.remove(' '));
        QToolTip::hideText();
    }
}

// The real dialog object, with a desktop that has nothing to open anything with.
class NothingOpens : public app::UserDialogs {
public:
    QStringList errors;
    void ShowError(QWidget*, const QString& text) override { errors << text; }

protected:
    bool OpenWithDesktop(const QUrl&) override { return false; }
};

TEST(UserDialogsTest, WhatTheDesktopCannotOpenIsReported) {
    NothingOpens dialogs;
    dialogs.OpenUrl(QUrl("https://vantoshow.example.org/"));
    dialogs.OpenUrl(QUrl::fromLocalFile("/pictures/a b.jpg"));
    ASSERT_EQ(dialogs.errors.size(), 2);
    EXPECT_TRUE(dialogs.errors[0].contains("\"https://vantoshow.example.org/\""));
    EXPECT_TRUE(dialogs.errors[1].contains("\"/pictures/a b.jpg\""));
}

TEST_F(MainFormTest, TheEffectTreeTakesOverTheSelectionOnlyOnceShown) {
    Window().WorkingShow().settings.useeffects.reset();
    Window().WorkingShow().settings.useeffects.set(6);
    Window().CollectSettings(false);  // the tree is not built: the selection stays
    EXPECT_TRUE(Window().WorkingShow().settings.useeffects.test(6));
    EXPECT_EQ(Window().WorkingShow().settings.useeffects.count(), 1u);

    Window().SelectStep(TMainForm::kEffectsStep);
    EXPECT_EQ(Window().EffectTree().CategoryCount(), 2);
    EXPECT_TRUE(Window().EffectTree().EffectChecked(0, 1));
    Click("selectall1");
    Window().CollectSettings(false);
    EXPECT_EQ(model::StyleSetText(Window().WorkingShow().settings.useeffects), "5,6,22,118,160,");
    Click("disableall1");
    Window().CollectSettings(false);
    EXPECT_TRUE(Window().WorkingShow().settings.useeffects.none());
}

TEST_F(MainFormTest, CustomizeHidesTheWindowWhileTheDialogRuns) {
    Window().show();
    bool hiddenMeanwhile = false;
    dialogs_.onModal = [&](QDialog& dialog) {
        hiddenMeanwhile = !Window().isVisible();
        EXPECT_NE(qobject_cast<app::TImageForm*>(&dialog), nullptr);
    };
    Click("customize1");
    EXPECT_TRUE(hiddenMeanwhile);
    EXPECT_TRUE(Window().isVisible());
}

}  // namespace
}  // namespace app_test
