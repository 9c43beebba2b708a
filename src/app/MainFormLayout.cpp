// The main window's menus, navigation bar, step pages and bottom bar, and
// how the pages reach the window's commands. Sizes come from the
// layouts; the design sizes only set minimums and proportions.
#include <QAction>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>

#include "app/BuildPage.h"
#include "app/EffectsPage.h"
#include "app/Icons.h"
#include "app/ImagesPage.h"
#include "app/MainForm.h"
#include "app/MusicPage.h"
#include "app/OptionsPage.h"
#include "app/UserDialogs.h"
#include "app/WidgetFactory.h"

namespace app {

void TMainForm::CreateMenus() {
    QMenu* project = menuBar()->addMenu(tr("&Project"));
    project->setObjectName(QStringLiteral("Project1"));
    // The F-keys first, as the program always had them, then the keys every
    // desktop program answers to.
    QAction* newProject = MenuItem(project, "NewProject1", tr("&New Project"));
    newProject->setShortcut(QKeySequence::New);
    connect(newProject, &QAction::triggered, this, &TMainForm::NewProject);
    QAction* load = MenuItem(project, "LoadProject1", tr("&Load Project"));
    load->setShortcuts({Qt::Key_F3, QKeySequence::Open});
    connect(load, &QAction::triggered, this, &TMainForm::LoadProject);
    QAction* save = MenuItem(project, "Save1", tr("&Save Project"));
    save->setShortcuts({Qt::Key_F4, QKeySequence::Save});
    connect(save, &QAction::triggered, this, [this] {
        const bool named = !projectFile_.isEmpty();
        if (SaveProject() && named) Dialogs().Inform(this, tr("Save OK"));
    });
    QAction* saveAs = MenuItem(project, "SaveProject1", tr("Save Project &As..."));
    saveAs->setShortcuts({Qt::Key_F5, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
    connect(saveAs, &QAction::triggered, this, &TMainForm::SaveProjectAs);
    recentMenu_ = project->addMenu(tr("&Recent Projects"));
    recentMenu_->setObjectName(QStringLiteral("RecentProjects1"));
    // Filled when opened, so a project noted by another window shows too.
    connect(recentMenu_, &QMenu::aboutToShow, this, &TMainForm::FillRecentMenu);
    FillRecentMenu();
    project->addSeparator();
    connect(MenuItem(project, "Build1", tr("Build"), Qt::Key_F9), &QAction::triggered, this,
            &TMainForm::goBuildBClick);
    QAction* preview = MenuItem(project, "Preview1", tr("Preview"), Qt::Key_F10);
    connect(preview, &QAction::triggered, this, &TMainForm::previewBClick);
    waitForBuildActions_ = {preview, load, newProject};
    project->addSeparator();
    QAction* exit = MenuItem(project, "SaveandExit1", tr("Save and E&xit"));
    exit->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_X), QKeySequence(Qt::CTRL | Qt::Key_Q)});
    connect(exit, &QAction::triggered, this, &TMainForm::cancelBClick);
    connect(
        MenuItem(project, "UndoandExit1", tr("Undo and &Exit"), QKeySequence(Qt::ALT | Qt::Key_E)),
        &QAction::triggered, this, &TMainForm::UndoAndExit);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    connect(MenuItem(help, "Help2", tr("&Contents"), Qt::Key_F1), &QAction::triggered, this,
            &TMainForm::HelpClick);
    help->addSeparator();
    connect(MenuItem(help, "About1", tr("About")), &QAction::triggered, this,
            &TMainForm::AboutClick);
}

QWidget* TMainForm::CreateNavigation() {
    outlookBar_ = Named(new QListWidget, "OutlookBar");
    outlookBar_->setViewMode(QListView::IconMode);
    outlookBar_->setFlow(QListView::TopToBottom);
    outlookBar_->setMovement(QListView::Static);
    outlookBar_->setWrapping(false);
    outlookBar_->setIconSize(QSize(32, 32));
    outlookBar_->setSpacing(4);
    outlookBar_->setUniformItemSizes(true);
    outlookBar_->setSelectionMode(QAbstractItemView::SingleSelection);
    outlookBar_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Reached with Tab, so the arrow keys can choose a step; a click leaves
    // the focus in the page.
    outlookBar_->setFocusPolicy(Qt::TabFocus);
    outlookBar_->setStyleSheet(QStringLiteral(
        "QListWidget#OutlookBar { background: #3b4758; border: none; }"
        "QListWidget#OutlookBar::item { color: #f0f0f0; border-radius: 6px; padding: 4px; }"
        "QListWidget#OutlookBar::item:selected { background: #5a7bb0; color: white; }"
        "QListWidget#OutlookBar::item:hover:!selected { background: #4a5870; }"));
    const struct {
        IconKind icon;
        QString text;
    } items[] = {{IconKind::Images, tr("Images")},
                 {IconKind::Music, tr("Music")},
                 {IconKind::Effects, tr("Effects")},
                 {IconKind::Options, tr("Options")},
                 {IconKind::Build, tr("Build")}};
    const QFontMetrics metrics(outlookBar_->font());
    int widest = 32;
    for (const auto& item : items) widest = std::max(widest, metrics.horizontalAdvance(item.text));
    const QSize cell(widest + 20, 32 + metrics.height() + 16);
    for (const auto& item : items) {
        auto* entry = new QListWidgetItem(PaintedIcon(item.icon), item.text, outlookBar_);
        entry->setTextAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        entry->setSizeHint(cell);
    }
    outlookBar_->setFixedWidth(cell.width() + 16);
    return outlookBar_;
}

