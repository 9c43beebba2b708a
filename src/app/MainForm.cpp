#include "app/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/AboutForm.h"
#include "app/BackgroundPreview.h"
#include "app/ColorComboBox.h"
#include "app/HelpWindow.h"
#include "app/Icons.h"
#include "app/ImageForm.h"
#include "app/ImagesPage.h"
#include "app/MediaListModels.h"
#include "app/MusicPage.h"
#include "app/ThumbnailPanel.h"
#include "app/Thumbnails.h"
#include "app/UserDialogs.h"
#include "model/FileIo.h"
#include "model/Project.h"
#include "model/RecentProjects.h"
#include "model/Settings.h"
#include "model/WorkingState.h"
#include "screen/FullscreenForm.h"
#include "screen/PreviewRunner.h"
#include "video/BuildDriver.h"

namespace app {

namespace {

QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}

// Checks the radio button of a group by its number; a number no button
// has leaves every button unchecked.
void SetGroupIndex(QButtonGroup& group, int index) {
    if (QAbstractButton* button = group.button(index)) {
        button->setChecked(true);
        return;
    }
    const bool exclusive = group.exclusive();
    group.setExclusive(false);
    for (QAbstractButton* button : group.buttons()) button->setChecked(false);
    group.setExclusive(exclusive);
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowIcon(PaintedIcon(IconKind::Program));
    CreateMenus();

    pages_ = new QStackedWidget;
    pages_->setObjectName(QStringLiteral("Pages1"));
    imagesPage_ = new ImagesPage;
    musicPage_ = new MusicPage;
    pages_->addWidget(imagesPage_);
    pages_->addWidget(musicPage_);
    pages_->addWidget(CreateEffectsPage());
    pages_->addWidget(CreateOptionsPage());
    pages_->addWidget(CreateBuildPage());

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
    connect(&musicPage_->PlayItem(), &QAction::toggled, this, &TMainForm::UpdateMusicNotes);
    for (MediaListPage* page : std::initializer_list<MediaListPage*>{imagesPage_, musicPage_})
        connect(page, &MediaListPage::StatusMessage, this,
                [this](const QString& text) { statusBar()->showMessage(text, 8000); });
    QApplication::setApplicationName(ToQt(model::Product().title));
    UpdateTitle();

    // The design's 532 x 327 client area, enlarged for today's screens.
    resize(sizeHint().expandedTo(QSize(800, 500)));
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    aboutForm_ = std::make_unique<TAboutForm>(this);
    // The work starts in the image list, not in the navigation bar before it.
    imagesPage_->FocusList();
}

TMainForm::~TMainForm() {
    miniPreview_.reset();
}

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
    if (step == kEffectsStep) BuildEffectTree();
    if (step == kMusicStep) musicPage_->MeasureSoon();
    if (step == kOptionsStep) RefreshSyncTexts();
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
    if (buildButton_->isEnabled()) buildButton_->click();
}

void TMainForm::cancelBClick() {
    CollectSettings(true);
    if (abortButton_->isEnabled()) abortButton_->click();
    close();
}

