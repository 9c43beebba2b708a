#include "app/ImageForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "app/CaptionStyleDialog.h"
#include "app/FitColumn.h"
#include "app/FocusView.h"
#include "app/MainForm.h"
#include "app/MediaListModels.h"
#include "app/MotionColumn.h"
#include "app/ThumbnailPanel.h"
#include "app/UserDialogs.h"
#include "model/CaptionStyle.h"
#include "model/MediaPaths.h"
#include "model/MotionFit.h"
#include "model/MotionSetting.h"
#include "model/PerImage.h"
#include "model/PictureFocus.h"
#include "model/Settings.h"
#include "model/Text.h"
#include "model/TitleCard.h"
#include "subject/SubjectCache.h"

namespace app {

namespace {

QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}

QPushButton* TinyButton(const char* name, const QString& text, const QString& hint) {
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    const int side = button->fontMetrics().height() + 10;
    button->setFixedSize(side, side);
    return button;
}

QTableWidgetItem* Cell(const QString& text, bool editable) {
    auto* item = new QTableWidgetItem(text);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable) flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    return item;
}

}  // namespace

TImageForm::TImageForm(TMainForm& mainForm) : QDialog(nullptr), main_(mainForm) {
    setObjectName(QStringLiteral("ImageForm"));
    setWindowTitle(tr("Customize Caption and Transition Effects individually"));
    setSizeGripEnabled(true);
    // Room for the caption beside the other columns, and for the focus view
    // under the thumbnail.
    resize(1040, 600);

    CreateGrid();
    // Tab goes as the eye does: the grid, the tree's tools, the tree and its
    // choices, then the buttons along the bottom.
    QList<QWidget*> order = {sg_};
    auto* body = new QHBoxLayout;
    body->addWidget(sg_, 5);
    body->addWidget(CreateSide(order), 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(CreateBottom(order));
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

    connect(sg_, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previousRow, int) {
                if (!filling_ && row != previousRow) sgClick();
            });
    connect(sg_, &QTableWidget::cellClicked, this, [this] { sgClick(); });
    connect(&nt_.ItemModel(), &QStandardItemModel::itemChanged, this, [this] { NTChecked(); });
    connect(defaultRadio_, &QRadioButton::clicked, this, &TImageForm::DefaultRadioClick);
    connect(ntView_, &QTreeView::clicked, this, &TImageForm::NTClick);
    connect(fsPanel_, &ThumbnailPanel::Clicked, this, &TImageForm::Image1Click);
    connect(fsPanel_, &ThumbnailPanel::PictureShown, this, &TImageForm::TakeShownPicture);
    connect(&main_.Images(), &ImageListModel::SubjectFound, this, &TImageForm::TakeFoundSubject);
}

void TImageForm::CreateGrid() {
    sg_ = new QTableWidget(0, 7, this);
    sg_->setObjectName(QStringLiteral("sg"));
    sg_->setHorizontalHeaderLabels({tr("Image File"), tr("Caption"), tr("Effects"),
                                    tr("Interval (seconds)"), tr("Motion"), tr("Fit"), QString()});
    sg_->setItemDelegateForColumn(kMotionColumn, new MotionDelegate(sg_));
    sg_->setItemDelegateForColumn(kFitColumn, new FitDelegate(sg_));
    sg_->setColumnHidden(kPathColumn, true);
    sg_->verticalHeader()->hide();
    sg_->verticalHeader()->setDefaultSectionSize(sg_->fontMetrics().height() + 8);
    sg_->setShowGrid(false);
    sg_->setAlternatingRowColors(true);
    sg_->setSelectionMode(QAbstractItemView::SingleSelection);
    sg_->setSelectionBehavior(QAbstractItemView::SelectItems);
    sg_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    sg_->setTabKeyNavigation(true);
    sg_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QHeaderView* header = sg_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->resizeSection(kFileColumn, 120);
    header->resizeSection(kCaptionColumn, 220);
    header->resizeSection(kEffectsColumn, 100);
    // Wide enough for its heading, which names the unit of the cells.
    header->resizeSection(kIntervalColumn, header->fontMetrics().horizontalAdvance(
                                               sg_->horizontalHeaderItem(kIntervalColumn)->text()) +
                                               24);
    header->resizeSection(kMotionColumn, 110);
    header->resizeSection(kFitColumn, 100);
    // The caption, what is typed here most, keeps its width in a narrow
    // dialog (the columns after it scroll); a wide one gives the room to
    // the last column.
    header->setStretchLastSection(true);
}

