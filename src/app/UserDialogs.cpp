#include "app/UserDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "app/DiscSave.h"
#include "app/FolderBrowser.h"
#include "app/PictureFileDialog.h"
#include "model/Settings.h"
#include "sound/MusicFormats.h"

namespace app {

namespace {

UserDialogs* replacement = nullptr;

// Names keep the letter case they were saved with (HOLIDAY.DVPRJ stays so),
// and the desktop's own dialogs match patterns case-sensitively.
QString ProjectFilter() {
    return QObject::tr("Projects (*.dvprj *.DVPRJ)");
}

// A folder that is gone would leave the dialog in the working directory.
QString ExistingFolder(const QString& folder) {
    return QFileInfo(folder).isDir() ? folder : QString();
}

QStringList RunPictureDialog(QWidget* parent, const QString& initialFolder, bool several) {
    PictureFileDialog dialog(parent, initialFolder, several);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

QMessageBox::StandardButton AskTopmost(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QObject::tr("Confirm"), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

QStringList UserDialogs::OpenPictureFiles(QWidget* parent, const QString& initialFolder) {
    return RunPictureDialog(parent, initialFolder, true);
}

QString UserDialogs::OpenPictureFile(QWidget* parent, const QString& initialFolder) {
    const QStringList files = RunPictureDialog(parent, initialFolder, false);
    return files.isEmpty() ? QString() : files.first();
}

QStringList UserDialogs::OpenMusicFiles(QWidget* parent, const QString& initialFolder) {
    QFileDialog dialog(parent, QObject::tr("Add Music Files"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    // Both cases of each pattern: the dialog matches names case-sensitively.
    const QString patterns = QString::fromStdString(sound::MusicFilePatterns());
    dialog.setNameFilter(QObject::tr("Music files (%1 %2)").arg(patterns, patterns.toUpper()));
    if (QFileInfo(initialFolder).isDir()) dialog.setDirectory(initialFolder);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

bool UserDialogs::SelectFolder(QWidget* parent, const QString& title, const QString& root,
                               QString& folder) {
    return app::SelectFolder(parent, title, root, folder);
}

QString UserDialogs::SaveVideoName(QWidget* parent, const QString& suggestedName, int videoType) {
    // The disc kinds of the format are offered as further file types.
    const QStringList filters = VideoSaveFilters(videoType);
    QString filter = filters.front();
    const QString name =
        QFileDialog::getSaveFileName(parent, QObject::tr("Save Video..."), suggestedName,
                                     filters.join(QStringLiteral(";;")), &filter);
    return name.isEmpty() ? name : NameForSaveFilter(name, filter);
}

QString UserDialogs::OpenProjectName(QWidget* parent, const QString& initialFolder) {
    return QFileDialog::getOpenFileName(parent, QObject::tr("Load Project"),
                                        ExistingFolder(initialFolder), ProjectFilter());
}

QString UserDialogs::SaveProjectName(QWidget* parent, const QString& suggestedName) {
    return QFileDialog::getSaveFileName(parent, QObject::tr("Save Project as..."), suggestedName,
                                        ProjectFilter());
}

UserDialogs::SaveChoice UserDialogs::AskSaveChanges(QWidget* parent, const QString& name) {
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(),
                    QObject::tr("Save changes to %1?").arg(name),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setInformativeText(QObject::tr("Your changes will be lost if you don't save them."));
    // Reachable from the keyboard: Alt+S, Alt+D, and Escape for Cancel.
    box.button(QMessageBox::Save)->setText(QObject::tr("&Save"));
    box.button(QMessageBox::Discard)->setText(QObject::tr("&Discard"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Save:
            return SaveChoice::Save;
        case QMessageBox::Discard:
            return SaveChoice::Discard;
        default:
            return SaveChoice::Cancel;
    }
}

bool UserDialogs::Confirm(QWidget* parent, const QString& text) {
    return AskTopmost(parent, text) == QMessageBox::Yes;
}

void UserDialogs::Inform(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QApplication::applicationName(), text);
}

void UserDialogs::ShowError(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QApplication::applicationName(), text);
}

bool UserDialogs::OpenWithDesktop(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void UserDialogs::OpenUrl(const QUrl& url) {
    if (OpenWithDesktop(url)) return;
    const QString what = url.isLocalFile() ? url.toLocalFile() : url.toString();
    ShowError(QApplication::activeWindow(),
              QObject::tr("No application could be started to open \"%1\".").arg(what));
}

int UserDialogs::RunModal(QDialog& dialog) {
    return dialog.exec();
}

void UserDialogs::EndProgram() {
    QApplication::exit(0);
}

UserDialogs& Dialogs() {
    static UserDialogs standard;
    return replacement != nullptr ? *replacement : standard;
}

void SetUserDialogs(UserDialogs* dialogs) {
    replacement = dialogs;
}

bool MayReplace(QWidget* parent, const QString& typedName, const std::string& writtenName) {
    const QString written = QString::fromStdString(writtenName);
    if (written == typedName || !QFileInfo::exists(written)) return true;
    return Dialogs().Confirm(parent,
                             QObject::tr("\"%1\" already exists.\n\nReplace it?").arg(written));
}

}  // namespace app
