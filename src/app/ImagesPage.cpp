#include "app/ImagesPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ImageSort.h"
#include "app/ListRowDelegate.h"
#include "app/MediaListModels.h"
#include "app/PictureFormats.h"
#include "app/StoryboardView.h"
#include "app/ThumbnailPanel.h"
#include "app/ThumbnailService.h"
#include "app/Thumbnails.h"
#include "app/TitleCardDialog.h"
#include "app/UserDialogs.h"
#include "app/WidgetFactory.h"
#include "base/WorkQueue.h"
#include "model/CaptionStyle.h"
#include "model/FileIo.h"
#include "model/MediaPaths.h"
#include "model/RecentProjects.h"
#include "model/Settings.h"
#include "showbuild/ShowTiming.h"

namespace app {

namespace {

// How many pictures the show takes from a folder: its own JPEG, GIF and BMP
// files, or its pictures of every type when the option says so.
size_t PicturesInFolder(const std::string& folder, bool allTypes) {
    std::vector<std::string> pictures;
    model::ExpandImageFolder(folder, pictures, model::FolderTypesOf(allTypes));
    return pictures.size();
}

// A folder the show would take nothing from is easily mistaken for one
// whose sub-folders hold the pictures.
QString EmptyFoldersNote(int count, bool allTypes) {
    if (allTypes)
        return ImagesPage::tr(
            "%n folder(s) without pictures of their own; sub-folders are not searched.", nullptr,
            count);
    return ImagesPage::tr(
        "%n folder(s) without JPEG, GIF or BMP files of their own; sub-folders are not searched.",
        nullptr, count);
}

// The user's choice of view and tile size: how this user likes to work, not
// part of any project, so it is kept with the recent projects.
constexpr const char* kStoryboardKey = "Storyboard";
constexpr const char* kTileSizeKey = "StoryboardTileSize";

}  // namespace

// The entries as they were when the sort began, and the order found for them.
struct ImagesPage::SortJob {
    std::vector<model::TImageEntry> entries;
    std::vector<size_t> order;
};

ImagesPage::ImagesPage(model::Show& show, QWidget* parent) : MediaListPage(parent), show_(show) {
    setObjectName(QStringLiteral("ImageTab"));
    imageModel_ = new ImageListModel(this);
    imageList_ = Named(new QListView, "ImageList");
    imageList_->setModel(imageModel_);
    imageList_->setSelectionMode(QAbstractItemView::SingleSelection);
    imageList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    imageList_->setTextElideMode(Qt::ElideNone);
    imageList_->setUniformItemSizes(true);
    imageList_->setIconSize(QSize(16, 16));
    imageList_->setItemDelegate(new ListRowDelegate(true, imageList_));
    imageList_->setAcceptDrops(true);
    imageList_->setDragDropMode(QAbstractItemView::DropOnly);
    imageList_->setDropIndicatorShown(false);
    imageList_->setMinimumSize(200, 150);
    Attach(*imageModel_, *imageList_, tr("Clear all images?"));

    thumbnails_ = new ThumbnailService({}, this);
    storyboard_ = Named(new StoryboardView(show_, *thumbnails_), "Storyboard");
    storyboard_->setMinimumSize(200, 150);
    AttachAlso(*storyboard_);
    connect(storyboard_, &StoryboardView::FilesDropped, this,
            [this](const QStringList& paths, int notLocal, int row) {
                AddDropped(paths, notLocal, row);
            });
    views_ = new QStackedWidget;
    views_->addWidget(imageList_);
    views_->addWidget(storyboard_);

    // Every change of the list renumbers the tiles, once per turn of the
    // event loop however many rows changed.
    recount_ = new QTimer(this);
    recount_->setSingleShot(true);
    recount_->setInterval(0);
    connect(recount_, &QTimer::timeout, this, &ImagesPage::Recount);
    const auto listChanged = [this] { recount_->start(); };
    connect(imageModel_, &QAbstractItemModel::rowsInserted, this, listChanged);
    connect(imageModel_, &QAbstractItemModel::rowsRemoved, this, listChanged);
    connect(imageModel_, &QAbstractItemModel::rowsMoved, this, listChanged);
    connect(imageModel_, &QAbstractItemModel::layoutChanged, this, listChanged);
    connect(imageModel_, &QAbstractItemModel::modelReset, this, listChanged);
    connect(imageModel_, &QAbstractItemModel::dataChanged, this, listChanged);

    auto* views = new QVBoxLayout;
    views->addLayout(CreateViewBar());
    views->addWidget(views_, 1);
    auto* body = new QHBoxLayout;
    body->addLayout(views, 5);
    body->addLayout(MoveArrows("up1", "down1"));
    body->addLayout(CreateSide(), 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        Label("addimagehere1",
              tr("Add images here (JPG, PNG, GIF, BMP, TIFF, WebP, HEIC, AVIF, camera RAW...)")));
    layout->addLayout(body, 1);
    // The slider comes after the views in the Tab order, as the list is the
    // page's first control; both must be in the page by now.
    setTabOrder(storyboard_, tileSize_);

    connect(imageList_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!Selecting()) ImageListClick();
    });
    connect(imageList_, &QListView::clicked, this, [this] { ImageListClick(); });
}

