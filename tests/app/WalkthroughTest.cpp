// The window driven from start to finished video, as a person would use it,
// and the Build step's behaviour while a build runs. The videos are checked
// with ffprobe.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QProgressBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "AppTestUtil.h"
#include "app/FolderBrowser.h"
#include "app/ImageForm.h"
#include "app/MediaListModels.h"
#include "app/PictureView.h"
#include "model/FileIo.h"
#include "model/PerImage.h"
#include "model/RecentProjects.h"
#include "model/Settings.h"
#include "model/Show.h"
#include "showbuild/BuildDriver.h"

namespace app_test {
namespace {

using app::TMainForm;

// Runs a program and returns its standard output; empty when it failed.
QByteArray Output(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0) return {};
    return process.readAllStandardOutput();
}

class WalkthroughTest : public WindowTest {
protected:
    // Ticks an effect of the Effects step's tree the way a click on its box does.
    void Tick(int category, int effect) {
        QAbstractItemModel* nodes = Window().StyleList().model();
        const QModelIndex node = nodes->index(effect, 0, nodes->index(category, 0));
        nodes->setData(node, Qt::Checked, Qt::CheckStateRole);
    }

    void Choose(const char* radio) { Find<QAbstractButton>(radio)->click(); }

    // What ffprobe says about a file's streams and format.
    QJsonObject Probe(const QString& file) {
        // Frames counted by decoding: a program stream leaves the times of
        // some frames out, so the duration it gives depends on the content.
        const QByteArray json = Output("ffprobe", {"-v", "error", "-count_frames", "-print_format",
                                                   "json", "-show_streams", "-show_format", file});
        return QJsonDocument::fromJson(json).object();
    }
};

TEST_F(WalkthroughTest, FromAFolderAndAnMp3ToATenSecondDvdVideo) {
    const QString album = MakeFolder("Album");
    MakePicture("Album/beach.jpg", 800, 600, QColor(0x30, 0x90, 0xd0));
    // A PNG saved under a JPEG name, as some programs do: built like any other.
    ASSERT_TRUE(QFile::rename(MakePicture("Album/harbour.png", 640, 480, QColor(0xe0, 0x90, 0x30)),
                              Path("Album/harbour.jpg")));
    const QString song = MakeSong("song.mp3", 12);
    const QString video = Path("holiday");
    Window().show();

    // Images: a whole folder.
    dialogs_.folders = {album};
    Click("addimagefolder1");
    // The folder is one row of two pictures.
    EXPECT_EQ(Find<QLabel>("CountLabel")->text(), "2 of 2 pictures ticked");

    // Music: one file, measured as soon as the window is idle.
    Click("nextB");
    dialogs_.musicFiles = {{song}};
    Click("addmusic1");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return Window().Music().List().At(0).LengthMs != "0" &&
                   Window().Music().List().At(0).HasLength;
        },
        app_test::kPatience));
    const int measured = std::stoi(Window().Music().List().At(0).LengthMs);
    EXPECT_NEAR(measured, 12000, 100);

    // Effects: only two, at speed 4, two seconds a picture.
    Click("nextB");
    Click("disableall1");
    Tick(0, 0);
    Tick(1, 0);
    Find<QSpinBox>("SpeedEdit2")->setValue(4);
    Find<QSpinBox>("IntervalEdit")->setValue(2);

    // Options: DVD, PAL, and a caption for the first picture.
    Click("nextB");
    Choose("VideoGroup2");
    Choose("tvGroup0");
    Choose("syncGroup0");
    EXPECT_EQ(Window().ShowSeconds(), 10);
    dialogs_.onModal = [&](QDialog& dialog) {
        auto& form = static_cast<app::TImageForm&>(dialog);
        ASSERT_EQ(form.Grid().rowCount(), 2);
        form.Grid().item(0, app::TImageForm::kCaptionColumn)->setText("Sunny beach");
        form.findChild<QCheckBox*>("captionCheck")->setChecked(true);
        form.findChild<QAbstractButton*>("ok1")->click();
    };
    Click("FlatButton5");
    EXPECT_TRUE(Window().WorkingShow().settings.ShowCaption);

    // Build: the video goes where the save dialog says, from the desktop.
    dialogs_.videoNames = {video};
    Click("goBuildB");
    EXPECT_EQ(Window().CurrentStep(), TMainForm::kBuildStep);
    EXPECT_TRUE(dialogs_.errors.isEmpty()) << dialogs_.errors.join("\n").toStdString();
    EXPECT_EQ(Find<QProgressBar>("buildProgress")->value(),
              Find<QProgressBar>("buildProgress")->maximum());
    // The view follows the build at its own pace and ends on a video frame.
    EXPECT_EQ(Find<app::PictureView>("bImage")->Picture().size(), QSize(720, 576));
    ASSERT_TRUE(model::FileExists((video + ".mpg").toStdString()));

    const QJsonObject probe = Probe(video + ".mpg");
    EXPECT_TRUE(probe["format"].toObject()["format_name"].toString().contains("mpeg"));
    bool sawVideo = false, sawAudio = false;
    for (const QJsonValue& value : probe["streams"].toArray()) {
        const QJsonObject stream = value.toObject();
        if (stream["codec_type"] == "video") {
            sawVideo = true;
            EXPECT_EQ(stream["codec_name"], "mpeg2video");
            EXPECT_EQ(stream["width"].toInt(), 720);
            EXPECT_EQ(stream["height"].toInt(), 576);
            EXPECT_EQ(stream["r_frame_rate"], "25/1");
            EXPECT_EQ(stream["nb_read_frames"].toString().toInt(), 250);  // 10 s
        }
        if (stream["codec_type"] == "audio") {
            sawAudio = true;
            EXPECT_EQ(stream["sample_rate"], "48000");
        }
    }
    EXPECT_TRUE(sawVideo);
    EXPECT_TRUE(sawAudio);

    // What the window wrote for the next session.
    const std::string options = model::ReadWholeFile(model::OptionsFileName());
    EXPECT_NE(options.find("useeffects=5,118,"), std::string::npos);
    const model::Show next = model::LoadShow(model::IniFile(model::OptionsFileName()));
    EXPECT_EQ(next.CaptionOf(Path("Album/beach.jpg").toStdString()), "Sunny beach");
    EXPECT_TRUE(next.settings.ShowCaption);
}

