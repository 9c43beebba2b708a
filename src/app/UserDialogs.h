// Everything the windows ask of the user or hand to the desktop: file and
// folder choices, Yes/No questions, notices, and opening files and addresses
// with their default application.
//
// The windows go through one replaceable object, so tests can answer the
// questions in code and see what would have been opened.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <string>

class QDialog;
class QWidget;

namespace app {

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // Several picture files, with a preview of the highlighted one; empty
    // when cancelled. initialFolder is used when it exists.
    virtual QStringList OpenPictureFiles(QWidget* parent, const QString& initialFolder);
    // One picture file (the background picture); empty when cancelled.
    virtual QString OpenPictureFile(QWidget* parent, const QString& initialFolder);
    // Several MP3 files; empty when cancelled.
    virtual QStringList OpenMusicFiles(QWidget* parent, const QString& initialFolder);
    // The folder browser: see SelectFolder in FolderBrowser.h.
    virtual bool SelectFolder(QWidget* parent, const QString& title, const QString& root,
                              QString& folder);
    // Where to save the built video; empty when cancelled. suggestedName is
    // a full path: the dialog opens in its folder with its file name filled in.
    virtual QString SaveVideoName(QWidget* parent, const QString& suggestedName, int videoType);
    // A project file to load; empty when cancelled. initialFolder is used
    // when it exists.
    virtual QString OpenProjectName(QWidget* parent, const QString& initialFolder);
    // A name to save the project as; empty when cancelled. suggestedName is a
    // full path: the dialog opens in its folder with its file name filled in.
    virtual QString SaveProjectName(QWidget* parent, const QString& suggestedName);

    // What becomes of changes not saved into the project 'name' before they
    // would be thrown away: "Save changes to holiday.dvprj?".
    enum class SaveChoice { Save, Discard, Cancel };
    virtual SaveChoice AskSaveChanges(QWidget* parent, const QString& name);

    // A Yes/No question captioned "Confirm", kept above other windows.
    virtual bool Confirm(QWidget* parent, const QString& text);
    virtual void Inform(QWidget* parent, const QString& text);
    virtual void ShowError(QWidget* parent, const QString& text);

    // Opens a file, folder or address with the desktop's default action;
    // says so when the desktop has nothing to open it with.
    virtual void OpenUrl(const QUrl& url);

    // Shows a dialog modally and returns its result code.
    virtual int RunModal(QDialog& dialog);

    // Leaves every running event loop, so the program ends.
    virtual void EndProgram();

protected:
    // The desktop's own open action; false when nothing could be started.
    virtual bool OpenWithDesktop(const QUrl& url);
};

// Whether the file a save will write may be replaced. The save dialogs ask
// only about the name as typed; when an extension is appended to it the file
// written is another one, which may exist already.
bool MayReplace(QWidget* parent, const QString& typedName, const std::string& writtenName);

// The object the windows use; a default one until SetUserDialogs is called.
UserDialogs& Dialogs();
// Replaces it (null restores the default). The caller keeps ownership.
void SetUserDialogs(UserDialogs* dialogs);

}  // namespace app
