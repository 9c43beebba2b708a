// The Build step: runs the build with its progress, lets Abort end it, and
// offers to save the video, as an MPEG file or authored to a disc. The last
// video built stays offered (Save Video...) until the next build, or until
// the user discards it: a built video is never thrown away unasked.
#pragma once

#include <QWidget>

#include <memory>

#include "base/Latest.h"
#include "model/Show.h"
#include "raster/Bitmap.h"
#include "showbuild/BuildSession.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace video {
class BuildDriver;
struct BuildResult;
}  // namespace video

namespace app {

class PictureView;
class SubtitleChoice;

class BuildPage : public QWidget {
    Q_OBJECT

public:
    // The page reads and changes the window's working show.
    explicit BuildPage(model::Show& show, QWidget* parent = nullptr);
    ~BuildPage() override;

    // Whether a build is running.
    bool Building() const { return building_; }
    // What the Build button does, when it is usable.
    void StartBuild();
    // What the Abort button does, when it is usable.
    void Abort();
    // Whether the program may end now: true when nothing runs and no video
    // waits unsaved, else the user's answer to stopping the build (or the
    // disc being written) or to discarding the video.
    bool MayStop();
    // The window was closed during a build: end it, and close the window
    // once it has returned, leaving no temporary video behind.
    void CloseWhenDone();
    // The program ends without saving: a build that returns only removes its
    // temporary video.
    void Leave();

    // The project the video is named after; "" for none.
    void SetProjectFile(const QString& file) { projectFile_ = file; }
    // Says when the background music is switched off.
    void ShowMusicOffNote(bool off);
    // Shows the choices of the record that the step offers, as far as they
    // apply to its format and captions.
    void RefreshFromSettings(const model::TslSettings& s);

signals:
    // The build is about to read the settings record: the window copies its
    // controls into it and writes it.
    void SettingsWanted();
    // A build or a disc authoring started or ended.
    void BuildingChanged(bool building);
    // How far the build or the authoring is, in percent, as the step shows it.
    void ProgressShown(int percent);
    // A line for the window's status bar.
    void StatusMessage(const QString& text);
    // The user changed an option of the project.
    void Changed();

private:
    model::Show& show_;
    QWidget* CreatePicture();
    void buildButtonClick();
    void abortButtonClick();
    void saveButtonClick();
    void MakeDriver();
    // Controls that must wait while a build runs.
    void EnableForBuild(bool building);
    // Ends a busy spell; true when the user asked to leave during it.
    bool LeftWhileBusy();
    void ShowResult(const video::BuildResult& result);
    // Asks where the video goes until it is saved there or the user gives
    // up; giving up on a video not saved yet asks whether to discard it.
    void SaveBuiltVideo(const video::BuildResult& result);
    // Forgets the kept video and removes its file.
    void DiscardBuiltVideo();
    // The same, quietly, as a new build starts over it.
    void ForgetKeptVideo();
    // Where the video dialog starts: the folder a video was last saved in
    // (else the desktop), with the project's name or "slideshow".
    QString SuggestedVideoName() const;
    // ".mpg", or ".mp4" for the MP4 formats.
    const char* VideoExtension() const;
    void ReportError(const QString& text);
    // Shows the newest frame and progress the build has handed over.
    void ShowLatest();

    PictureView* bImage_ = nullptr;
    QPushButton* buildButton_ = nullptr;
    QPushButton* abortButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QLabel* bLabel_ = nullptr;
    QProgressBar* buildProgress_ = nullptr;
    QLabel* buildMusicNote_ = nullptr;
    SubtitleChoice* subtitles_ = nullptr;
    std::unique_ptr<video::BuildDriver> buildDriver_;
    // The last build that made a video, kept for Save Video... (its chapter
    // points serve a disc), and whether it has been saved anywhere yet.
    std::unique_ptr<video::BuildResult> built_;
    bool builtSaved_ = false;
    // The build hands over every frame and progress step; the view shows the
    // newest a few times a second, since painting each one would slow the
    // build.
    base::Latest<raster::Bitmap> latestFrame_;
    base::Latest<video::BuildProgress> latestProgress_;
    QTimer* viewTimer_ = nullptr;
    bool building_ = false;
    bool closeAfterBuild_ = false;  // the window was closed during a build
    bool leaving_ = false;          // the program ends without saving
    QString projectFile_;
};

}  // namespace app