TEST_F(WalkthroughTest, DuringABuildBuildOnlySwitchesStepsAndAbortStillOffersTheVideo) {
    QStringList pictures;
    for (int i = 0; i < 4; ++i)
        pictures << MakePicture(QString("p%1.jpg").arg(i), 320, 240,
                                QColor::fromHsv(i * 80, 200, 200));
    dialogs_.pictureFiles = {pictures};
    Click("addimagefile1");
    Find<QSpinBox>("IntervalEdit")->setValue(30);
    model::NoteRecentProject(MakeFile("other.dvprj", "[Set]\n").toStdString());
    Window().show();
    const auto commandEnabled = [this](const char* name) {
        return Window().findChild<QMenu*>(QLatin1String(name)) != nullptr
                   ? Window().findChild<QMenu*>(QLatin1String(name))->menuAction()->isEnabled()
                   : Window().findChild<QAction*>(QLatin1String(name))->isEnabled();
    };

    bool checked = false;
    QTimer::singleShot(0, &Window(), [&] {
        EXPECT_TRUE(Window().Building());
        Window().SelectStep(TMainForm::kImagesStep);
        Click("goBuildB");
        EXPECT_EQ(Window().CurrentStep(), TMainForm::kBuildStep);
        EXPECT_TRUE(Window().Building());
        EXPECT_FALSE(Find<QAbstractButton>("buildButton")->isEnabled());
        EXPECT_FALSE(Find<QAbstractButton>("previewB")->isEnabled());
        // Nothing that would change the show while it is being built, and
        // the title says how far it is.
        for (const char* page : {"ImageTab", "MusicTab", "EffectTab", "optionTab"})
            EXPECT_FALSE(Find<QWidget>(page)->isEnabled()) << page;
        EXPECT_TRUE(Window().windowTitle().startsWith("Building "))
            << Window().windowTitle().toStdString();
        for (const char* command : {"NewProject1", "LoadProject1", "RecentProjects1"})
            EXPECT_FALSE(commandEnabled(command)) << command;
        Click("abortButton");
        checked = true;
    });
    Click("goBuildB");
    EXPECT_TRUE(checked);
    // Two minutes of show, aborted at its first frames: the bar stays near
    // its start beside the word.
    EXPECT_EQ(Find<QLabel>("bLabel")->text(), "Aborted.");
    EXPECT_LT(Find<QProgressBar>("buildProgress")->value(),
              Find<QProgressBar>("buildProgress")->maximum() / 10);
    EXPECT_FALSE(Window().Building());
    EXPECT_TRUE(Find<QAbstractButton>("buildButton")->isEnabled());
    EXPECT_FALSE(Find<QAbstractButton>("abortButton")->isEnabled());
    EXPECT_TRUE(Find<QAbstractButton>("previewB")->isEnabled());
    for (const char* command : {"NewProject1", "LoadProject1", "RecentProjects1"})
        EXPECT_TRUE(commandEnabled(command)) << command;
    for (const char* page : {"ImageTab", "MusicTab", "EffectTab", "optionTab"})
        EXPECT_TRUE(Find<QWidget>(page)->isEnabled()) << page;
    EXPECT_FALSE(Window().windowTitle().contains("Building"));
    // The aborted video is still offered, starting in the desktop folder,
    // or the home folder where there is no desktop: a folder that exists.
    // No project is named yet, so the video's name is the generic one.
    ASSERT_EQ(dialogs_.initialFolders.size(), 2);
    EXPECT_EQ(dialogs_.initialFolders[1], app::DesktopFolder() + "/slideshow.mpg");
    EXPECT_TRUE(QFileInfo(app::DesktopFolder()).isDir());
}