ImagesPage::~ImagesPage() = default;

QLayout* ImagesPage::CreateViewBar() {
    listButton_ =
        Named(new QToolButton, "ListViewButton", tr("Show the images as a list (Ctrl+1)"));
    listButton_->setText(tr("List"));
    listButton_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    storyButton_ =
        Named(new QToolButton, "StoryboardButton", tr("Show the images as thumbnails (Ctrl+2)"));
    storyButton_->setText(tr("Storyboard"));
    storyButton_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_2));
    auto* group = new QButtonGroup(this);
    for (QToolButton* button : {listButton_, storyButton_}) {
        button->setCheckable(true);
        button->setAutoRaise(true);
        // Reached by their shortcuts: Tab goes from the step bar straight to the list.
        button->setFocusPolicy(Qt::NoFocus);
        group->addButton(button);
    }
    tileSize_ = Named(new QSlider(Qt::Horizontal), "TileSizeSlider", tr("Thumbnail size"));
    tileSize_->setRange(StoryboardView::kMinTile, StoryboardView::kMaxTile);
    tileSize_->setMaximumWidth(160);
    countLine_ = Label("StoryCountLine", QString());
    // Wraps rather than widening the window past its smallest size.
    countLine_->setWordWrap(true);
    countLine_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    tileSize_->setValue(QString::fromStdString(model::WindowChoice(kTileSizeKey, "128")).toInt());
    storyboard_->SetTileSize(tileSize_->value());
    // The storyboard first: the show is pictures; the list is a key away.
    ShowStoryboard(model::WindowChoice(kStoryboardKey, "1") == "1");

    connect(listButton_, &QToolButton::clicked, this, [this] { ShowStoryboard(false); });
    connect(storyButton_, &QToolButton::clicked, this, [this] { ShowStoryboard(true); });
    connect(tileSize_, &QSlider::valueChanged, this, [this](int pixels) {
        storyboard_->SetTileSize(pixels);
        model::NoteWindowChoice(kTileSizeKey, std::to_string(pixels));
    });

    auto* bar = new QHBoxLayout;
    bar->addWidget(listButton_);
    bar->addWidget(storyButton_);
    bar->addWidget(tileSize_);
    bar->addStretch();
    bar->addWidget(countLine_);
    return bar;
}

void ImagesPage::ShowStoryboard(bool storyboard) {
    const bool hadFocus = views_->currentWidget() && views_->currentWidget()->hasFocus();
    QAbstractItemView* view =
        storyboard ? static_cast<QAbstractItemView*>(storyboard_) : imageList_;
    views_->setCurrentWidget(view);
    ShowView(*view);
    listButton_->setChecked(!storyboard);
    storyButton_->setChecked(storyboard);
    tileSize_->setEnabled(storyboard);
    if (hadFocus) view->setFocus();
    if (SelectedRow() >= 0) view->scrollTo(view->currentIndex());
    model::NoteWindowChoice(kStoryboardKey, storyboard ? "1" : "0");
}

bool ImagesPage::StoryboardShown() const {
    return views_->currentWidget() == storyboard_;
}

void ImagesPage::Recount() {
    StoryNumbers numbers =
        NumberEntries(imageModel_->List(), model::FolderTypesOf(show_.settings.FolderAllTypes));
    // The length as the Options step gives it: pictures the build would
    // leave out, as far as the list's checks know them, do not count.
    model::Show shown = show_;
    shown.settings.Pictures = imageModel_->UsablePictures(numbers.ticked);
    const int seconds = video::ComputeLengths(shown).timing.ShowSeconds;
    // So are the pictures: "2 of 3" when one of three cannot be shown.
    countLine_->setText(
        CountLine(static_cast<int>(shown.settings.Pictures.size()), numbers.all, seconds));
    countLabel_->setText(tr("%1 of %2 pictures ticked")
                             .arg(static_cast<int>(numbers.ticked.size()))
                             .arg(numbers.all));
    storyboard_->SetNumbers(std::move(numbers));
}