QWidget* TImageForm::CreateSide(QList<QWidget*>& tabOrder) {
    auto* selectAll = TinyButton("selectall1", QStringLiteral("A"), tr("Select All"));
    auto* selectNone = TinyButton("selectnone1", QStringLiteral("N"), tr("Select None"));
    auto* expand = TinyButton("expandnodes1", QStringLiteral("+"), tr("Expand all"));
    auto* collapse = TinyButton("collapsenodes1", QStringLiteral("-"), tr("Collapse all"));

    ntView_ = new QTreeView(this);
    ntView_->setObjectName(QStringLiteral("NT"));
    ntView_->setModel(&nt_.ItemModel());
    ntView_->setHeaderHidden(true);
    ntView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ntView_->setSelectionMode(QAbstractItemView::SingleSelection);
    ntView_->setMinimumSize(181, 150);

    defaultRadio_ = new QRadioButton(tr("Use Default"), this);
    defaultRadio_->setObjectName(QStringLiteral("DefaultRadio"));
    defaultRadio_->setChecked(true);
    custRadio_ = new QRadioButton(tr("Customized"), this);
    custRadio_->setObjectName(QStringLiteral("CustRadio"));

    fsPanel_ = new ThumbnailPanel(QStringLiteral("Image1"), QStringLiteral("previewOverlay"), 175,
                                  110, this);
    fsPanel_->setObjectName(QStringLiteral("fsPanel"));
    fsPanel_->setToolTip(tr("Click to open ..."));
    fsPanel_->SetPanelColor(Qt::black);

    captionCheck_ = new QCheckBox(tr("Show image caption in video"), this);
    captionCheck_->setObjectName(QStringLiteral("captionCheck"));
    captionStyle_ = new QPushButton(tr("Caption st&yle..."), this);
    captionStyle_->setObjectName(QStringLiteral("captionStyle"));
    captionStyle_->setToolTip(tr("The selected picture's own caption style, or the show's"));
    captionStyle_->setAutoDefault(false);

    auto* treeTools = new QHBoxLayout;
    auto* selectLabel = new QLabel(tr("Select Effects:"), this);
    selectLabel->setObjectName(QStringLiteral("selecteffects1"));
    treeTools->addWidget(selectLabel);
    treeTools->addStretch();
    for (QPushButton* button : {selectAll, selectNone, expand, collapse}) {
        button->setAutoDefault(false);
        treeTools->addWidget(button);
    }

    auto* radios = new QHBoxLayout;
    radios->addWidget(defaultRadio_);
    radios->addWidget(custRadio_);
    radios->addStretch();

    auto* side = new QWidget(this);
    side->setObjectName(QStringLiteral("Panel1"));
    side->setMinimumWidth(qMax(250, fsPanel_->minimumWidth() + 28));
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addLayout(treeTools);
    sideLayout->addWidget(ntView_, 1);
    sideLayout->addLayout(radios);
    sideLayout->addWidget(fsPanel_);
    QList<QWidget*> focusOrder;
    sideLayout->addLayout(CreateFocusRow(focusOrder));
    auto* captionRow = new QHBoxLayout;
    captionRow->addWidget(captionCheck_, 1);
    captionRow->addWidget(captionStyle_);
    sideLayout->addLayout(captionRow);

    tabOrder << selectAll << selectNone << expand << collapse << ntView_ << defaultRadio_
             << custRadio_ << focusOrder << captionCheck_ << captionStyle_;
    connect(captionStyle_, &QPushButton::clicked, this, &TImageForm::EditCaptionStyle);
    connect(selectAll, &QPushButton::clicked, this, [this] { nt_.SetAllChecked(true); });
    connect(selectNone, &QPushButton::clicked, this, [this] { nt_.SetAllChecked(false); });
    connect(expand, &QPushButton::clicked, ntView_, &QTreeView::expandAll);
    connect(collapse, &QPushButton::clicked, ntView_, &QTreeView::collapseAll);
    return side;
}