// Every way out during a build asks first: No keeps building with the window
// open, Yes ends the build, leaves no part of the video in the data folder
// and closes without asking where to save.
TEST_F(WalkthroughTest, LeavingDuringABuildAsksAndYesLeavesNoTemporaryVideo) {
    dialogs_.pictureFiles = {{MakePicture("a.jpg"), MakePicture("b.jpg")}};
    Click("addimagefile1");
    Find<QSpinBox>("IntervalEdit")->setValue(60);
    const QDir data(QString::fromStdString(model::DataDir()));
    const std::vector<std::pair<const char*, std::function<void()>>> waysOut{
        {"Exit", [&] { Click("cancelB"); }},
        {"the window's close box", [&] { Window().close(); }},
        {"Undo and Exit", [&] { Window().findChild<QAction*>("UndoandExit1")->trigger(); }},
    };
    for (const auto& [name, leave] : waysOut) {
        SCOPED_TRACE(name);
        Window().show();
        dialogs_.questions.clear();
        dialogs_.answers = {false, true};
        bool keptBuilding = false;
        QTimer::singleShot(0, &Window(), [&] {
            leave();
            QTimer::singleShot(0, &Window(), [&] {
                keptBuilding = Window().Building() && Window().isVisible();
                leave();
            });
        });
        Click("buildButton");
        EXPECT_TRUE(keptBuilding);
        ASSERT_EQ(dialogs_.questions.size(), 2);
        EXPECT_TRUE(dialogs_.questions[1].contains("Stop the build and exit?"));
        EXPECT_FALSE(Window().isVisible());
        EXPECT_FALSE(Window().Building());
        EXPECT_EQ(data.entryList({"tmp*", "*.part"}, QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList());
    }
    EXPECT_EQ(dialogs_.programEnds, 1);
    EXPECT_EQ(dialogs_.initialFolders.size(), 1);  // only the picture dialog
    EXPECT_NE(model::ReadWholeFile(model::OptionsFileName()).find("[Pictures]"), std::string::npos);
}

// Giving up in the save dialog asks first. Kept, the video is saved later
// from the Build step, byte for byte; discarded, its file is gone.
TEST_F(WalkthroughTest, AVideoLeftUnsavedIsKeptUntilDiscarded) {
    dialogs_.pictureFiles = {{MakePicture("a.jpg")}};
    Click("addimagefile1");
    Find<QSpinBox>("IntervalEdit")->setValue(1);
    auto* saveVideo = Find<QAbstractButton>("saveVideoButton");
    const std::string temporary = video::BuildDriver::TemporaryVideoPath();

    Click("goBuildB");  // the save dialog cancelled, No to discarding
    ASSERT_EQ(dialogs_.questions.size(), 1);
    EXPECT_TRUE(dialogs_.questions[0].contains("Discard the video just built?"));
    ASSERT_FALSE(saveVideo->isHidden());
    ASSERT_TRUE(saveVideo->isEnabled());
    const std::string built = model::ReadWholeFile(temporary);
    ASSERT_FALSE(built.empty());
    // Closing the window asks too; No keeps the window and the video.
    Window().show();
    EXPECT_FALSE(Window().close());
    ASSERT_EQ(dialogs_.questions.size(), 2);
    EXPECT_TRUE(dialogs_.questions[1].contains("has not been saved. Exit and discard it?"));
    EXPECT_EQ(model::ReadWholeFile(temporary), built);

    dialogs_.videoNames = {Path("later")};
    saveVideo->click();
    EXPECT_EQ(model::ReadWholeFile((Path("later") + ".mpg").toStdString()), built);
    // Saved once, it is offered again without the question.
    saveVideo->click();
    EXPECT_EQ(dialogs_.questions.size(), 2);
    EXPECT_FALSE(saveVideo->isHidden());

    dialogs_.answers = {true};
    Click("buildButton");
    EXPECT_EQ(dialogs_.questions.size(), 3);
    EXPECT_FALSE(model::FileExists(temporary));
    EXPECT_TRUE(saveVideo->isHidden());

    // A video saved is not asked about on closing, and its temporary copy
    // goes with the program.
    Click("buildButton");
    dialogs_.videoNames = {Path("last")};
    saveVideo->click();
    ASSERT_TRUE(model::FileExists(temporary));
    EXPECT_TRUE(Window().close());
    EXPECT_EQ(dialogs_.questions.size(), 4);
    window_.reset();
    EXPECT_FALSE(model::FileExists(temporary));
}

// No to the disc-size question leaves the step as it was: no error, and the
// video kept from the build before still offered, its file untouched.
TEST_F(WalkthroughTest, NoToTheDiscSizeQuestionLeavesTheStepAsItWas) {
    dialogs_.pictureFiles = {{MakePicture("a.jpg"), MakePicture("b.jpg")}};
    Click("addimagefile1");
    Find<QSpinBox>("IntervalEdit")->setValue(1);
    dialogs_.answers = {false};  // the save dialog given up on, the video kept
    Click("goBuildB");
    const std::string kept = model::ReadWholeFile(video::BuildDriver::TemporaryVideoPath());
    ASSERT_FALSE(kept.empty());
    const QString label = Find<QLabel>("bLabel")->text();

    // Two pictures of almost three hours each: more than any CD holds.
    Find<QSpinBox>("IntervalEdit")->setValue(10000);
    Choose("VideoGroup0");
    dialogs_.answers = {false};
    Click("buildButton");
    ASSERT_EQ(dialogs_.questions.size(), 2);
    EXPECT_TRUE(dialogs_.questions[1].contains("Build it anyway?"))
        << dialogs_.questions[1].toStdString();
    EXPECT_TRUE(dialogs_.errors.isEmpty()) << dialogs_.errors.join("\n").toStdString();
    EXPECT_EQ(Find<QLabel>("bLabel")->text(), label);
    EXPECT_FALSE(Find<QAbstractButton>("saveVideoButton")->isHidden());
    EXPECT_EQ(model::ReadWholeFile(video::BuildDriver::TemporaryVideoPath()), kept);
}

TEST_F(WalkthroughTest, AVideoThatCannotBeSavedWhereChosenIsOfferedAgain) {
    dialogs_.pictureFiles = {{MakePicture("a.jpg")}};
    Click("addimagefile1");
    Find<QSpinBox>("IntervalEdit")->setValue(1);
    dialogs_.videoNames = {Path("no such folder/show"), Path("show")};
    Click("goBuildB");
    ASSERT_EQ(dialogs_.errors.size(), 1);
    EXPECT_TRUE(dialogs_.errors[0].contains("no such folder/show.mpg"));
    // The picture dialog, then the save dialog twice.
    EXPECT_EQ(dialogs_.initialFolders.size(), 3);
    EXPECT_TRUE(model::FileExists((Path("show") + ".mpg").toStdString()));
}

TEST_F(WalkthroughTest, AVideoNameWithoutExtensionDoesNotReplaceAnotherVideoUnasked) {
    const QString earlier = MakeFile("show.mpg", "an earlier video");
    dialogs_.pictureFiles = {{MakePicture("a.jpg")}};
    Click("addimagefile1");
    Find<QSpinBox>("IntervalEdit")->setValue(1);
    // "show" is written as show.mpg: refused once, the name is asked again,
    // then accepted.
    dialogs_.videoNames = {Path("show"), Path("show")};
    dialogs_.answers = {false, true};
    Click("goBuildB");
    ASSERT_EQ(dialogs_.questions.size(), 2);
    EXPECT_TRUE(dialogs_.questions[0].contains(earlier));
    EXPECT_EQ(dialogs_.initialFolders.size(), 3);
    EXPECT_NE(model::ReadWholeFile(earlier.toStdString()), "an earlier video");
}

// The result names what the video goes without, as the command does: a
// damaged picture, music that does not decode and music that is gone.
TEST_F(WalkthroughTest, TheResultNamesADamagedPictureAndMusicThatCannotBePlayedOrIsGone) {
    const QString good = MakePicture("good.jpg", 320, 240);
    QFile::copy(good, Path("cut.jpg"));
    QFile(Path("cut.jpg")).resize(QFileInfo(good).size() / 2);
    const QString wav = Path("voice.mp3");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-loglevel", "error", "-y", "-f", "lavfi", "-i", "sine=duration=1",
                            "-f", "wav", wav});
    ASSERT_TRUE(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0);
    const QString gone = MakeSong("gone.mp3", 1);
    dialogs_.pictureFiles = {{good, Path("cut.jpg")}};
    Click("addimagefile1");
    Click("nextB");
    dialogs_.musicFiles = {{wav, gone}};
    Click("addmusic1");
    for (size_t row : {0u, 1u})
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return Window().Music().List().At(row).HasLength &&
                       Window().Music().List().At(row).LengthMs != "0";
            },
            app_test::kPatience));
    ASSERT_TRUE(QFile::remove(gone));  // deleted after it was added and measured
    Find<QSpinBox>("IntervalEdit")->setValue(1);
    Click("goBuildB");
    ASSERT_EQ(dialogs_.errors.size(), 1);
    const QString& report = dialogs_.errors[0];
    EXPECT_TRUE(report.contains("\"" + Path("cut.jpg") + "\": the picture is damaged"))
        << report.toStdString();
    EXPECT_TRUE(report.contains("\"" + wav + "\": it could not be read as MP3 music"))
        << report.toStdString();
    EXPECT_TRUE(report.contains("\"" + gone + "\": the file is missing")) << report.toStdString();
}

