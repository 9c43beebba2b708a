#include "app/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/AboutForm.h"
#include "app/BuildPage.h"
#include "app/EffectsPage.h"
#include "app/HelpWindow.h"
#include "app/Icons.h"
#include "app/ImageForm.h"
#include "app/ImagesPage.h"
#include "app/MediaListModels.h"
#include "app/MusicPage.h"
#include "app/OptionsPage.h"
#include "app/PlayerWindow.h"
#include "app/UserDialogs.h"
#include "base/Swallow.h"
#include "model/FileIo.h"
#include "model/Project.h"
#include "model/RecentProjects.h"
#include "model/Settings.h"
#include "model/WorkingState.h"
#include "showbuild/BuildDriver.h"

namespace app {

namespace {

QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowIcon(PaintedIcon(IconKind::Program));
    CreateMenus();

    CreatePages();

    auto* right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    right->addWidget(pages_, 1);
    right->addWidget(CreateBottomBar());

    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(CreateNavigation());
    layout->addLayout(right, 1);
    setCentralWidget(central);
    // The status line is there from the start: made by its first message, it
    // would push the bottom buttons up under the pointer.
    statusBar()->setObjectName(QStringLiteral("StatusLine"));
    statusBar()->show();

    // Page 0 first, without running the step change.
    outlookBar_->blockSignals(true);
    outlookBar_->setCurrentRow(kImagesStep);
    outlookBar_->blockSignals(false);
    pages_->setCurrentIndex(kImagesStep);
    connect(outlookBar_, &QListWidget::currentRowChanged, this, &TMainForm::OutlookBarChange);
    // Clicking beside the items must not leave the bar without a selection.
    connect(outlookBar_, &QListWidget::itemSelectionChanged, this, [this] {
        if (outlookBar_->selectedItems().isEmpty() && outlookBar_->currentItem() != nullptr)
            outlookBar_->currentItem()->setSelected(true);
    });

    RefreshFromSettings();
    WatchForChanges();
    ConnectPages();
    QApplication::setApplicationName(ToQt(model::Product().title));
    UpdateTitle();