void ImagesPage::OpenSelected() {
    if (!StoryboardShown()) return Image1Click();
    const QModelIndex current = storyboard_->currentIndex();
    if (current.isValid()) emit CustomizeRequested(imageModel_->PathAt(current.row()));
}

QLayout* ImagesPage::CreateSide() {
    fsPanel_ = new ThumbnailPanel(QStringLiteral("Image1"), QStringLiteral("tmpFsPanel"), 125, 96);
    fsPanel_->setObjectName(QStringLiteral("fsPanel"));
    fsPanel_->setToolTip(tr("Click to open the picture"));
    countLabel_ = Label("CountLabel", tr("0 of 0 pictures ticked"));
    countLabel_->setToolTip(
        tr("The pictures the show takes of all those listed, folders counted picture by picture"));

    auto* addFiles = Button("addimagefile1", tr("Add Files"), tr("Add picture files to the list"));
    auto* addFolder =
        Button("addimagefolder1", tr("Add Folder"), tr("Add a folder: all its pictures are used"));
    auto* remove = Button("FlatButton1", tr("Remove"), tr("Remove the selected row"));
    auto* clear = Button("FlatButton2", tr("Clear"), tr("Remove every row"));
    auto* addTitle = Button("AddTitleButton", tr("Add &Title"),
                            tr("Add a title card after the selected row: words on a colour or a "
                               "picture, standing in the show like a picture"));
    sortButton_ =
        Button("SortButton", tr("&Sort"),
               tr("Put the rows in the order the pictures were taken, or of their names"));
    auto* sortMenu = new QMenu(sortButton_);
    const auto sortItem = [&](const char* name, const QString& text, imaging::PictureOrder order) {
        QAction* item = sortMenu->addAction(text);
        item->setObjectName(QLatin1String(name));
        connect(item, &QAction::triggered, this, [this, order] { SortBy(order); });
    };
    sortItem("SortByTaken", tr("By &date taken"), imaging::PictureOrder::Taken);
    sortItem("SortByName", tr("By file &name"), imaging::PictureOrder::Name);
    sortButton_->setMenu(sortMenu);
    auto* buttons = new QGridLayout;
    buttons->addWidget(addFiles, 0, 0);
    buttons->addWidget(addFolder, 0, 1);
    buttons->addWidget(remove, 1, 0);
    buttons->addWidget(clear, 1, 1);
    buttons->addWidget(sortButton_, 2, 0);
    buttons->addWidget(addTitle, 2, 1);

    // Folders stand for their JPEG, GIF and BMP files unless asked otherwise.
    allTypes_ =
        Named(new QCheckBox(tr("Include all picture types when adding folders")), "AllTypesCheck",
              tr("A folder stands for its pictures of every type the program reads, "
                 "not only its JPEG, GIF and BMP files"));

    auto* side = new QVBoxLayout;
    side->addWidget(fsPanel_);
    side->addWidget(countLabel_);
    side->addLayout(buttons);
    side->addWidget(allTypes_);
    side->addStretch();

    connect(fsPanel_, &ThumbnailPanel::Clicked, this, &ImagesPage::Image1Click);
    // A larger panel deserves a sharper thumbnail, once the resizing rests.
    auto* reload = new QTimer(this);
    reload->setSingleShot(true);
    reload->setInterval(150);
    connect(reload, &QTimer::timeout, this, &ImagesPage::ImageListClick);
    connect(fsPanel_, &ThumbnailPanel::Resized, reload, qOverload<>(&QTimer::start));
    connect(addFiles, &QPushButton::clicked, this, &ImagesPage::AddImageFiles);
    connect(addFolder, &QPushButton::clicked, this, &ImagesPage::AddImageFolder);
    connect(remove, &QPushButton::clicked, this, &ImagesPage::RemoveSelected);
    connect(clear, &QPushButton::clicked, this, &ImagesPage::ClearAll);
    connect(addTitle, &QPushButton::clicked, this, &ImagesPage::AddTitle);
    connect(allTypes_, &QCheckBox::toggled, this, [this](bool on) {
        // Read wherever a folder is expanded, so it takes effect at once.
        show_.settings.FolderAllTypes = on;
        ImageListClick();
        recount_->start();
        emit Changed();
    });
    return side;
}