void TMainForm::CreatePages() {
    pages_ = new QStackedWidget;
    pages_->setObjectName(QStringLiteral("Pages1"));
    imagesPage_ = new ImagesPage(show_);
    musicPage_ = new MusicPage(show_);
    effectsPage_ = new EffectsPage(show_);
    optionsPage_ = new OptionsPage(show_);
    buildPage_ = new BuildPage(show_);
    // In the order of the steps.
    for (QWidget* page : std::initializer_list<QWidget*>{imagesPage_, musicPage_, effectsPage_,
                                                         optionsPage_, buildPage_})
        pages_->addWidget(page);
}

void TMainForm::ConnectPages() {
    optionsPage_->TakePictureChecks(imagesPage_->Model());
    connect(&musicPage_->PlayItem(), &QAction::toggled, this, &TMainForm::UpdateMusicNotes);
    for (MediaListPage* page : std::initializer_list<MediaListPage*>{imagesPage_, musicPage_})
        connect(page, &MediaListPage::StatusMessage, this,
                [this](const QString& text) { statusBar()->showMessage(text, 8000); });
    connect(musicPage_, &MusicPage::NoSound, this, &TMainForm::ReportNoSound);
    connect(effectsPage_, &EffectsPage::CustomizeClicked, this, [this] { Customize(); });
    connect(imagesPage_, &ImagesPage::CustomizeRequested, this, &TMainForm::Customize);
    connect(optionsPage_, &OptionsPage::CustomizeClicked, this, [this] { Customize(); });
    waitForBuildButtons_ << &effectsPage_->CustomizeButton() << &optionsPage_->CustomizeButton();
    connect(buildPage_, &BuildPage::SettingsWanted, this, [this] {
        Mp3LengthTimerTimer();
        CollectSettings(true);
    });
    connect(buildPage_, &BuildPage::BuildingChanged, this, &TMainForm::EnableForBuild);
    connect(buildPage_, &BuildPage::ProgressShown, this, &TMainForm::ShowBuildProgress);
    connect(buildPage_, &BuildPage::StatusMessage, this,
            [this](const QString& text) { statusBar()->showMessage(text, 15000); });
}

QWidget* TMainForm::CreateBottomBar() {
    auto* bar = Named(new QWidget, "Panel1");

    nextB_ = Named(new QToolButton, "nextB", tr("Next Step"));
    nextB_->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    nextB_->setText(tr("Next"));
    nextB_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    nextB_->setLayoutDirection(Qt::RightToLeft);
    backB_ = Named(new QToolButton, "backB", tr("Back"));
    backB_->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    backB_->setText(tr("Back"));
    backB_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    backB_->hide();

    goBuildB_ = Button("goBuildB", tr("Build"), tr("Make the video"));
    QFont bold = goBuildB_->font();
    bold.setBold(true);
    goBuildB_->setFont(bold);
    previewB_ = Button("previewB", tr("Preview"), tr("Play the show on screen"));
    cancelB_ = Button("cancelB", tr("Exit"), tr("Save & Exit"));

    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->addWidget(previewB_);
    layout->addWidget(goBuildB_);
    layout->addStretch();
    layout->addWidget(backB_);
    layout->addWidget(nextB_);
    layout->addSpacing(12);
    layout->addWidget(cancelB_);

    connect(nextB_, &QToolButton::clicked, this, &TMainForm::nextBClick);
    connect(backB_, &QToolButton::clicked, this, &TMainForm::backBClick);
    connect(goBuildB_, &QPushButton::clicked, this, &TMainForm::goBuildBClick);
    connect(previewB_, &QPushButton::clicked, this, &TMainForm::previewBClick);
    connect(cancelB_, &QPushButton::clicked, this, &TMainForm::cancelBClick);
    return bar;
}

}  // namespace app
