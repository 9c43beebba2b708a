// The main window: a five-step wizard (Images, Music, Effects, Options,
// Build) chosen from a navigation bar or walked through with Next. The
// window owns no data beyond its controls: RefreshFromSettings copies the
// settings record and the working store into them, CollectSettings copies
// them back.
#pragma once

#include <QList>
#include <QMainWindow>

#include <memory>

#include "model/EffectTree.h"

class QAction;
class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QListView;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTimer;
class QToolButton;
class QTreeView;

namespace screen {
class TFullscreenForm;
class TRunVantoscreen;
}  // namespace screen

namespace video {
class BuildDriver;
}  // namespace video

namespace app {

class ProportionalFrame;
class BackgroundPreview;
class ColorComboBox;
class ImageListModel;
class ImagesPage;
class MusicListModel;
class MusicPage;
class PictureView;
class HelpWindow;
class TAboutForm;
class TImageForm;
class ThumbnailPanel;

// The preview window's outer size for a video format: VCD 320 x 288, SVCD
// 480 x 576, DVD 720 x 576; an invalid size for any other value.
QSize PreviewWindowSize(int videoType);

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    enum Step { kImagesStep = 0, kMusicStep, kEffectsStep, kOptionsStep, kBuildStep, kStepCount };

    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Copies the settings record and the store's lists into the controls.
    void RefreshFromSettings();
    // Copies the controls into the settings record; with write also the
    // lists and the effect selection into the store, and the store to disk.
    // Returns false when that write failed (the record is collected anyway).
    bool CollectSettings(bool write);

    // Selects a step as the navigation bar does; the step already shown, or
    // an index past the last step, changes nothing.
    void SelectStep(int step);
    int CurrentStep() const;

    model::EffectTree& EffectTree() { return effectTree_; }
    // Fills the effect tree once per project and starts the Effects step's
    // preview the first time.
    void BuildEffectTree();

    ImageListModel& Images();
    MusicListModel& Music();
    QTreeView& StyleList() { return *styleList_; }

    // The image list's row click: shows the selected row's thumbnail, or the
    // number of pictures of a selected folder.
    void ImageListClick();
    // Gives every music row without a length its length. Runs when the
    // Music step is entered and files are added, and also before the show
    // is used (Options step, Preview, Build), since music not measured yet
    // (a project just loaded) would be left out of it.
    void Mp3LengthTimerTimer();

    // Makes a project file the working state, as Load Project does after
    // its dialog; says why when the file cannot be one. Also what
    // "vantoshow show.dvprj" and the Recent Projects menu do.
    bool OpenProject(const QString& fileName);
    // The project last loaded or saved as in this window; "" before that.
    const QString& ProjectFile() const { return projectFile_; }
    // The help window, once F1 or Help > Contents has opened it.
    HelpWindow* Help() const { return helpWindow_.get(); }

    // Whether a build is running.
    bool Building() const { return building_; }
    // The Effects step's preview, once the effect tree has been built.
    screen::TRunVantoscreen* MiniPreview() const { return miniPreview_.get(); }
    // The show's and the music's length in whole seconds, as the Options
    // step last computed them.
    int ShowSeconds() const { return showSeconds_; }
    int MusicSeconds() const { return musicSeconds_; }

signals:
    // A step became the current one.
    void StepChanged(int step);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Layout.
    void CreateMenus();
    QWidget* CreateNavigation();
    QWidget* CreateEffectsPage();
    QWidget* CreateOptionsPage();
    QWidget* CreateBuildPage();
    QWidget* CreateBottomBar();

    // Steps and the bottom bar.
    void OutlookBarChange(int step);
    void nextBClick();
    void backBClick();
    void goBuildBClick();
    void previewBClick();
    void cancelBClick();
    void UndoAndExit();

    // Effects step.
    void StartMiniPreview(int demoStyle);
    void StyleListSelectionChanged();
    void SpeedOrIntervalChanged();
    void Customize();

