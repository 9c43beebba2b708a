// Walks through the window the way a person would and saves a picture of
// each step, the Options step on a large screen, the per-image dialog, the
// storyboard and the list, the About box, the help window, the preview
// player and a running build. Run it
// under a real X server (scripts/screenshots.sh starts one with Xvfb):
//   app_screenshots OUTPUT_FOLDER
// With VANTO_TOUR_SIZES set it also photographs every step at 681x386 and
// 1024x768, to check the layout at small sizes (not for the README).
// It makes its own pictures and music with ffmpeg in a temporary program
// folder, so it never touches the real options file.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <cstdio>

#include "app/HelpWindow.h"
#include "app/ImageForm.h"
#include "app/MainForm.h"
#include "app/MediaListModels.h"
#include "app/PlayerWindow.h"
#include "app/UserDialogs.h"
#include "model/Settings.h"

namespace {

QString output;

bool Save(QWidget& widget, const QString& name) {
    const QString path = output + QLatin1Char('/') + name + QStringLiteral(".png");
    const bool saved = widget.grab().save(path);
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

bool Run(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("ffmpeg"), QStringList{"-loglevel", "error", "-y"} + arguments);
    return process.waitForFinished(120000) && process.exitCode() == 0;
}

bool MakePicture(const QString& source, const QString& path) {
    return Run({"-f", "lavfi", "-i", source, "-frames:v", "1", "-q:v", "3", path});
}

bool MakeSong(double frequency, int seconds, const QString& path) {
    const QString melody = QStringLiteral(
                               "aevalsrc=0.3*sin(2*PI*%1*t)*(0.6+0.4*sin(2*PI*2*t))|"
                               "0.3*sin(2*PI*%2*t)*(0.6+0.4*sin(2*PI*3*t)):s=44100:d=%3")
                               .arg(frequency)
                               .arg(frequency * 1.5)
                               .arg(seconds);
    return Run({"-f", "lavfi", "-i", melody, "-c:a", "libmp3lame", "-b:a", "128k", path});
}

// Answers the window's questions without a person: dialogs it shows are
// photographed, then closed.
class TourDialogs : public app::UserDialogs {
public:
    std::function<void(QDialog&)> onModal;
    QString SaveVideoName(QWidget*, const QString&, int) override { return {}; }
    bool Confirm(QWidget*, const QString&) override { return false; }
    void Inform(QWidget*, const QString&) override {}
    void ShowError(QWidget*, const QString& text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    void OpenUrl(const QUrl&) override {}
    int RunModal(QDialog& dialog) override {
        dialog.show();
        if (onModal) onModal(dialog);
        dialog.reject();
        return dialog.result();
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    output = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(output);

    // A program folder of its own, with the real catalogue and sample pictures.
    QTemporaryDir folder;
    const QString dir = folder.path() + QLatin1Char('/');
    const QString programDir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    QFile::copy(programDir + "VantoSaver.001", dir + "VantoSaver.001");
    QDir().mkpath(dir + "sample");
    for (const char* name : {"t1.jpg", "t2.jpg"})
        QFile::copy(programDir + "sample/" + name, dir + "sample/" + name);
    QDir().mkpath(dir + "help/screenshots");
    for (const QString& name : QDir(programDir + "help/screenshots").entryList(QDir::Files))
        QFile::copy(programDir + "help/screenshots/" + name, dir + "help/screenshots/" + name);
    QFile::copy(programDir + "help/manual.md", dir + "help/manual.md");
    model::SetUserDataDir(dir.toStdString() + "user/");
    model::SetProgramDir(dir.toStdString());

    const QString pictures = dir + "Pictures/";
    QDir().mkpath(pictures + "Summer 2024");
    const QStringList sources = {
        "mandelbrot=s=1024x768:start_scale=1.2",
        "gradients=s=1024x768:c0=0x1d4e89:c1=0xf79256:c2=0xfbd1a2:seed=7",
        "gradients=s=1024x768:c0=0x6a4c93:c1=0x1982c4:c2=0x8ac926:c3=0xffca3a:type=spiral:seed=5",
        "life=s=1024x768:mold=10:r=40:ratio=0.2:life_color=#b0e0ff:death_color=#203040",
        "gradients=s=1024x768:c0=0x0a9396:c1=0xe9d8a6:c2=0xee9b00:type=radial:seed=3",
        "mandelbrot=s=1024x768:start_scale=0.3:start_x=-0.745:start_y=0.11",
    };
    QStringList files;
    for (int i = 0; i < sources.size(); ++i) {
        const QString path = (i < 3 ? pictures : pictures + "Summer 2024/") +
                             QStringLiteral("photo%1.jpg").arg(i + 1, 2, 10, QLatin1Char('0'));
        if (!MakePicture(sources[i], path)) {
            std::fprintf(stderr, "ffmpeg could not make %s\n", qPrintable(path));
            return 1;
        }
        files << path;
    }
    const QString music = dir + "Music/";
    QDir().mkpath(music);
    if (!MakeSong(330, 14, music + "Morning.mp3") || !MakeSong(392, 9, music + "Evening.mp3")) {
        std::fprintf(stderr, "ffmpeg could not make the music\n");
        return 1;
    }

    // A background picture, so its preview on the Options step shows one.
    const QString backdrop = pictures + "backdrop.jpg";
    if (!MakePicture("gradients=s=720x576:c0=0x12355b:c1=0x7fb7be:c2=0xf4d35e:type=radial:seed=2",
                     backdrop)) {
        std::fprintf(stderr, "ffmpeg could not make %s\n", qPrintable(backdrop));
        return 1;
    }

    // The lists as a saved project holds them.
    QString options =
        QStringLiteral("[Set]\nImageInterval=2\nBack_Mode_UseColor=0\nBack_Image_UseTiled=0\n") +
        "Back_Image_Filename=" + backdrop + "\n[Pictures]\n";
    for (int i = 0; i < 3; ++i) options += files[i] + "=1\n";
    options += pictures + "Summer 2024/=1\n" + dir + "Pictures/old-scan.jpg=0\n[Music]\n";
    for (const char* song : {"Morning.mp3", "Evening.mp3"}) options += music + song + "=1\n";
    QFile optionsFile(dir + "options.dat");
    if (!optionsFile.open(QIODevice::WriteOnly) || optionsFile.write(options.toUtf8()) < 0)
        return 1;
    optionsFile.close();

    TourDialogs dialogs;
    app::SetUserDialogs(&dialogs);
    model::OpenOptionsStore();
    app::TMainForm window;
    window.resize(900, 580);
    window.show();

    const char* names[] = {"step1-images", "step2-music", "step3-effects", "step4-options",
                           "step5-build"};
    for (int step = app::TMainForm::kImagesStep; step < app::TMainForm::kStepCount; ++step) {
        window.SelectStep(step);
        if (step == app::TMainForm::kImagesStep) {
            auto* board = window.findChild<QAbstractItemView*>(QStringLiteral("Storyboard"));
            if (board) board->setCurrentIndex(board->model()->index(1, 0));
        }
        if (step == app::TMainForm::kEffectsStep) {
            QTreeView& tree = window.StyleList();
            tree.setCurrentIndex(tree.model()->index(2, 0, tree.model()->index(1, 0)));
        }
        // The storyboard's thumbnails and the effect preview take a moment.
        QTest::qWait(step == app::TMainForm::kImagesStep || step == app::TMainForm::kEffectsStep
                         ? 1900
                         : 700);
        Save(window, QString::fromLatin1(names[step]));
    }

    // The same step on a large screen: the controls keep their widths and
    // the background preview takes the room.
    window.SelectStep(app::TMainForm::kOptionsStep);
    window.resize(1600, 1000);
    QTest::qWait(700);
    Save(window, "step4-options-1600x1000");
    if (qEnvironmentVariableIsSet("VANTO_TOUR_SIZES")) {
        for (const QSize size : {QSize(681, 386), QSize(1024, 768)}) {
            for (int step = 0; step < 5; ++step) {
                window.SelectStep(step);
                window.resize(size);
                QTest::qWait(400);
                Save(window, QStringLiteral("size-%1-%2").arg(size.width()).arg(step));
            }
        }
    }
    window.resize(900, 580);
    QTest::qWait(300);

    window.SelectStep(app::TMainForm::kOptionsStep);
    dialogs.onModal = [&](QDialog& dialog) {
        auto& form = static_cast<app::TImageForm&>(dialog);
        form.resize(1040, 520);
        QTest::qWait(300);
        form.Grid().item(0, app::TImageForm::kCaptionColumn)->setText("Sunrise over the bay");
        form.Grid().item(1, app::TImageForm::kIntervalColumn)->setText("4");
        form.Grid().setCurrentCell(1, app::TImageForm::kCaptionColumn);
        QTreeView& tree = form.PictureTreeView();
        tree.expandAll();
        const QModelIndex effect = tree.model()->index(3, 0, tree.model()->index(0, 0));
        tree.setCurrentIndex(effect);
        emit tree.clicked(effect);
        QTest::qWait(900);
        Save(form, "image-dialog");
    };
    window.findChild<QAbstractButton*>(QStringLiteral("FlatButton5"))->click();

    // The storyboard again, now that pictures have a caption and an interval
    // of their own, with larger tiles, and the list one key away.
    window.SelectStep(app::TMainForm::kImagesStep);
    if (auto* size = window.findChild<QSlider*>(QStringLiteral("TileSizeSlider")))
        size->setValue(160);
    QTest::qWait(1500);
    Save(window, "storyboard");
    QTest::keyClick(&window, Qt::Key_1, Qt::ControlModifier);
    QTest::qWait(500);
    Save(window, "step1-list");
    QTest::keyClick(&window, Qt::Key_2, Qt::ControlModifier);

    dialogs.onModal = [&](QDialog& dialog) {
        QTest::qWait(300);
        Save(dialog, "about");
    };
    window.findChild<QAction*>(QStringLiteral("About1"))->trigger();

    // The help window, as F1 opens it.
    window.findChild<QAction*>(QStringLiteral("Help2"))->trigger();
    if (app::HelpWindow* help = window.Help()) {
        help->resize(820, 620);
        QTest::qWait(300);
        Save(*help, "help");
        help->close();
    }

    // The preview window paused in its first transition between two
    // pictures, half a second in.
    dialogs.onModal = [&](QDialog& dialog) {
        auto& player = static_cast<app::PlayerWindow&>(dialog);
        player.Pause();
        QTest::keyClick(&player, Qt::Key_PageDown);
        player.Seek(player.Timeline().frame() + 12);
        if (!QTest::qWaitFor([&] { return player.PaintedFrame() == player.Timeline().frame(); },
                             20000))
            std::fprintf(stderr, "the preview showed no transition\n");
        Save(dialog, "preview");
    };
    window.findChild<QAction*>(QStringLiteral("Preview1"))->trigger();

    // A build of the whole show, photographed while it runs.
    window.SelectStep(app::TMainForm::kEffectsStep);
    window.findChild<QSpinBox*>(QStringLiteral("IntervalEdit"))->setValue(8);
    window.SelectStep(app::TMainForm::kBuildStep);
    bool shot = false;
    QTimer::singleShot(1500, &window, [&] {
        Save(window, "build-running");
        shot = true;
        window.findChild<QAbstractButton*>(QStringLiteral("abortButton"))->click();
    });
    window.findChild<QAbstractButton*>(QStringLiteral("buildButton"))->click();
    if (!shot) std::fprintf(stderr, "the build ended before it could be photographed\n");
    app::SetUserDialogs(nullptr);
    model::SetProgramDir("");
    model::SetUserDataDir("");
    return shot ? 0 : 1;
}