    // The design's 532 x 327 client area, enlarged for today's screens.
    resize(sizeHint().expandedTo(QSize(800, 500)));
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    aboutForm_ = std::make_unique<TAboutForm>(this);
    connect(aboutForm_.get(), &TAboutForm::ManualWanted, this, &TMainForm::HelpClick);
    // The work starts in the image list, not in the navigation bar before it.
    imagesPage_->FocusList();
}

TMainForm::~TMainForm() = default;

void TMainForm::showEvent(QShowEvent* event) {
    UpdateTitle();
    QMainWindow::showEvent(event);
}

ImageListModel& TMainForm::Images() {
    return imagesPage_->Model();
}

MusicListModel& TMainForm::Music() {
    return musicPage_->Model();
}

void TMainForm::ImageListClick() {
    imagesPage_->ImageListClick();
}

void TMainForm::Mp3LengthTimerTimer() {
    musicPage_->Mp3LengthTimerTimer();
}

model::EffectTree& TMainForm::EffectTree() {
    return effectsPage_->Tree();
}

QTreeView& TMainForm::StyleList() {
    return effectsPage_->StyleList();
}

bool TMainForm::Building() const {
    return buildPage_->Building();
}

SmallEffectPreview* TMainForm::MiniPreview() const {
    return effectsPage_->MiniPreview();
}

int TMainForm::ShowSeconds() const {
    return optionsPage_->ShowSeconds();
}

int TMainForm::MusicSeconds() const {
    return optionsPage_->MusicSeconds();
}

// --- steps ---

int TMainForm::CurrentStep() const {
    return outlookBar_->currentRow();
}

void TMainForm::SelectStep(int step) {
    if (step < 0 || step >= kStepCount || step == outlookBar_->currentRow()) return;
    outlookBar_->setCurrentRow(step);
}

void TMainForm::OutlookBarChange(int step) {
    if (step < 0 || step >= kStepCount) return;
    pages_->setCurrentIndex(step);
    if (step == kEffectsStep) {
        // The preview plays the pictures the list holds now.
        CollectSettings(false);
        BuildEffectTree();
    }
    if (step == kMusicStep) musicPage_->MeasureSoon();
    if (step == kOptionsStep) RefreshSyncTexts();
    if (step == kBuildStep) {
        // The format is chosen on the Options step, the captions in the
        // per-image dialog; the build step offers what follows from them.
        optionsPage_->CollectSettings(show_.settings);
        buildPage_->RefreshFromSettings(show_.settings);
    }
    backB_->setVisible(step == kBuildStep);
    nextB_->setVisible(!backB_->isVisibleTo(this));
    emit StepChanged(step);
}

void TMainForm::nextBClick() {
    SelectStep(CurrentStep() + 1);
}

void TMainForm::backBClick() {
    SelectStep(kImagesStep);
}

void TMainForm::goBuildBClick() {
    SelectStep(kBuildStep);
    buildPage_->StartBuild();
}

void TMainForm::cancelBClick() {
    close();
}

void TMainForm::UndoAndExit() {
    if (!MayLeave()) return;
    exiting_ = true;
    buildPage_->Leave();
    hide();
    Dialogs().EndProgram();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (exiting_) {
        event->accept();
        return;
    }
    // The conversion is still on the stack: once the user agrees, end it, and
    // close once it has returned.
    if (buildPage_->Building()) {
        if (buildPage_->MayStop()) buildPage_->CloseWhenDone();
        event->ignore();
        return;
    }
    bool reverted = false;
    if (!MayLeave(&reverted)) {
        event->ignore();
        return;
    }
    // Discarded changes are not written back over the project put back.
    if (reverted) {
        event->accept();
        return;
    }
    if (!CollectSettings(true) &&
        !Dialogs().Confirm(this, tr("The lists and options could not be saved to \"%1\".\n\n"
                                    "Close anyway and lose the changes?")
                                     .arg(ToQt(model::OptionsFileName())))) {
        event->ignore();
        return;
    }
    event->accept();
}

// --- what the window does for the pages ---

void TMainForm::BuildEffectTree() {
    // Filling the tree from the settings changes no choice of the user's.
    ++quiet_;
    const auto unquiet = qScopeGuard([this] { --quiet_; });
    effectsPage_->BuildEffectTree();
}

void TMainForm::RefreshSyncTexts() {
    Mp3LengthTimerTimer();
    CollectSettings(false);
    optionsPage_->UpdateSyncTexts(musicPage_->MusicOn());
}

void TMainForm::UpdateMusicNotes() {
    const bool off = !musicPage_->MusicOn();
    musicPage_->ShowMusicOffNote(off);
    buildPage_->ShowMusicOffNote(off);
    // The lengths are computed on entering the Options step; elsewhere they
    // are not shown and may be out of date.
    if (CurrentStep() == kOptionsStep) optionsPage_->ShowSyncTexts(!off);
}

void TMainForm::EnableForBuild(bool building) {
    // These would change the show or the working store, or stall the
    // conversion, while it runs. The build works on a copy, but an edit made
    // meanwhile would look as if it reached the video. Switching steps stays
    // possible.
    for (QWidget* page :
         std::initializer_list<QWidget*>{imagesPage_, musicPage_, effectsPage_, optionsPage_})
        page->setEnabled(!building);
    previewB_->setEnabled(!building);
    for (QAction* action : waitForBuildActions_) action->setEnabled(!building);
    for (QPushButton* button : waitForBuildButtons_) button->setEnabled(!building);
    // A recent project would replace the working store as Load does.
    recentMenu_->menuAction()->setEnabled(!building && !model::RecentProjects().empty());
    buildPercent_ = building ? 0 : -1;
    UpdateTitle();
}

void TMainForm::ShowBuildProgress(int percent) {
    if (buildPercent_ < 0 || percent == buildPercent_) return;
    buildPercent_ = percent;
    UpdateTitle();
}

// --- the settings record and the controls ---

void TMainForm::AdoptShow(model::Show show) {
    show_ = std::move(show);
    ShowWorkingShow();
}

void TMainForm::RefreshFromSettings() {
    AdoptShow(model::LoadShow(model::OptionsStore()));
}

void TMainForm::ShowWorkingShow() {
    ++quiet_;
    const auto unquiet = qScopeGuard([this] { --quiet_; });
    const model::TslSettings& s = show_.settings;
    const model::IniFile& store = model::OptionsStore();
    const model::WorkingProject working = model::ReadWorkingProject(store);
    SetProjectFile(ToQt(working.file));
    unsaved_ = working.unsaved;
    if (!projectFile_.isEmpty()) setWindowModified(unsaved_);
    imagesPage_->RefreshFromSettings(s, store);
    musicPage_->RefreshFromSettings(s, store);
    effectsPage_->RefreshFromSettings(s);
    optionsPage_->RefreshFromSettings(s);
    buildPage_->RefreshFromSettings(s);
    UpdateMusicNotes();
}

bool TMainForm::CollectSettings(bool write) {
    model::TslSettings& s = show_.settings;
    effectsPage_->CollectSettings(s);
    optionsPage_->CollectSettings(s);
    musicPage_->CollectSettings(s);
    model::IniFile& store = model::OptionsStore();
    model::WriteWorkingProject(store, {projectFile_.toStdString(), unsaved_});
    const auto collect = [&](bool andWrite) {
        model::CollectWorkingState(Images().List(), Music().List(), &EffectTree(), andWrite, store,
                                   show_);
    };
    const bool written = base::Swallow("app::TMainForm::CollectSettings", [&] { collect(write); });
    // A failed write must not keep the user's choices from the build:
    // collect the show without writing.
    if (!written) base::Swallow("app::TMainForm::CollectSettings", [&] { collect(false); });
    return written;
}

// --- shared commands ---

void TMainForm::Customize(const QString& startAt) {
    if (!imageForm_) imageForm_ = std::make_unique<TImageForm>(*this);
    imageForm_->StartAt(startAt);
    const std::string notesBefore = show_.notes.Text();
    hide();
    // OK writes captions, intervals and motions into the show's notes; effect
    // sets and Reset are written at once and stay on Cancel too.
    const bool accepted = Dialogs().RunModal(*imageForm_) == QDialog::Accepted;
    if (accepted || show_.notes.Text() != notesBefore) MarkModified();
    show();
    // The dialog may have changed intervals, and so the lengths beside the
    // sync modes of the step it was opened from.
    if (CurrentStep() == kOptionsStep) RefreshSyncTexts();
}

void TMainForm::ReportError(const QString& text) {
    Dialogs().ShowError(this, text);
}

void TMainForm::ReportNoSound(const QString& reason) {
    // The card stays missing for the run; one line is enough. It stays up
    // until another replaces it, as the preview may cover the window.
    if (noSoundReported_) return;
    noSoundReported_ = true;
    statusBar()->showMessage(reason);
}

// --- Project menu ---

namespace {

model::ProjectHooks HooksFor(TMainForm& window) {
    model::ProjectHooks hooks;
    hooks.collectSettings = [&window](bool write) { window.CollectSettings(write); };
    hooks.showLoaded = [&window](model::Show show) { window.AdoptShow(std::move(show)); };
    hooks.effectTree = &window.EffectTree();
    return hooks;
}

}  // namespace

UserDialogs::SaveChoice TMainForm::SettleChanges(bool evenUnnamed) {
    using Choice = UserDialogs::SaveChoice;
    if (!unsaved_) return Choice::Discard;
    if (projectFile_.isEmpty() &&
        (!evenUnnamed || (Images().rowCount() == 0 && Music().rowCount() == 0)))
        return Choice::Discard;
    const QString name =
        projectFile_.isEmpty() ? tr("the new project") : QFileInfo(projectFile_).fileName();
    const Choice choice = Dialogs().AskSaveChanges(this, name);
    if (choice == Choice::Save && !SaveProject()) return Choice::Cancel;
    return choice;
}

bool TMainForm::MayLeave(bool* reverted) {
    // A video built but not saved yet goes only when the user says so.
    if (!buildPage_->MayStop()) return false;
    const UserDialogs::SaveChoice choice = SettleChanges(false);
    if (choice == UserDialogs::SaveChoice::Cancel) return false;
    const bool revert =
        choice == UserDialogs::SaveChoice::Discard && unsaved_ && !projectFile_.isEmpty();
    if (revert) RevertToProject();
    if (reverted != nullptr) *reverted = revert;
    return true;
}

void TMainForm::RevertToProject() {
    try {
        // Closing: the window keeps the project's show for the working state
        // saved at the end, without showing it.
        model::ProjectHooks hooks;
        hooks.showLoaded = [this](model::Show show) { show_ = std::move(show); };
        model::LoadProject1Click(projectFile_.toStdString(), hooks);
    } catch (const std::exception&) {
        // The changes stay in the working state rather than being lost with
        // a project that is gone or unreadable.
        base::Swallow("app::TMainForm::RevertToProject", [&] { CollectSettings(true); });
    }
}

void TMainForm::NewProject() {
    if (SettleChanges(true) == UserDialogs::SaveChoice::Cancel) return;
    try {
        model::NewProject1Click(HooksFor(*this));
    } catch (const std::exception& error) {
        ReportError(QString::fromStdString(error.what()));
        return;
    }
    SelectStep(kImagesStep);
    statusBar()->showMessage(tr("A new project was started."), 8000);
}

void TMainForm::LoadProject() {
    if (SettleChanges(true) == UserDialogs::SaveChoice::Cancel) return;
    const QString name = Dialogs().OpenProjectName(this, ProjectFolder());
    if (name.isEmpty()) return;
    OpenProject(name);
}

bool TMainForm::OpenProject(const QString& fileName) {
    const QString absolute = QFileInfo(fileName).absoluteFilePath();
    try {
        model::LoadProject1Click(absolute.toStdString(), HooksFor(*this));
    } catch (const std::exception& error) {
        // A project that is gone is no longer offered.
        if (!QFileInfo::exists(absolute)) model::ForgetRecentProject(absolute.toStdString());
        ReportError(QString::fromStdString(error.what()));
        return false;
    }
    // The refresh after the load has named the project from the working state.
    model::NoteRecentProject(absolute.toStdString());
    if (CurrentStep() == kOptionsStep) RefreshSyncTexts();
    return true;
}

void TMainForm::OfferProject(const QString& fileName) {
    if (SettleChanges(true) != UserDialogs::SaveChoice::Cancel) OpenProject(fileName);
}

void TMainForm::FillRecentMenu() {
    recentMenu_->clear();
    const std::vector<std::string> projects = model::RecentProjects();
    int number = 0;
    for (const std::string& project : projects) {
        const QString path = ToQt(project);
        QAction* action = recentMenu_->addAction(
            QStringLiteral("&%1 %2").arg(++number).arg(QFileInfo(path).fileName()));
        action->setToolTip(path);
        action->setStatusTip(path);
        connect(action, &QAction::triggered, this, [this, path] { OfferProject(path); });
    }
    recentMenu_->setToolTipsVisible(true);
    recentMenu_->setEnabled(!projects.empty());
}

bool TMainForm::SaveProject() {
    // Without a project file the only place for the project is a new one.
    if (projectFile_.isEmpty()) return SaveProjectAs();
    try {
        model::Save1Click(HooksFor(*this), projectFile_.toStdString());
    } catch (const std::exception& error) {
        ReportError(QString::fromStdString(error.what()));
        return false;
    }
    SetProjectFile(projectFile_);
    statusBar()->showMessage(tr("The project was saved as %1.").arg(projectFile_), 15000);
    return true;
}

bool TMainForm::SaveProjectAs() {
    const QString name = Dialogs().SaveProjectName(this, SuggestedProjectName());
    if (name.isEmpty() || !MayReplace(this, name, model::ProjectFileName(name.toStdString())))
        return false;
    try {
        const std::string saved = model::SaveProject1Click(name.toStdString(), HooksFor(*this));
        SetProjectFile(ToQt(saved));
        model::NoteRecentProject(saved);
        statusBar()->showMessage(tr("The project was saved as %1.").arg(ToQt(saved)), 15000);
    } catch (const std::exception& error) {
        ReportError(QString::fromStdString(error.what()));
        return false;
    }
    return true;
}

QString TMainForm::ProjectFolder() const {
    const QString last = ToQt(model::LastFolder("Project"));
    if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
    // A desktop without a documents folder opens the home folder.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString TMainForm::SuggestedProjectName() const {
    if (!projectFile_.isEmpty()) return projectFile_;
    return QDir(ProjectFolder()).filePath(QStringLiteral("Slideshow.dvprj"));
}

void TMainForm::SetProjectFile(const QString& file) {
    projectFile_ = file;
    unsaved_ = false;
    buildPage_->SetProjectFile(file);
    UpdateTitle();
    setWindowModified(false);
}

void TMainForm::UpdateTitle() {
    const QString program = ToQt(model::Product().title);
    QString title = projectFile_.isEmpty()
                        ? program
                        : tr("%1[*] - %2").arg(QFileInfo(projectFile_).fileName(), program);
    // A build's progress shows in the task bar too, where the window may be.
    if (buildPercent_ >= 0) title = tr("Building %1% - %2").arg(buildPercent_).arg(title);
    setWindowTitle(title);
}

void TMainForm::MarkModified() {
    if (quiet_ != 0) return;
    unsaved_ = true;
    // Qt warns about a mark the title has no place for.
    if (!projectFile_.isEmpty()) setWindowModified(true);
}

void TMainForm::WatchForChanges() {
    const auto modified = [this] { MarkModified(); };
    for (QAbstractItemModel* list : std::initializer_list<QAbstractItemModel*>{
             &Images(), &Music(), &EffectTree().ItemModel()}) {
        connect(list, &QAbstractItemModel::rowsInserted, this, modified);
        connect(list, &QAbstractItemModel::rowsRemoved, this, modified);
        connect(list, &QAbstractItemModel::rowsMoved, this, modified);
        connect(list, &QAbstractItemModel::modelReset, this, modified);
        // Measured music lengths change rows too, but no choice of the user's.
        connect(list, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                    if (roles.contains(Qt::CheckStateRole)) MarkModified();
                });
    }
    connect(effectsPage_, &EffectsPage::Changed, this, modified);
    connect(optionsPage_, &OptionsPage::Changed, this, modified);
    connect(imagesPage_, &ImagesPage::Changed, this, modified);
    connect(buildPage_, &BuildPage::Changed, this, modified);
    for (QAction* item : musicPage_->OptionItems())
        connect(item, &QAction::toggled, this, modified);
}

// --- Help menu ---

void TMainForm::HelpClick() {
    if (!helpWindow_) helpWindow_ = std::make_unique<HelpWindow>(this);
    helpWindow_->ShowContents();
}

void TMainForm::AboutClick() {
    if (!aboutForm_) aboutForm_ = std::make_unique<TAboutForm>(this);
    Dialogs().RunModal(*aboutForm_);
}

}  // namespace app