    // Options step.
    // What entering the step does: measures new music, collects the show
    // and shows its lengths beside the sync modes.
    void RefreshSyncTexts();
    void UpdateSyncTexts();
    // Writes the lengths last computed beside the sync modes.
    void ShowSyncTexts();
    // Says on the Music and Build steps, and beside the music length, when
    // the background music is switched off.
    void UpdateMusicNotes();
    void SelectBackgroundPicture();

    // Build step.
    void buildButtonClick();
    void abortButtonClick();
    // Controls that must wait while a build runs.
    void EnableForBuild(bool building);

    // Project and Help menus.
    void LoadProject();
    void SaveProject();
    void SaveProjectAs();
    // Names the project the window stands for and marks it unchanged.
    void SetProjectFile(const QString& file);
    // "name.dvprj - program", marked while the project has unsaved changes.
    void UpdateTitle();
    // Connects every control that is part of the project to MarkModified.
    void WatchForChanges();
    void MarkModified();
    void FillRecentMenu();
    // Where the video dialog starts: the folder a video was last saved in
    // (else the desktop), with the project's name or "slideshow".
    QString SuggestedVideoName() const;
    void HelpClick();
    void HomePageClick();
    void EmailClick();
    void AboutClick();

    // Shows an error of a command the user started.
    void ReportError(const QString& text);
    // Whether the file a save will write may be replaced. The save dialogs
    // ask only about the name as typed; when an extension is appended to it
    // the file written is another one, which may exist already.
    bool MayWrite(const QString& typedName, const std::string& writtenName);

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

    // Effects step.
    model::EffectTree effectTree_;
    QTreeView* styleList_ = nullptr;
    ProportionalFrame* fsPanel2_ = nullptr;
    QSpinBox* speedEdit2_ = nullptr;
    QSpinBox* intervalEdit_ = nullptr;
    std::unique_ptr<screen::TRunVantoscreen> miniPreview_;
    int previewedStyle_ = 0;
    QLabel* catalogueNote_ = nullptr;  // why the tree is empty, when it is

    // Options step.
    QButtonGroup* videoGroup_ = nullptr;
    QButtonGroup* tvGroup_ = nullptr;
    QButtonGroup* syncGroup_ = nullptr;
    QRadioButton* backColorRadio_ = nullptr;
    QRadioButton* backImageRadio_ = nullptr;
    QRadioButton* backTiledRadio_ = nullptr;
    QRadioButton* backStretchRadio_ = nullptr;
    ColorComboBox* backcolorCb_ = nullptr;
    BackgroundPreview* backImage_ = nullptr;
    int showSeconds_ = 0;
    int musicSeconds_ = 0;

    // Build step.
    PictureView* bImage_ = nullptr;
    QPushButton* buildButton_ = nullptr;
    QPushButton* abortButton_ = nullptr;
    QLabel* bLabel_ = nullptr;
    QProgressBar* buildProgress_ = nullptr;
    QLabel* buildMusicNote_ = nullptr;
    std::unique_ptr<video::BuildDriver> buildDriver_;
    bool building_ = false;
    bool closeAfterBuild_ = false;  // the window was closed during a build

    // Commands that would change the working store or stall the conversion
    // while a build runs.
    QList<QAction*> waitForBuildActions_;
    QList<QPushButton*> waitForBuildButtons_;

    std::unique_ptr<screen::TFullscreenForm> previewForm_;
    std::unique_ptr<TImageForm> imageForm_;
    std::unique_ptr<TAboutForm> aboutForm_;
    std::unique_ptr<HelpWindow> helpWindow_;
    QMenu* recentMenu_ = nullptr;
    bool exiting_ = false;  // set by "Undo and Exit": no close handling

    QString projectFile_;
    // Above zero while the controls are filled from the settings, which is
    // no change of the user's.
    int quiet_ = 0;
};

}  // namespace app