void ImagesPage::RefreshFromSettings(const model::TslSettings& s, const model::IniFile& store) {
    fsPanel_->SetPanelColor(ColorFromSetting(s.BackgroundColor));
    {
        const QSignalBlocker quiet(allTypes_);
        allTypes_->setChecked(s.FolderAllTypes);
    }
    imageModel_->FillFromStore(store);
    // A thumbnail of the list before must not stay as if it were listed.
    fsPanel_->ClearPicture();
    fsPanel_->HideOverlay();
    if (imageModel_->rowCount() > 0) {
        SelectRow(0);
        if (!imageModel_->PathAt(0).contains(QStringLiteral("://"))) ImageListClick();
    }
    Recount();
}

void ImagesPage::ImageListClick() {
    if (QGuiApplication::keyboardModifiers() & Qt::ControlModifier) return;
    const int row = SelectedRow();
    if (row < 0) return;
    const std::string text = imageModel_->PathAt(row).toStdString();
    fsPanel_->HideOverlay();
    if (model::FolderExists(text)) {
        fsPanel_->ShowOverlay(
            tr("Images in folder: %1").arg(PicturesInFolder(text, show_.settings.FolderAllTypes)));
        return;
    }
    if (const std::optional<model::TitleCard> card = show_.TitleCardOf(text)) {
        fsPanel_->ClearPicture();
        fsPanel_->ShowOverlay(tr("Title card: %1").arg(QString::fromStdString(card->title)));
        return;
    }
    // A picture that is missing or cannot be read leaves the thumbnail as it
    // was, covered by a line that says why.
    std::string path = text;
    if (!model::ResolveMediaPath(path)) {
        fsPanel_->ShowOverlay(tr("The picture was not found."));
        return;
    }
    fsPanel_->ShowPictureOf(QString::fromStdString(path), show_.settings.BackgroundColor);
}