void TMainForm::UndoAndExit() {
    exiting_ = true;
    if (abortButton_->isEnabled()) abortButton_->click();
    hide();
    Dialogs().EndProgram();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (exiting_) {
        event->accept();
        return;
    }
    // The conversion is still on the stack: end it, and close once it has
    // returned.
    if (building_) {
        closeAfterBuild_ = true;
        if (abortButton_->isEnabled()) abortButton_->click();
        event->ignore();
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

// --- the settings record and the controls ---

void TMainForm::RefreshFromSettings() {
    ++quiet_;
    const auto unquiet = qScopeGuard([this] { --quiet_; });
    const model::TslSettings& s = model::Settings;
    imagesPage_->RefreshFromSettings(s);
    musicPage_->RefreshFromSettings(s);

    {
        // Each edit's change handler copies both edits into the record, so
        // setting one while the other still shows the old value would undo it.
        const QSignalBlocker quietInterval(intervalEdit_);
        const QSignalBlocker quietSpeed(speedEdit2_);
        intervalEdit_->setValue(s.ImageInterval);
        speedEdit2_->setValue(s.EffectSpeed2);
    }
    SpeedOrIntervalChanged();
    SetGroupIndex(*videoGroup_, s.VideoType);
    SetGroupIndex(*tvGroup_, s.TVSet);
    SetGroupIndex(*syncGroup_, s.MusicSync);
    backcolorCb_->SetColor(ColorFromSetting(s.BackgroundColor));

    backColorRadio_->setChecked(s.Back_Mode_UseColor);
    backImageRadio_->setChecked(!backColorRadio_->isChecked());
    backTiledRadio_->setChecked(s.Back_Image_UseTiled);
    backStretchRadio_->setChecked(!backTiledRadio_->isChecked());

    backImage_->SetPath(ToQt(s.Back_Image_Filename));
    if (model::FileExists(s.Back_Image_Filename)) backImage_->LoadPicture();

    UpdateMusicNotes();
}

bool TMainForm::CollectSettings(bool write) {
    bool written = true;
    try {
        model::CollectWorkingState(Images().List(), Music().List(), &effectTree_, write);
    } catch (...) {
        // A failed write must not keep the user's choices from the build:
        // collect the record without writing.
        written = false;
        try {
            model::CollectWorkingState(Images().List(), Music().List(), &effectTree_, false);
        } catch (...) {
        }
    }
    model::TslSettings& s = model::Settings;
    s.EffectSpeed2 = speedEdit2_->value();
    // A group without a checked button (a value no button has, read from the
    // file) keeps the value it had.
    if (videoGroup_->checkedId() >= 0) s.VideoType = static_cast<uint8_t>(videoGroup_->checkedId());
    if (tvGroup_->checkedId() >= 0) s.TVSet = tvGroup_->checkedId();
    if (syncGroup_->checkedId() >= 0) s.MusicSync = static_cast<uint8_t>(syncGroup_->checkedId());
    s.BackgroundColor = SettingFromColor(backcolorCb_->Color());
    s.Back_Mode_UseColor = backColorRadio_->isChecked();
    s.Back_Image_UseTiled = backTiledRadio_->isChecked();
    s.Back_Image_Filename = backImage_->Path().toStdString();
    musicPage_->CollectSettings(s);
    return written;
}

// --- shared commands ---

void TMainForm::Customize() {
    if (!imageForm_) imageForm_ = std::make_unique<TImageForm>(*this);
    hide();
    // OK writes captions, intervals and transitions into the working store.
    if (Dialogs().RunModal(*imageForm_) == QDialog::Accepted) MarkModified();
    show();
    // The dialog may have changed intervals, and so the lengths beside the
    // sync modes of the step it was opened from.
    if (CurrentStep() == kOptionsStep) RefreshSyncTexts();
}

void TMainForm::ReportError(const QString& text) {
    Dialogs().ShowError(this, text);
}

bool TMainForm::MayWrite(const QString& typedName, const std::string& writtenName) {
    const QString written = ToQt(writtenName);
    if (written == typedName || !QFileInfo::exists(written)) return true;
    return Dialogs().Confirm(this, tr("\"%1\" already exists.\n\nReplace it?").arg(written));
}

// --- Project menu ---

namespace {

model::ProjectHooks HooksFor(TMainForm& window) {
    model::ProjectHooks hooks;
    hooks.collectSettings = [&window](bool write) { window.CollectSettings(write); };
    hooks.refreshFromSettings = [&window] { window.RefreshFromSettings(); };
    hooks.effectTree = &window.EffectTree();
    return hooks;
}

}  // namespace

void TMainForm::LoadProject() {
    const QString name = Dialogs().OpenProjectName(this, ToQt(model::LastFolder("Project")));
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
    SetProjectFile(absolute);
    model::NoteRecentProject(absolute.toStdString());
    if (CurrentStep() == kOptionsStep) RefreshSyncTexts();
    return true;
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
        connect(action, &QAction::triggered, this, [this, path] { OpenProject(path); });
    }
    recentMenu_->setToolTipsVisible(true);
    recentMenu_->setEnabled(!projects.empty());
}

void TMainForm::SaveProject() {
    // Without a project file the only place for the project is a new one.
    if (projectFile_.isEmpty()) {
        SaveProjectAs();
        return;
    }
    try {
        model::Save1Click(HooksFor(*this), projectFile_.toStdString());
    } catch (const std::exception& error) {
        ReportError(QString::fromStdString(error.what()));
        return;
    }
    SetProjectFile(projectFile_);
    Dialogs().Inform(this, tr("Save OK"));
}

void TMainForm::SaveProjectAs() {
    const QString name = Dialogs().SaveProjectName(this, ToQt(model::LastFolder("Project")));
    if (name.isEmpty() || !MayWrite(name, model::ProjectFileName(name.toStdString()))) return;
    try {
        const std::string saved = model::SaveProject1Click(name.toStdString(), HooksFor(*this));
        SetProjectFile(ToQt(saved));
        model::NoteRecentProject(saved);
        statusBar()->showMessage(tr("The project was saved as %1.").arg(ToQt(saved)), 15000);
    } catch (const std::exception& error) {
        ReportError(QString::fromStdString(error.what()));
    }
}

void TMainForm::SetProjectFile(const QString& file) {
    projectFile_ = file;
    UpdateTitle();
    setWindowModified(false);
}

void TMainForm::UpdateTitle() {
    const QString program = ToQt(model::Product().title);
    if (projectFile_.isEmpty())
        setWindowTitle(program);
    else
        setWindowTitle(tr("%1[*] - %2").arg(QFileInfo(projectFile_).fileName(), program));
}

void TMainForm::MarkModified() {
    // Qt warns about a mark the title has no place for.
    if (quiet_ == 0 && !projectFile_.isEmpty()) setWindowModified(true);
}

void TMainForm::WatchForChanges() {
    const auto modified = [this] { MarkModified(); };
    for (QAbstractItemModel* list : std::initializer_list<QAbstractItemModel*>{
             &Images(), &Music(), &effectTree_.ItemModel()}) {
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
    for (QSpinBox* edit : {speedEdit2_, intervalEdit_})
        connect(edit, &QSpinBox::valueChanged, this, modified);
    QList<QAbstractButton*> radios = {backColorRadio_, backImageRadio_, backTiledRadio_,
                                      backStretchRadio_};
    for (const QButtonGroup* group : {videoGroup_, tvGroup_, syncGroup_})
        radios << group->buttons();
    for (QAbstractButton* radio : radios) connect(radio, &QAbstractButton::toggled, this, modified);
    for (QAction* item : musicPage_->OptionItems())
        connect(item, &QAction::toggled, this, modified);
    connect(backcolorCb_, &ColorComboBox::ColorChanged, this, modified);
}

// --- Help menu ---

void TMainForm::HelpClick() {
    if (!helpWindow_) helpWindow_ = std::make_unique<HelpWindow>(this);
    helpWindow_->ShowContents();
}

void TMainForm::HomePageClick() {
    Dialogs().OpenUrl(QUrl(ToQt(model::Product().homepage)));
}

void TMainForm::EmailClick() {
    Dialogs().OpenUrl(QUrl(QStringLiteral("mailto:") + ToQt(model::Product().email)));
}

void TMainForm::AboutClick() {
    if (!aboutForm_) aboutForm_ = std::make_unique<TAboutForm>(this);
    Dialogs().RunModal(*aboutForm_);
}

}  // namespace app
