#include "AppTestUtil.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>

#include "model/Settings.h"
#include "model/Show.h"

namespace app_test {

const char* const kTestCatalogue =
    "[Wipes]\n"
    "Wipe left=5\n"
    "Wipe right=6\n"
    "Wipe up=22\n"
    "[Fades]\n"
    "Fade=118\n"
    "Dissolve=160\n";

bool ScriptedDialogs::SelectFolder(QWidget*, const QString& title, const QString&,
                                   QString& folder) {
    folderTitles << title;
    const QString chosen = Take(folders);
    if (chosen.isEmpty()) return false;
    folder = chosen;
    return true;
}

int ScriptedDialogs::RunModal(QDialog& dialog) {
    dialog.show();
    if (onModal) onModal(dialog);
    if (dialog.isVisible()) dialog.reject();
    return dialog.result();
}

void WindowTest::SetUp() {
    ProgramFolderTest::SetUp();
    if (HasFatalFailure()) return;
    MakeFile(QStringLiteral("VantoSaver.001"), kTestCatalogue);
    QDir(folder_.path()).mkdir(QStringLiteral("sample"));
    app::SetUserDialogs(&dialogs_);
}

void WindowTest::TearDown() {
    window_.reset();
    app::SetUserDialogs(nullptr);
    ProgramFolderTest::TearDown();
}

QString WindowTest::Path(const QString& name) const {
    return QString::fromStdString(dir_) + name;
}

QString WindowTest::MakePicture(const QString& name, int width, int height, QColor color) const {
    const QString path = Path(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString format = QFileInfo(path).suffix().toLower();
    if (format == "gif") {
        // Qt reads GIF but cannot write it: a 1 x 1 picture made by hand.
        static const char kGif[] =
            "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x80\x80\xff\xff\xff!\xf9\x04\x00\x00"
            "\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;";
        return MakeFile(name, QByteArray(kGif, sizeof(kGif) - 1));
    }
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    EXPECT_TRUE(image.save(path, format.toLatin1().constData())) << path.toStdString();
    return path;
}

QString WindowTest::MakeFolder(const QString& name) const {
    const QString path = Path(name);
    QDir().mkpath(path);
    return path;
}

QString WindowTest::MakeFile(const QString& name, const QByteArray& bytes) const {
    const QString path = Path(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    return path;
}

QString WindowTest::MakeSong(const QString& name, int seconds, const QString& source) const {
    const QString path = Path(name);
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-loglevel", "error", "-y", "-f", "lavfi", "-i", source, "-t",
                            QString::number(seconds), "-c:a", "libmp3lame", "-b:a", "128k", path});
    EXPECT_TRUE(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0)
        << ffmpeg.readAllStandardError().toStdString();
    return path;
}

app::TMainForm& WindowTest::Window() {
    if (!window_) window_ = std::make_unique<app::TMainForm>();
    return *window_;
}

void WindowTest::Restart() {
    // However the window was left, its show is the working state kept.
    EXPECT_TRUE(model::SaveWorkingShow(Window().WorkingShow()));
    window_.reset();
    model::CloseOptionsStore();
    model::OpenOptionsStore();
    Window();
}

void WindowTest::Click(const char* name) {
    auto* button = Find<QAbstractButton>(name);
    ASSERT_NE(button, nullptr);
    button->click();
}

}  // namespace app_test