void ImagesPage::Image1Click() {
    const int row = SelectedRow();
    if (row < 0) return;
    std::string path = imageModel_->PathAt(row).toStdString();
    if (model::IsTitleCard(path)) {
        EditTitle(row);
        return;
    }
    if (!model::ResolveMediaPath(path) && !model::FolderExists(path)) {
        ReportError(tr("\"%1\" was not found.").arg(QString::fromStdString(path)));
        return;
    }
    Dialogs().OpenUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void ImagesPage::AddImageFiles() {
    const std::string& initial = show_.settings.PicturePath;
    const QStringList files = Dialogs().OpenPictureFiles(
        window(), model::FolderExists(initial) ? QString::fromStdString(initial) : QString());
    if (!files.isEmpty()) {
        int skipped = 0;
        for (const QString& file : files) {
            if (imageModel_->Contains(file))
                ++skipped;
            else
                imageModel_->Append({file.toStdString(), true});
        }
        show_.settings.PicturePath = FolderOfFile(files.first());
        SelectRow(imageModel_->rowCount() - 1);
        ImageListClick();
        if (skipped > 0)
            emit StatusMessage(
                tr("%n file(s) already in the list were not added again.", nullptr, skipped));
    }
    Recount();
}

void ImagesPage::AddImageFolder() {
    // The folder pictures were last taken from is preselected.
    QString folder = QString::fromStdString(show_.settings.PicturePath);
    if (!Dialogs().SelectFolder(window(), tr("Select a folder that includes image files:"),
                                QString(), folder))
        return;
    show_.settings.PicturePath = folder.toStdString();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    if (imageModel_->Contains(folder)) {
        emit StatusMessage(tr("The folder %1 is already in the list.").arg(folder));
    } else {
        imageModel_->Append({folder.toStdString(), true});
        if (PicturesInFolder(folder.toStdString(), show_.settings.FolderAllTypes) == 0)
            emit StatusMessage(EmptyFoldersNote(1, show_.settings.FolderAllTypes));
    }
    Recount();
}

void ImagesPage::AddDropped(const QStringList& paths, int notLocal, int row) {
    int added = 0, already = 0, refused = 0, emptyFolders = 0;
    // Dropped files keep their order where they land.
    int at = row < 0 || row > imageModel_->rowCount() ? imageModel_->rowCount() : row;
    QString firstFile;  // the first picture file added
    for (const QString& dropped : paths) {
        const QFileInfo info(dropped);
        QString path = info.absoluteFilePath();
        if (info.isDir()) {
            if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
        } else if (!info.isFile() || !IsPictureFileName(path)) {
            ++refused;
            continue;
        }
        if (imageModel_->Contains(path)) {
            ++already;
            continue;
        }
        imageModel_->Insert(at++, {path.toStdString(), true});
        ++added;
        if (firstFile.isEmpty() && info.isFile()) firstFile = path;
        if (info.isDir() &&
            PicturesInFolder(path.toStdString(), show_.settings.FolderAllTypes) == 0)
            ++emptyFolders;
    }
    if (!firstFile.isEmpty()) show_.settings.PicturePath = FolderOfFile(firstFile);
    if (added > 0) {
        SelectRow(at - 1);
        ImageListClick();
    }
    Recount();
    QStringList message;
    message << tr("Added %n item(s).", nullptr, added);
    if (already > 0) message << tr("%n already listed.", nullptr, already);
    if (emptyFolders > 0) message << EmptyFoldersNote(emptyFolders, show_.settings.FolderAllTypes);
    if (refused > 0) message << tr("%n not a picture or folder, left out.", nullptr, refused);
    if (notLocal > 0) message << NotLocalNote(notLocal);
    emit StatusMessage(message.join(QLatin1Char(' ')));
}

void ImagesPage::AddTitle() {
    TitleCardDialog dialog(show_.settings, model::TitleCard{}, std::nullopt, window());
    if (Dialogs().RunModal(dialog) != QDialog::Accepted) return;
    std::vector<std::string> listed;
    for (const model::TImageEntry& entry : imageModel_->List().Entries())
        listed.push_back(entry.Path);
    const std::string path = model::NewTitleCardPath(show_.notes, listed);
    model::WriteTitleCard(show_.notes, path, dialog.Card());
    model::SetOwnCaptionStyle(show_.notes, path, dialog.Style());
    const int row = SelectedRow() < 0 ? 0 : SelectedRow() + 1;
    imageModel_->Insert(row, {path, true});
    SelectRow(row);
    ImageListClick();
    Recount();
    emit Changed();
}

bool ImagesPage::EditTitle(int row) {
    const std::string path = imageModel_->PathAt(row).toStdString();
    const std::optional<model::TitleCard> card = show_.TitleCardOf(path);
    if (!card) return false;
    TitleCardDialog dialog(show_.settings, *card, model::OwnCaptionStyle(show_.notes, path),
                           window());
    if (Dialogs().RunModal(dialog) != QDialog::Accepted) return false;
    model::WriteTitleCard(show_.notes, path, dialog.Card());
    model::SetOwnCaptionStyle(show_.notes, path, dialog.Style());
    // The tile and the panel show the card's words.
    const QModelIndex changed = imageModel_->index(row, 0);
    emit imageModel_->dataChanged(changed, changed);
    ImageListClick();
    emit Changed();
    return true;
}

void ImagesPage::SortBy(imaging::PictureOrder order) {
    if (sorter_ || imageModel_->rowCount() < 2) return;
    if (order != imaging::PictureOrder::Taken)
        return ApplyOrder(SortedEntryOrder(imageModel_->List().Entries(), order));
    // Reading the dates opens every file, which for hundreds of pictures on
    // a slow disk would freeze the window.
    sortButton_->setEnabled(false);
    emit StatusMessage(tr("Reading the dates the pictures were taken..."));
    std::vector<SortJob> jobs(1);
    jobs.front().entries = imageModel_->List().Entries();
    sorter_ = std::make_unique<base::WorkQueue<SortJob>>(
        "app::ImagesPage sort",
        [](SortJob& job, const auto&) {
            job.order = SortedEntryOrder(job.entries, imaging::PictureOrder::Taken);
        },
        [this] {
            // Posted to the page: dropped unread if the page is gone.
            QMetaObject::invokeMethod(
                this, [this] { TakeSorted(); }, Qt::QueuedConnection);
        },
        std::move(jobs), true);
}

void ImagesPage::TakeSorted() {
    if (!sorter_) return;
    auto [done, over] = sorter_->TakeFinishedAndDone();
    if (done.empty() && !over) return;
    sorter_.reset();
    sortButton_->setEnabled(true);
    if (done.empty()) return ReportError(tr("The dates of the pictures could not be read."));
    if (done.front().entries != imageModel_->List().Entries()) {
        emit StatusMessage(tr("The list changed while the dates were read; it was not sorted."));
        return;
    }
    ApplyOrder(done.front().order);
}

void ImagesPage::ApplyOrder(const std::vector<size_t>& order) {
    std::vector<size_t> same(order.size());
    for (size_t row = 0; row < same.size(); ++row) same[row] = row;
    if (order == same) {
        emit StatusMessage(tr("The list was already in that order."));
        return;
    }
    imageModel_->Reorder(order);
    const int row = SelectedRow();
    if (row >= 0) SelectRow(row);
    emit StatusMessage(tr("The list was sorted."));
    emit Changed();
}

void ImagesPage::ListChanged() {
    fsPanel_->ClearPicture();
    fsPanel_->HideOverlay();
    ImageListClick();
    Recount();
}

}  // namespace app