QLayout* TImageForm::CreateFocusRow(QList<QWidget*>& tabOrder) {
    focusView_ = new FocusView(this);
    focusView_->setObjectName(QStringLiteral("focusView"));
    clearFocus_ = new QPushButton(tr("Clear focus"), this);
    clearFocus_->setObjectName(QStringLiteral("clearFocus"));
    clearFocus_->setToolTip(tr("Pan and zoom aim at the faces found again, or at the middle"));
    clearFocus_->setAutoDefault(false);
    clearFocus_->setEnabled(false);

    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    buttons->addWidget(clearFocus_);
    auto* row = new QHBoxLayout;
    row->addWidget(focusView_, 1);
    row->addLayout(buttons);

    tabOrder << focusView_ << clearFocus_;
    connect(focusView_, &FocusView::FocusPointEdited, this, &TImageForm::FocusEdited);
    connect(clearFocus_, &QPushButton::clicked, this, [this] {
        focusView_->SetFocusPoint(std::nullopt);
        FocusEdited();
    });
    return row;
}

QLayout* TImageForm::CreateBottom(QList<QWidget*>& tabOrder) {
    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label1_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* reset = new QPushButton(tr("Reset"), this);
    reset->setObjectName(QStringLiteral("reset1"));
    reset->setToolTip(tr("Reset the captions, intervals and transitions of every picture"));
    reset->setAutoDefault(false);
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("ok1"));
    ok->setToolTip(tr("Save and Exit"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel1"));
    cancel->setToolTip(tr("Undo and Exit"));
    cancel->setAutoDefault(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(label1_, 1);
    bottom->addWidget(reset);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);

    tabOrder << reset << ok << cancel;
    connect(reset, &QPushButton::clicked, this, &TImageForm::ResetClick);
    connect(ok, &QPushButton::clicked, this, &TImageForm::OkClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    return bottom;
}

TImageForm::~TImageForm() {
    FreeEffectPreview();
}

void TImageForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!centred_) {
        // The main window is hidden meanwhile, so the screen is the reference.
        if (const QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
        centred_ = true;
    }
    // Shown again while open (restored after minimising): filling the grid
    // anew would drop what was typed.
    if (open_) return;
    open_ = true;
    Open();
}

int TImageForm::CurrentRow() const {
    const int row = sg_->currentRow();
    return row >= 0 && row < sg_->rowCount() ? row : -1;
}

std::vector<std::string> TImageForm::GridPaths() const {
    std::vector<std::string> paths;
    for (int row = 0; row < sg_->rowCount(); ++row)
        if (const QString path = PathOfRow(row); !path.isEmpty())
            paths.push_back(path.toStdString());
    return paths;
}

QString TImageForm::PathOfRow(int row) const {
    if (row < 0 || row >= sg_->rowCount()) return {};
    const QTableWidgetItem* item = sg_->item(row, kPathColumn);
    return item != nullptr ? item->text() : QString();
}

model::IniFile& TImageForm::Notes() {
    return main_.WorkingShow().notes;
}

void TImageForm::Open() {
    // Every picture the show would use, in its order.
    std::vector<std::string> pictures;
    main_.Images().List().CollectInto(
        pictures, model::FolderTypesOf(main_.WorkingShow().settings.FolderAllTypes));

    filling_ = true;
    sg_->clearContents();
    sg_->setRowCount(static_cast<int>(pictures.size()));
    const QString defaultInterval = QString::number(main_.WorkingShow().settings.ImageInterval);
    for (int row = 0; row < static_cast<int>(pictures.size()); ++row) {
        const std::string& path = pictures[static_cast<size_t>(row)];
        const QString fileName = model::IsTitleCard(path)
                                     ? tr("Title card")
                                     : ToQt(path.substr(path.find_last_of('/') + 1));
        sg_->setItem(row, kFileColumn, Cell(fileName, false));
        sg_->setItem(row, kCaptionColumn, Cell(ToQt(main_.WorkingShow().CaptionOf(path)), true));
        sg_->setItem(row, kPathColumn, Cell(ToQt(path), false));
        const bool customized = model::OwnEntry(Notes(), model::kEffectsSection, path).has_value();
        sg_->setItem(row, kEffectsColumn,
                     Cell(customized ? tr("Customized") : tr("Default"), false));
        const std::optional<std::string> interval =
            model::OwnEntry(Notes(), model::kIntervalsSection, path);
        sg_->setItem(row, kIntervalColumn,
                     Cell(interval ? ToQt(*interval) : defaultInterval, true));
        sg_->setItem(row, kMotionColumn, MotionCell(model::OwnMotion(Notes(), path)));
        sg_->setItem(row, kFitColumn, FitCell(model::OwnMotionFit(Notes(), path)));
    }
    // The row asked for: the picture itself, else the first one of its folder.
    int first = 0;
    if (const std::string wanted = std::exchange(startAt_, {}); !wanted.empty()) {
        std::string resolved = wanted;
        if (!model::IsTitleCard(resolved)) model::ResolveMediaPath(resolved);
        const auto at = std::find_if(pictures.begin(), pictures.end(), [&](const std::string& p) {
            return p == resolved || (resolved.ends_with('/') && p.starts_with(resolved));
        });
        if (at != pictures.end()) first = static_cast<int>(at - pictures.begin());
    }
    if (!pictures.empty()) sg_->setCurrentCell(first, kCaptionColumn);
    filling_ = false;

    if (pictures.empty()) {
        label1_->clear();
        label1_->setToolTip(QString());
    } else {
        SelectRow(first);
    }
    defaultSignature_ = model::TreeStateText(main_.EffectTree());
    captionCheck_->setChecked(main_.WorkingShow().settings.ShowCaption);
}

void TImageForm::SelectRow(int row) {
    const QString path = PathOfRow(row);
    label1_->setText(tr("Image File: ") + path);
    label1_->setToolTip(path);
    ShowFocusOf(path.toStdString());
    if (model::IsTitleCard(path.toStdString())) {
        // A card is no file: the panel says what it is rather than "not found".
        fsPanel_->ClearPicture();
        fsPanel_->ShowOverlay(tr("Title card"));
    } else {
        fsPanel_->ShowPictureOf(path, main_.WorkingShow().settings.BackgroundColor);
    }
    LoadSelection(path.toStdString());
}

void TImageForm::sgClick() {
    if (PathOfRow(0).isEmpty()) return;
    const int row = CurrentRow();
    if (row < 0) return;
    SelectRow(row);
    fsPanel_->SetPictureVisible(true);
    HideEffectPreview();
}

void TImageForm::CopyMainTreeStates() {
    const model::EffectTree& main = main_.EffectTree();
    QStandardItemModel& copy = nt_.ItemModel();
    for (int c = 0; c < main.CategoryCount() && c < nt_.CategoryCount(); ++c) {
        copy.item(c)->setCheckState(main.CategoryState(c));
        for (int e = 0; e < main.EffectCount(c) && e < nt_.EffectCount(c); ++e)
            nt_.SetEffectChecked(c, e, main.EffectChecked(c, e));
    }
}

void TImageForm::LoadSelection(const std::string& path) {
    loading_ = false;
    model::EffectTree& main = main_.EffectTree();
    if (!ntBuilt_ || nt_.NodeCount() != main.NodeCount()) {
        main_.BuildEffectTree();
        // The copy comes from the same catalogue as the main tree.
        nt_.MarkForRebuild();
        nt_.Build(model::CatalogueStore(), model::StyleSet{});
        ntBuilt_ = true;
    }
    CopyMainTreeStates();

    radioSwitch_ = false;
    const std::optional<std::string> own = model::OwnEntry(Notes(), model::kEffectsSection, path);
    SetRadios(own.has_value());
    if (own) nt_.ApplySelection(model::ParseStyleSet(*own));
    radioSwitch_ = true;
    loading_ = true;
}

void TImageForm::SetRadios(bool customized) {
    custRadio_->setChecked(customized);
    defaultRadio_->setChecked(!customized);
}

void TImageForm::NTChecked() {
    if (!loading_) return;
    radioSwitch_ = false;
    const bool customized = model::TreeStateText(nt_) != defaultSignature_;
    SetRadios(customized);
    radioSwitch_ = true;
    const int row = CurrentRow();
    const QString path = PathOfRow(row);
    if (!customized || path.isEmpty()) return;
    model::AdoptFileNameKeys(Notes(), model::kEffectsSection, GridPaths());
    model::SetOwnEntry(Notes(), model::kEffectsSection, path.toStdString(),
                       model::StyleListText(nt_));
    sg_->item(row, kEffectsColumn)->setText(tr("Customized"));
}

void TImageForm::DefaultRadioClick() {
    if (!radioSwitch_ || !defaultRadio_->isChecked()) return;
    // The copy is the show-wide selection itself, so it must not be stored
    // as the picture's own.
    const bool wasLoading = loading_;
    loading_ = false;
    CopyMainTreeStates();
    loading_ = wasLoading;
    const int row = CurrentRow();
    QTableWidgetItem* effects = row >= 0 ? sg_->item(row, kEffectsColumn) : nullptr;
    if (effects == nullptr || effects->text().isEmpty()) return;
    effects->setText(tr("Default"));
    model::AdoptFileNameKeys(Notes(), model::kEffectsSection, GridPaths());
    model::SetOwnEntry(Notes(), model::kEffectsSection, PathOfRow(row).toStdString(), std::nullopt);
}

void TImageForm::Image1Click() {
    const QString path = PathOfRow(CurrentRow());
    if (!path.isEmpty() && !model::IsTitleCard(path.toStdString()))
        Dialogs().OpenUrl(QUrl::fromLocalFile(path));
}

void TImageForm::ShowFocusOf(const std::string& path) {
    // The thumbnail comes from the panel once it has read it.
    focusView_->SetPicture(QPixmap());
    std::optional<motion::Subject> found;
    if (!path.empty()) found = subject::ReadCachedSubject(subject::DefaultSubjectFolder(), path);
    focusView_->SetSubject(found.value_or(motion::Subject{}));
    const auto pending = pendingFocus_.find(path);
    focusView_->SetFocusPoint(pending != pendingFocus_.end() ? pending->second
                              : path.empty()                 ? std::nullopt
                                                             : model::OwnFocus(Notes(), path));
    clearFocus_->setEnabled(focusView_->FocusPoint().has_value());
}

void TImageForm::TakeShownPicture() {
    const QString path = PathOfRow(CurrentRow());
    if (!path.isEmpty() && fsPanel_->PicturePath() == path)
        focusView_->SetPicture(fsPanel_->Picture());
}

void TImageForm::TakeFoundSubject(const QString& path) {
    if (path != PathOfRow(CurrentRow())) return;
    if (const auto found =
            subject::ReadCachedSubject(subject::DefaultSubjectFolder(), path.toStdString()))
        ShowSubject(path, *found);
}

void TImageForm::ShowSubject(const QString& path, const motion::Subject& subject) {
    if (!path.isEmpty() && path == PathOfRow(CurrentRow())) focusView_->SetSubject(subject);
}

void TImageForm::FocusEdited() {
    const std::string path = PathOfRow(CurrentRow()).toStdString();
    if (path.empty()) return;
    pendingFocus_[path] = focusView_->FocusPoint();
    clearFocus_->setEnabled(focusView_->FocusPoint().has_value());
}

void TImageForm::EditCaptionStyle() {
    const int row = CurrentRow();
    const std::string path = PathOfRow(row).toStdString();
    if (path.empty()) return;
    const auto pending = pendingStyles_.find(path);
    const std::optional<model::CaptionStyle> own =
        pending != pendingStyles_.end() ? pending->second : model::OwnCaptionStyle(Notes(), path);
    const model::Show& show = main_.WorkingShow();
    CaptionStyleDialog dialog(show.settings, show.settings.Caption, own,
                              sg_->item(row, kCaptionColumn)->text().toStdString(), this);
    if (Dialogs().RunModal(dialog) == QDialog::Accepted) pendingStyles_[path] = dialog.Style();
}

void TImageForm::OkClick() {
    main_.WorkingShow().settings.ShowCaption = captionCheck_->isChecked();
    hide();
    // Every row is written under its own path; the file-name entries of older
    // files are taken over first, so one shared by two rows stays with both.
    const std::vector<std::string> paths = GridPaths();
    for (const char* section : model::PerPictureSections())
        model::AdoptFileNameKeys(Notes(), section, paths);
    for (int row = 0; row < sg_->rowCount(); ++row) {
        const std::string path = PathOfRow(row).toStdString();
        if (path.empty()) continue;
        const std::string caption = sg_->item(row, kCaptionColumn)->text().toStdString();
        const std::string fileName = sg_->item(row, kFileColumn)->text().toStdString();
        if (std::optional<model::TitleCard> card = model::ReadTitleCard(Notes(), path)) {
            // A card's caption is its title.
            card->title = caption;
            model::WriteTitleCard(Notes(), path, *card);
        } else {
            model::SetOwnEntry(Notes(), model::kCaptionsSection, path,
                               model::CaptionDefault(fileName) != caption
                                   ? std::optional<std::string>(caption)
                                   : std::nullopt);
        }

        const std::string interval = sg_->item(row, kIntervalColumn)->text().toStdString();
        const int32_t seconds =
            model::ParseInteger(interval).value_or(main_.WorkingShow().settings.ImageInterval);
        model::SetOwnEntry(Notes(), model::kIntervalsSection, path,
                           seconds != main_.WorkingShow().settings.ImageInterval
                               ? std::optional<std::string>(interval)
                               : std::nullopt);
        model::SetOwnMotion(Notes(), path, MotionOfCell(*sg_->item(row, kMotionColumn)));
        model::SetOwnMotionFit(Notes(), path, FitOfCell(*sg_->item(row, kFitColumn)));
        if (const auto style = pendingStyles_.find(path); style != pendingStyles_.end())
            model::SetOwnCaptionStyle(Notes(), path, style->second);
        if (const auto focus = pendingFocus_.find(path); focus != pendingFocus_.end())
            model::SetOwnFocus(Notes(), path, focus->second);
    }
    pendingStyles_.clear();
    pendingFocus_.clear();
    sgClick();
    accept();
}

void TImageForm::ResetClick() {
    if (!Dialogs().Confirm(
            this, tr("Reset the captions, intervals, motions, focus points and transitions of all "
                     "pictures to their defaults?")))
        return;
    for (const char* section : model::PerPictureSections()) Notes().EraseSection(section);
    pendingStyles_.clear();
    pendingFocus_.clear();
    ntBuilt_ = false;
    Open();
}

void TImageForm::done(int result) {
    open_ = false;
    // Styles and focus points chosen for pictures count only through "OK".
    pendingStyles_.clear();
    pendingFocus_.clear();
    FreeEffectPreview();
    QDialog::done(result);
}

}  // namespace app
