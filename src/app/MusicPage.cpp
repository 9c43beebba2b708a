#include "app/MusicPage.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include "app/ListRowDelegate.h"
#include "app/MediaListModels.h"
#include "app/MusicMixControls.h"
#include "app/PictureFormats.h"
#include "app/UserDialogs.h"
#include "app/WidgetFactory.h"
#include "model/FileIo.h"
#include "model/MediaPaths.h"
#include "model/Settings.h"
#include "model/Text.h"
#include "music/MusicService.h"
#include "sound/MusicFormats.h"

namespace app {

namespace {

// The music files of a folder (not its sub-folders) in name order, letter
// case ignored.
QStringList MusicFilesIn(const QString& folder) {
    QStringList files;
    const QDir dir(folder);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Readable))
        if (IsMusicFileName(entry.fileName())) files << entry.absoluteFilePath();
    // The order a picture folder's files take.
    std::sort(files.begin(), files.end(), [](const QString& a, const QString& b) {
        return model::LessNoCase(a.toStdString(), b.toStdString());
    });
    return files;
}

}  // namespace

MusicPage::MusicPage(model::Show& show, QWidget* parent) : MediaListPage(parent), show_(show) {
    setObjectName(QStringLiteral("MusicTab"));
    musicModel_ = new MusicListModel(this);
    Attach(*musicModel_, *CreateList(), tr("Clear all music files?"));

    auto* body = new QHBoxLayout;
    body->addWidget(musicList_, 1);
    body->addLayout(MoveArrows("up2", "down2"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        Label("addbackgroundmusic1", tr("Add background music here (%1):")
                                         .arg(QString::fromStdString(sound::MusicFormatNames()))));
    layout->addLayout(body, 1);
    musicOffNote_ = Label("musicOffNote", tr("Background music is off: the show is silent. "
                                             "Options >> switches it on."));
    musicOffNote_->setWordWrap(true);
    layout->addWidget(musicOffNote_);
    measuringNote_ = Label("measuringNote", QString());
    measuringNote_->hide();
    layout->addWidget(measuringNote_);
    layout->addLayout(CreateButtons());
    mixControls_ = new MusicMixControls(this);
    layout->addWidget(mixControls_);

    mp3LengthTimer_ = new QTimer(this);
    mp3LengthTimer_->setObjectName(QStringLiteral("Mp3LengthTimer"));
    mp3LengthTimer_->setInterval(1);
    mp3LengthTimer_->setSingleShot(true);
    connect(mp3LengthTimer_, &QTimer::timeout, musicModel_, &MusicListModel::StartMeasuring);
    connect(musicModel_, &MusicListModel::MeasuringWanted, this, &MusicPage::MeasureSoon);
    connect(musicModel_, &MusicListModel::MeasuringProgress, this, &MusicPage::ShowMeasuring);
    connect(musicList_, &QTreeView::doubleClicked, this, &MusicPage::PlaySelectedMusic);
}

QTreeView* MusicPage::CreateList() {
    musicList_ = Named(new QTreeView, "musicList");
    musicList_->setModel(musicModel_);
    musicList_->setRootIsDecorated(false);
    musicList_->setItemsExpandable(false);
    musicList_->setUniformRowHeights(true);
    musicList_->setItemDelegate(new ListRowDelegate(false, musicList_));
    musicList_->setAllColumnsShowFocus(true);
    musicList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    musicList_->setSelectionMode(QAbstractItemView::SingleSelection);
    musicList_->setAcceptDrops(true);
    musicList_->setDragDropMode(QAbstractItemView::DropOnly);
    musicList_->setDropIndicatorShown(false);
    musicList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    musicList_->header()->setStretchLastSection(false);
    musicList_->header()->setSectionResizeMode(MusicListModel::kPathColumn, QHeaderView::Stretch);
    for (const int column : {MusicListModel::kLengthColumn, MusicListModel::kTempoColumn})
        musicList_->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    musicList_->setMinimumSize(200, 150);
    return musicList_;
}

QLayout* MusicPage::CreateButtons() {
    auto* add = Button("addmusic1", tr("Add music files..."), tr("Add music files to the list"));
    musicb_ = Button("musicb", tr("Options >>"), tr("Music options"));
    auto* play = Button("FlatButton3", tr("Play"), tr("Play the selected file"));
    auto* stop = Button("FlatButton4", tr("Stop"), tr("Stop playing"));
    auto* remove = Button("removemusic1", tr("Remove"), tr("Remove the selected row"));
    auto* clear = Button("clearmusic1", tr("Clear"), tr("Remove every row"));
    play->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    stop->setIcon(style()->standardIcon(QStyle::SP_MediaStop));

    musicm_ = Named(new QMenu(this), "musicm");
    play1_ = MenuItem(musicm_, "Play1", tr("Play background music"));
    musicm_->addSeparator();
    loop1_ = MenuItem(musicm_, "Loop1", tr("Loop"));
    shuffle1_ = MenuItem(musicm_, "Shuffle1", tr("Shuffle"));
    for (QAction* item : {play1_, loop1_, shuffle1_}) item->setCheckable(true);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {add, musicb_, play, stop, remove, clear})
        buttons->addWidget(button);
    buttons->addStretch();

    connect(add, &QPushButton::clicked, this, &MusicPage::AddMusicFiles);
    connect(musicb_, &QPushButton::clicked, this, &MusicPage::ShowMusicMenu);
    connect(play, &QPushButton::clicked, this, &MusicPage::PlaySelectedMusic);
    connect(stop, &QPushButton::clicked, this, &MusicPage::StopMusicClick);
    connect(remove, &QPushButton::clicked, this, &MusicPage::RemoveSelected);
    connect(clear, &QPushButton::clicked, this, &MusicPage::ClearAll);
    return buttons;
}

