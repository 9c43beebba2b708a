// The main window: a five-step wizard (Images, Music, Effects, Options,
// Build) chosen from a navigation bar or walked through with Next. The
// window is made of one page per step and keeps the menus, the navigation
// and the hand-over of the settings: RefreshFromSettings copies the settings
// record and the working store into the pages, CollectSettings copies them
// back.
#pragma once

#include <QList>
#include <QMainWindow>

#include <memory>

#include "app/UserDialogs.h"
#include "model/Show.h"

namespace model {
class EffectTree;
}  // namespace model

class QAction;
class QListWidget;
class QMenu;
class QPushButton;
class QStackedWidget;
class QToolButton;
class QTreeView;

namespace app {

class BuildPage;
class EffectsPage;
class HelpWindow;
class ImageListModel;
class ImagesPage;
class PlayerWindow;
class MusicListModel;
class MusicPage;
class OptionsPage;
class SmallEffectPreview;
class TAboutForm;
class TImageForm;

// The preview window's outer size for a video format and aspect (as
// model::BuildAspect gives it): its frame at the display size (VCD 384 x 288,
// SVCD and DVD 768 x 576, a 16:9 DVD 1024 x 576, MP4 1280 x 720 to
// 3840 x 2160), made smaller in its proportions to fit 'room' (ignored when
// invalid); an invalid size for an unknown format.
QSize PreviewWindowSize(int videoType, int aspect, const QSize& room);

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    enum Step { kImagesStep = 0, kMusicStep, kEffectsStep, kOptionsStep, kBuildStep, kStepCount };

    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // The working show: the window's own, which its pages show and change.
    model::Show& WorkingShow() { return show_; }
    const model::Show& WorkingShow() const { return show_; }

    // Loads the working show from the working store and copies it and the
    // store's lists into the controls.
    void RefreshFromSettings();
    // Copies the controls and the lists into the working show and the show
    // into the working store; with write also the store to disk. Returns
    // false when that write failed (the show is collected anyway).
    bool CollectSettings(bool write);
    // Takes a show loaded into the working store and shows it.
    void AdoptShow(model::Show show);

    // Selects a step as the navigation bar does; the step already shown, or
    // an index past the last step, changes nothing.
    void SelectStep(int step);
    int CurrentStep() const;

    model::EffectTree& EffectTree();
    // Fills the effect tree once per project and starts the Effects step's
    // preview the first time.
    void BuildEffectTree();

    ImageListModel& Images();
    MusicListModel& Music();
    QTreeView& StyleList();

    // The image list's row click: shows the selected row's thumbnail, or the
    // number of pictures of a selected folder.
    void ImageListClick();
    // Gives every music row without a length its length. Runs when the
    // Music step is entered and files are added, and also before the show
    // is used (Options step, Preview, Build), since music not measured yet
    // (a project just loaded) would be left out of it.
    void Mp3LengthTimerTimer();

    // Makes a project file the working state, as Load Project does after
    // its dialog; says why when the file cannot be one.
    bool OpenProject(const QString& fileName);
    // OpenProject once unsaved changes are settled (the user may cancel):
    // what "vantoshow show.dvprj" and the Recent Projects menu do.
    void OfferProject(const QString& fileName);
    // The project the working state stands for: the one last loaded or
    // saved as, here or before a restart; "" for none.
    const QString& ProjectFile() const { return projectFile_; }
    // Whether the show holds changes not saved into its project.
    bool Unsaved() const { return unsaved_; }
    // The help window, once F1 or Help > Contents has opened it.
    HelpWindow* Help() const { return helpWindow_.get(); }

    // Whether a build is running.
    bool Building() const;
    // The Effects step's preview, once the effect tree has been built.
    SmallEffectPreview* MiniPreview() const;
    // The show's and the music's length in whole seconds, as the Options
    // step last computed them.
    int ShowSeconds() const;
    int MusicSeconds() const;

signals:
    // A step became the current one.
    void StepChanged(int step);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Copies the working show and the store's lists into the controls.
    void ShowWorkingShow();

    model::Show show_;
    // Layout.
    void CreateMenus();
    QWidget* CreateNavigation();
    void CreatePages();
    // Connects the pages' requests to the window's commands.
    void ConnectPages();
    QWidget* CreateBottomBar();

