// Shared pieces of the window tests: a fresh program folder per test, a
// dialog object that answers in code, and small picture and MP3 fixtures.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/UserDialogs.h"
#include "model/ModelTestUtil.h"

// Readable values in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace app_test {

// How long a window test waits for work on other threads (a check, a length,
// a frame) before it fails: only a bound for a broken run, never a
// measurement, so it allows for a machine busy with other builds.
inline constexpr int kPatience = 30000;  // ms

// Answers the windows' questions from queues; an empty queue answers as a
// cancelled dialog (or "No"). Everything asked is recorded.
class ScriptedDialogs : public app::UserDialogs {
public:
    std::deque<QStringList> pictureFiles;
    std::deque<QString> pictureFile;
    std::deque<QStringList> musicFiles;
    std::deque<QString> folders;
    std::deque<QString> videoNames;
    std::deque<QString> projectNames;
    std::deque<bool> answers;
    // Runs a modal dialog; by default shows it, runs onModal and closes it.
    std::function<void(QDialog&)> onModal;

    QStringList questions;
    QStringList notices;
    QStringList errors;
    std::vector<QUrl> opened;
    QStringList initialFolders;
    QStringList folderTitles;

    QStringList OpenPictureFiles(QWidget*, const QString& initialFolder) override {
        return Asked(initialFolder, pictureFiles);
    }
    QString OpenPictureFile(QWidget*, const QString& initialFolder) override {
        return Asked(initialFolder, pictureFile);
    }
    QStringList OpenMusicFiles(QWidget*, const QString& initialFolder) override {
        return Asked(initialFolder, musicFiles);
    }
    bool SelectFolder(QWidget*, const QString& title, const QString& root,
                      QString& folder) override;
    QString SaveVideoName(QWidget*, const QString& suggestedName, int) override {
        return Asked(suggestedName, videoNames);
    }
    QString OpenProjectName(QWidget*, const QString& initialFolder) override {
        return Asked(initialFolder, projectNames);
    }
    QString SaveProjectName(QWidget*, const QString& suggestedName) override {
        return Asked(suggestedName, projectNames);
    }
    // Unsaved changes: an empty queue answers Cancel, as Escape does.
    std::deque<SaveChoice> saveChoices;
    SaveChoice AskSaveChanges(QWidget*, const QString& name) override {
        questions << QStringLiteral("Save changes to %1?").arg(name);
        return saveChoices.empty() ? SaveChoice::Cancel : Take(saveChoices);
    }
    bool Confirm(QWidget*, const QString& text) override {
        questions << text;
        return Take(answers);
    }
    void Inform(QWidget*, const QString& text) override { notices << text; }
    void ShowError(QWidget*, const QString& text) override { errors << text; }
    void OpenUrl(const QUrl& url) override { opened.push_back(url); }
    int RunModal(QDialog& dialog) override;
    void EndProgram() override { ++programEnds; }
    int programEnds = 0;

private:
    template <class T>
    static T Take(std::deque<T>& queue) {
        if (queue.empty()) return T();
        T value = queue.front();
        queue.pop_front();
        return value;
    }
    // A file dialog: the folder it opened at is recorded.
    template <class T>
    T Asked(const QString& initialFolder, std::deque<T>& queue) {
        initialFolders << initialFolder;
        return Take(queue);
    }
};

// A test with its own program folder (catalogue, sample folder, options
// file) and scripted dialogs; the window's show starts from that empty folder.
class WindowTest : public model_test::ProgramFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string Dir() const { return dir_; }
    // A path inside the program folder.
    QString Path(const QString& name) const;
    // Writes a small picture (JPEG, PNG... by extension) and returns its path.
    QString MakePicture(const QString& name, int width = 64, int height = 48,
                        QColor color = Qt::darkCyan) const;
    QString MakeFolder(const QString& name) const;
    // Writes a file with the given bytes.
    QString MakeFile(const QString& name, const QByteArray& bytes) const;
    // A tone (or another FFmpeg source) of the given length as an MP3 file.
    QString MakeSong(const QString& name, int seconds,
                     const QString& source = "sine=frequency=523:sample_rate=44100") const;
    // Creates the window (after the test has prepared the store).
    app::TMainForm& Window();
    // The program ends as main() ends it and starts again from its files.
    void Restart();

    template <class Widget>
    Widget* Find(const char* name) {
        Widget* widget = Window().findChild<Widget*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Click(const char* name);

    ScriptedDialogs dialogs_;
    std::unique_ptr<app::TMainForm> window_;
};

// A small effect catalogue: two categories of three and two effects.
extern const char* const kTestCatalogue;

}  // namespace app_test