// The save dialog's disc types: a kind the format cannot have is reported and
// the name asked again; a DVD image is then authored from the same build, kept
// for Save Video... when the dialog was given up on.
TEST_F(WalkthroughTest, ADvdBuildIsSavedAsADiscImage) {
    dialogs_.pictureFiles = {{MakePicture("a.jpg"), MakePicture("b.jpg")}};
    Click("addimagefile1");
    Find<QSpinBox>("IntervalEdit")->setValue(1);
    Choose("VideoGroup2");
    // The dialog given up on first: the image is written from Save Video....
    dialogs_.videoNames = {Path("show.cue"), QString()};
    Click("goBuildB");
    ASSERT_EQ(dialogs_.errors.size(), 1);
    EXPECT_TRUE(dialogs_.errors[0].contains("VCD or SVCD")) << dialogs_.errors[0].toStdString();
    dialogs_.videoNames = {Path("show.iso")};
    Click("saveVideoButton");
    const QByteArray files = Output("xorriso", {"-indev", Path("show.iso"), "-find", "/"});
    EXPECT_TRUE(files.contains("/VIDEO_TS/VTS_01_1.VOB")) << files.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Path("show.cue")));
    EXPECT_TRUE(Find<QAbstractButton>("buildButton")->isEnabled());
}

TEST_F(WalkthroughTest, AnEmptyShowIsReportedAndNothingIsOffered) {
    Click("goBuildB");
    ASSERT_EQ(dialogs_.errors.size(), 1);
    EXPECT_EQ(dialogs_.errors[0], "No pictures to build.");
    EXPECT_TRUE(dialogs_.initialFolders.isEmpty());
    EXPECT_TRUE(Find<QAbstractButton>("buildButton")->isEnabled());
}

}  // namespace
}  // namespace app_test
