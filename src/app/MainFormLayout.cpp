// The controls of the main window and their places. Sizes come from the
// layouts; the design sizes only set minimums and proportions.
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/BackgroundPreview.h"
#include "app/ColorComboBox.h"
#include "app/Icons.h"
#include "app/ListRowDelegate.h"
#include "app/MainForm.h"
#include "app/MediaListModels.h"
#include "app/PictureView.h"
#include "app/ProportionalFrame.h"
#include "app/ThumbnailPanel.h"
#include "app/WidgetFactory.h"

namespace app {

namespace {

// A radio group: a titled box with one radio button per item, numbered
// from 0 in the button group.
QButtonGroup* RadioGroup(QGroupBox* box, const QStringList& items, const char* itemPrefix) {
    auto* group = new QButtonGroup(box);
    auto* layout = new QVBoxLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        radio->setObjectName(QLatin1String(itemPrefix) + QString::number(i));
        group->addButton(radio, i);
        layout->addWidget(radio);
    }
    return group;
}

QImage DecorativePicture() {
    QImage picture(360, 240, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(0x1c, 0x3f, 0x8f));
    sky.setColorAt(1, QColor(0x6a, 0xa7, 0xe8));
    painter.fillRect(picture.rect(), sky);
    PaintedIcon(IconKind::Build).paint(&painter, QRect(100, 40, 160, 160));
    return picture;
}

}  // namespace