    // Steps and the bottom bar.
    void OutlookBarChange(int step);
    void nextBClick();
    void backBClick();
    void goBuildBClick();
    void previewBClick();
    void cancelBClick();
    void UndoAndExit();

    // The per-picture dialog, from the Effects and Options steps, and from
    // the storyboard at a picture (startAt).
    void Customize(const QString& startAt = QString());
    // What entering the Options step does: measures new music, collects the
    // show and shows its lengths beside the sync modes.
    void RefreshSyncTexts();
    // Says on the Music and Build steps, and beside the music length, when
    // the background music is switched off.
    void UpdateMusicNotes();
    // Holds back the window's commands that must wait while a build runs.
    void EnableForBuild(bool building);
    // Puts a running build's progress in the window title.
    void ShowBuildProgress(int percent);

    // Project and Help menus. The saves return whether the project was
    // written.
    void NewProject();
    void LoadProject();
    bool SaveProject();
    bool SaveProjectAs();
    // Before a command throws the show's unsaved changes away (New, Load, a
    // recent project, closing): asks Save, Discard or Cancel and saves when
    // asked to. Returns what was chosen; Discard also when nothing was
    // asked, and Cancel also when the save failed or its name was not given.
    // 'evenUnnamed' asks about a show that is no project yet, which only a
    // new show or a load would lose: closing keeps it as the working state.
    UserDialogs::SaveChoice SettleChanges(bool evenUnnamed);
    // Before the program ends: asks about a running build or a video not
    // saved, then about the project's changes. Returns whether it may end;
    // *reverted tells that Discard put the saved project back, which must
    // then not be written over.
    bool MayLeave(bool* reverted = nullptr);
    // Makes the working state the project file again, for Discard on
    // closing; keeps it as it is when the file cannot be read.
    void RevertToProject();
    // Names the project the window stands for and marks it unchanged.
    void SetProjectFile(const QString& file);
    // The folder the project dialogs open in: the last project's, else the
    // user's documents.
    QString ProjectFolder() const;
    // Where the project save dialog opens: the project's own name, else
    // "Slideshow.dvprj" in the folder of the last project or the documents.
    QString SuggestedProjectName() const;
    // "name.dvprj - program", marked while the project has unsaved changes.
    void UpdateTitle();
    // Connects every control that is part of the project to MarkModified.
    void WatchForChanges();
    void MarkModified();
    void FillRecentMenu();
    void HelpClick();
    void AboutClick();

    // Shows an error of a command the user started.
    void ReportError(const QString& text);
    // Says in the status line, the first time only, that music plays unheard.
    void ReportNoSound(const QString& reason);

    // Navigation and pages.
    QListWidget* outlookBar_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QToolButton* nextB_ = nullptr;
    QToolButton* backB_ = nullptr;
    QPushButton* goBuildB_ = nullptr;
    QPushButton* previewB_ = nullptr;
    QPushButton* cancelB_ = nullptr;

    ImagesPage* imagesPage_ = nullptr;
    MusicPage* musicPage_ = nullptr;
    EffectsPage* effectsPage_ = nullptr;
    OptionsPage* optionsPage_ = nullptr;
    BuildPage* buildPage_ = nullptr;

    // Commands that would change the working store or stall the conversion
    // while a build runs.
    QList<QAction*> waitForBuildActions_;
    QList<QPushButton*> waitForBuildButtons_;

    std::unique_ptr<PlayerWindow> previewForm_;
    std::unique_ptr<TImageForm> imageForm_;
    std::unique_ptr<TAboutForm> aboutForm_;
    std::unique_ptr<HelpWindow> helpWindow_;
    QMenu* recentMenu_ = nullptr;
    bool exiting_ = false;  // set by "Undo and Exit": no close handling
    bool noSoundReported_ = false;

    QString projectFile_;
    bool unsaved_ = false;
    // A running build's progress in percent, -1 when none runs.
    int buildPercent_ = -1;
    // Above zero while the controls are filled from the settings, which is
    // no change of the user's.
    int quiet_ = 0;
};

}  // namespace app