void MusicPage::RefreshFromSettings(const model::TslSettings& s, const model::IniFile& store) {
    musicModel_->FillFromStore(store);
    play1_->setChecked(s.PlayMusic);
    shuffle1_->setChecked(s.RandomMusic);
    loop1_->setChecked(s.LoopMusic);
    mixControls_->RefreshFromSettings(s);
}

void MusicPage::CollectSettings(model::TslSettings& s) const {
    s.PlayMusic = play1_->isChecked();
    s.RandomMusic = shuffle1_->isChecked();
    s.LoopMusic = loop1_->isChecked();
    mixControls_->CollectSettings(s);
}

bool MusicPage::MusicOn() const {
    return play1_->isChecked();
}

QList<QAction*> MusicPage::OptionItems() const {
    return {play1_, loop1_, shuffle1_};
}

void MusicPage::ShowMusicOffNote(bool off) {
    musicOffNote_->setVisible(off);
}

void MusicPage::MeasureSoon() {
    mp3LengthTimer_->start();
}

void MusicPage::AddMusicFiles() {
    const std::string& initial = show_.settings.MusicPath;
    AddFiles(Dialogs().OpenMusicFiles(
        window(), model::FolderExists(initial) ? QString::fromStdString(initial) : QString()));
}

void MusicPage::AddFiles(const QStringList& files) {
    if (files.isEmpty()) return;
    for (const QString& file : files) {
        model::TMusicEntry entry;
        entry.Path = file.toStdString();
        musicModel_->Append(entry);
    }
    SelectRow(musicModel_->rowCount() - 1);
    show_.settings.MusicPath = FolderOfFile(files.first());
    mp3LengthTimer_->start();
}

void MusicPage::AddDropped(const QStringList& paths, int notLocal, int /*row*/) {
    QStringList files;
    int refused = 0, emptyFolders = 0;
    for (const QString& dropped : paths) {
        const QFileInfo info(dropped);
        if (info.isDir()) {
            const QStringList found = MusicFilesIn(info.absoluteFilePath());
            if (found.isEmpty()) ++emptyFolders;
            files << found;
        } else if (info.isFile() && IsMusicFileName(dropped))
            files << info.absoluteFilePath();
        else
            ++refused;
    }
    AddFiles(files);
    QString message = tr("Added %n music file(s).", nullptr, static_cast<int>(files.size()));
    if (refused > 0)
        message += QLatin1Char(' ') + tr("%n not a music file, left out.", nullptr, refused);
    if (emptyFolders > 0)
        message +=
            QLatin1Char(' ') +
            tr("%n folder(s) without music files of their own; sub-folders are not searched.",
               nullptr, emptyFolders);
    if (notLocal > 0) message += QLatin1Char(' ') + NotLocalNote(notLocal);
    emit StatusMessage(message);
}

void MusicPage::ShowMusicMenu() {
    musicm_->popup(musicb_->mapToGlobal(QPoint(0, musicb_->height())));
}

void MusicPage::PlaySelectedMusic() {
    const int row = SelectedRow();
    if (row < 0) return;
    // Playback keeps its problems to itself, so a row that cannot play at
    // all is named here rather than Play doing nothing.
    const model::TMusicEntry& entry = musicModel_->EntryAt(row);
    std::string path = entry.Path;
    if (!model::ResolveMediaPath(path)) {
        ReportError(tr("\"%1\" was not found.").arg(QString::fromStdString(entry.Path)));
        return;
    }
    if (MusicListModel::Unreadable(entry)) {
        ReportError(tr("\"%1\": %2.")
                        .arg(QString::fromStdString(path),
                             QString::fromStdString(MusicListModel::UnreadableReason(entry))));
        return;
    }
    if (const base::Status played = music::PlayMusicFile(QString::fromStdString(path)); !played)
        emit NoSound(QString::fromStdString(played.message()));
}

void MusicPage::StopMusicClick() {
    music::StopMusic(false);
}

void MusicPage::ShowMeasuring(int finished, int total) {
    measuringNote_->setVisible(total > 0);
    if (total > 0)
        measuringNote_->setText(
            tr("Measuring the music: %1 of %2 files done...").arg(finished).arg(total));
}

void MusicPage::Mp3LengthTimerTimer() {
    mp3LengthTimer_->stop();
    musicModel_->MeasureLengths();
}

}  // namespace app