void TMainForm::CreateMenus() {
    QMenu* project = menuBar()->addMenu(tr("&Project"));
    project->setObjectName(QStringLiteral("Project1"));
    QAction* load = MenuItem(project, "LoadProject1", tr("&Load Project"), Qt::Key_F3);
    connect(load, &QAction::triggered, this, &TMainForm::LoadProject);
    connect(MenuItem(project, "Save1", tr("&Save Project"), Qt::Key_F4), &QAction::triggered, this,
            &TMainForm::SaveProject);
    connect(MenuItem(project, "SaveProject1", tr("Save Project &As..."), Qt::Key_F5),
            &QAction::triggered, this, &TMainForm::SaveProjectAs);
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
    waitForBuildActions_ = {preview, load};
    project->addSeparator();
    connect(
        MenuItem(project, "SaveandExit1", tr("Save and E&xit"), QKeySequence(Qt::ALT | Qt::Key_X)),
        &QAction::triggered, this, &TMainForm::cancelBClick);
    connect(
        MenuItem(project, "UndoandExit1", tr("Undo and &Exit"), QKeySequence(Qt::ALT | Qt::Key_E)),
        &QAction::triggered, this, &TMainForm::UndoAndExit);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    connect(MenuItem(help, "Help2", tr("&Contents"), Qt::Key_F1), &QAction::triggered, this,
            &TMainForm::HelpClick);
    help->addSeparator();
    connect(MenuItem(help, "HomePage1", tr("&Home Page")), &QAction::triggered, this,
            &TMainForm::HomePageClick);
    connect(MenuItem(help, "Email1", tr("Email...")), &QAction::triggered, this,
            &TMainForm::EmailClick);
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

QWidget* TMainForm::CreateEffectsPage() {
    auto* page = Named(new QWidget, "EffectTab");

    styleList_ = Named(new QTreeView, "StyleList");
    styleList_->setModel(&effectTree_.ItemModel());
    styleList_->setHeaderHidden(true);
    styleList_->setRootIsDecorated(true);
    styleList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    styleList_->setSelectionMode(QAbstractItemView::SingleSelection);
    styleList_->setContextMenuPolicy(Qt::PreventContextMenu);
    styleList_->setMinimumSize(200, 150);

    auto* expand = Button("expandnodes1", QStringLiteral("+"), tr("Expand all"));
    auto* collapse = Button("collapsenodes1", QStringLiteral("-"), tr("Collapse all"));
    for (QPushButton* small : {expand, collapse})
        small->setMaximumWidth(small->sizeHint().height() * 2);
    auto* selectAll = Button("selectall1", tr("Select All"), tr("Use every effect"));
    auto* disableAll = Button("disableall1", tr("Disable All"), tr("Use no effect"));
    auto* customize = Button("customize1", tr("Customize..."),
                             tr("Give pictures their own caption, interval and effects"));

    fsPanel2_ =
        Named(new ProportionalFrame(144, 108), "fsPanel2", tr("Preview of the selected effect"));
    fsPanel2_->setFrameShape(QFrame::StyledPanel);
    fsPanel2_->setFrameShadow(QFrame::Sunken);
    fsPanel2_->setAutoFillBackground(true);
    QPalette black = fsPanel2_->palette();
    black.setColor(QPalette::Window, Qt::black);
    fsPanel2_->setPalette(black);

    speedEdit2_ = Named(new QSpinBox, "SpeedEdit2", tr("1 is the fastest, 5 the slowest"));
    speedEdit2_->setRange(1, 5);
    intervalEdit_ = Named(new QSpinBox, "IntervalEdit", tr("Seconds each picture stays on screen"));
    intervalEdit_->setRange(1, 10000);
    intervalEdit_->setSuffix(tr(" seconds"));

    auto* tools = new QHBoxLayout;
    tools->addWidget(expand);
    tools->addWidget(collapse);
    tools->addStretch();
    tools->addWidget(selectAll);
    tools->addWidget(disableAll);

    auto* treeColumn = new QVBoxLayout;
    treeColumn->addWidget(styleList_, 1);
    treeColumn->addLayout(tools);

    auto* form = new QFormLayout;
    // Numbers keep the width of their digits, however wide the column grows.
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    auto* speedLabel = Label("Label3", tr("Transition speed:"));
    auto* intervalLabel = Label("Label4", tr("Redraw interval:"));
    speedLabel->setBuddy(speedEdit2_);
    intervalLabel->setBuddy(intervalEdit_);
    auto* speedRow = new QHBoxLayout;
    speedRow->addWidget(speedEdit2_);
    speedRow->addWidget(Label("speedNote", tr("1 = fastest, 5 = slowest")));
    form->addRow(speedLabel, speedRow);
    form->addRow(intervalLabel, intervalEdit_);

    auto* side = new QVBoxLayout;
    side->addWidget(fsPanel2_);
    side->addLayout(form);
    side->addWidget(customize, 0, Qt::AlignLeft);
    side->addStretch();

    auto* body = new QHBoxLayout;
    body->addLayout(treeColumn, 3);
    body->addLayout(side, 2);

    catalogueNote_ = Label("catalogueNote", QString());
    catalogueNote_->setWordWrap(true);
    catalogueNote_->hide();

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Label("selecttransition1", tr("Select transition effects:")));
    layout->addWidget(catalogueNote_);
    layout->addLayout(body, 1);

    // Every fill of the tree shows all effects, also one made by a project load.
    connect(&effectTree_.ItemModel(), &QAbstractItemModel::rowsInserted, styleList_,
            [this](const QModelIndex& parent, int first, int last) {
                if (parent.isValid()) return;
                for (int row = first; row <= last; ++row)
                    styleList_->expand(effectTree_.ItemModel().index(row, 0));
            });
    connect(expand, &QPushButton::clicked, styleList_, &QTreeView::expandAll);
    connect(collapse, &QPushButton::clicked, styleList_, &QTreeView::collapseAll);
    connect(selectAll, &QPushButton::clicked, this, [this] { effectTree_.SetAllChecked(true); });
    connect(disableAll, &QPushButton::clicked, this, [this] { effectTree_.SetAllChecked(false); });
    connect(customize, &QPushButton::clicked, this, &TMainForm::Customize);
    waitForBuildButtons_ << customize;
    connect(styleList_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TMainForm::StyleListSelectionChanged);
    connect(speedEdit2_, &QSpinBox::valueChanged, this, &TMainForm::SpeedOrIntervalChanged);
    connect(intervalEdit_, &QSpinBox::valueChanged, this, &TMainForm::SpeedOrIntervalChanged);
    return page;
}

QWidget* TMainForm::CreateOptionsPage() {
    auto* page = Named(new QWidget, "optionTab");

    auto* videoBox = Named(new QGroupBox(tr("Video Format")), "VideoGroup");
    videoGroup_ = RadioGroup(videoBox, {tr("VCD"), tr("SVCD"), tr("DVD")}, "VideoGroup");
    auto* tvBox = Named(new QGroupBox(tr("Television Standards")), "tvGroup");
    tvGroup_ = RadioGroup(tvBox,
                          {tr("PAL (Europe, Australia, China, India...)"),
                           tr("NTSC (United States, Japan, Korea...)")},
                          "tvGroup");
    auto* syncBox = Named(new QGroupBox(tr("Video Synchronization")), "syncGroup");
    syncGroup_ = RadioGroup(
        syncBox, {tr("Current length:"), tr("Fit to images:"), tr("Fit to music:")}, "syncGroup");

    auto* background = Named(new QGroupBox(tr("Background")), "GroupBox1");
    backColorRadio_ = Named(new QRadioButton(tr("Use solid color: ")), "BackColorRadio");
    backcolorCb_ = Named(new ColorComboBox, "BackcolorCb", tr("Colour behind the pictures"));
    backImageRadio_ = Named(new QRadioButton(tr("Use Image: ")), "BackImageRadio");
    auto* select = Button("FlatButton29", tr("Select..."), tr("Choose the background picture"));
    backImage_ = Named(new BackgroundPreview, "BackImage");
    backTiledRadio_ = Named(new QRadioButton(tr("Tiled")), "BackTiledRadio");
    backStretchRadio_ = Named(new QRadioButton(tr("Stretch")), "BackStretrchRadio");
    auto* modeGroup = new QButtonGroup(background);
    modeGroup->addButton(backColorRadio_);
    modeGroup->addButton(backImageRadio_);
    auto* drawGroup = new QButtonGroup(background);
    drawGroup->addButton(backTiledRadio_);
    drawGroup->addButton(backStretchRadio_);

    auto* drawMode = new QHBoxLayout;
    drawMode->addWidget(Label("Label5", tr("Draw mode:")));
    drawMode->addWidget(backTiledRadio_);
    drawMode->addWidget(backStretchRadio_);
    drawMode->addStretch();

    // The controls keep their own widths on the left; the preview takes the
    // rest of the box, across and down, and draws itself in the proportions
    // of the screen within it.
    auto* grid = new QGridLayout(background);
    grid->addWidget(backColorRadio_, 0, 0);
    grid->addWidget(backcolorCb_, 0, 1);
    grid->addWidget(backImageRadio_, 1, 0);
    grid->addWidget(select, 1, 1);
    grid->addLayout(drawMode, 2, 0, 1, 2);
    grid->addWidget(backImage_, 0, 2, 4, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(3, 1);

    auto* customize = Button("FlatButton5", tr("Customize caption and effects..."),
                             tr("Give pictures their own caption, interval and effects"));

    auto* left = new QVBoxLayout;
    left->addWidget(videoBox);
    left->addWidget(tvBox);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(syncBox);
    right->addWidget(background, 1);
    auto* customizeRow = new QHBoxLayout;
    customizeRow->addStretch();
    customizeRow->addWidget(customize);
    right->addLayout(customizeRow);

    // The radio groups need only their texts' width; the background and
    // its preview get what the window has to spare.
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(select, &QPushButton::clicked, this, &TMainForm::SelectBackgroundPicture);
    connect(customize, &QPushButton::clicked, this, &TMainForm::Customize);
    waitForBuildButtons_ << customize;
    return page;
}

QWidget* TMainForm::CreateBuildPage() {
    auto* page = Named(new QWidget, "BuildTab");

    auto* frame = Named(new QFrame, "Panel3");
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    bImage_ = Named(new PictureView, "bImage");
    bImage_->setMinimumSize(160, 120);
    bImage_->SetPicture(DecorativePicture());
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(2, 2, 2, 2);
    frameLayout->addWidget(bImage_);

    buildButton_ = Button("buildButton", tr("Build"), tr("Make the video"));
    QFont bold = buildButton_->font();
    bold.setBold(true);
    buildButton_->setFont(bold);
    abortButton_ = Button("abortButton", tr("Abort"), tr("Stop the running build"));
    abortButton_->setEnabled(false);

    bLabel_ = Label("bLabel", tr("Progress: 0%    Remaining Time: 00:00:00"));
    bLabel_->setAlignment(Qt::AlignCenter);
    bLabel_->hide();
    buildProgress_ = Named(new QProgressBar, "buildProgress");
    buildProgress_->setRange(0, 100);
    buildProgress_->setValue(0);
    buildProgress_->setTextVisible(false);  // the label below says it
    buildProgress_->hide();
    buildMusicNote_ =
        Label("buildMusicNote", tr("Background music is off: the video will be silent."));
    buildMusicNote_->setAlignment(Qt::AlignCenter);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(buildButton_);
    buttons->addWidget(abortButton_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(frame, 1);
    layout->addWidget(buildProgress_);
    layout->addWidget(bLabel_);
    layout->addWidget(buildMusicNote_);
    layout->addLayout(buttons);

    connect(buildButton_, &QPushButton::clicked, this, &TMainForm::buildButtonClick);
    connect(abortButton_, &QPushButton::clicked, this, &TMainForm::abortButtonClick);
    return page;
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
