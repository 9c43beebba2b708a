// The Music step: the music list, its options menu, playback and the pass
// that measures the lengths of new files.
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>

#include "app/MainForm.h"
#include "app/MediaListModels.h"
#include "app/PictureFormats.h"
#include "app/UserDialogs.h"
#include "model/FileIo.h"
#include "model/MediaPaths.h"
#include "model/Settings.h"
#include "model/Text.h"
#include "music/MusicService.h"

namespace app {

namespace {

// The MP3 files of a folder (not its sub-folders) in name order, letter
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

int TMainForm::SelectedMusicRow() const {
    const QModelIndexList rows = musicList_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TMainForm::SelectMusicRow(int row) {
    if (row < 0 || row >= musicModel_->rowCount()) return;
    const QModelIndex index = musicModel_->index(row, MusicListModel::kPathColumn);
    musicList_->setCurrentIndex(index);
    musicList_->selectionModel()->select(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    musicList_->scrollTo(index);
}

void TMainForm::AddMusicFiles() {
    const std::string& initial = model::Settings.MusicPath;
    const QStringList files = Dialogs().OpenMusicFiles(
        this, model::FolderExists(initial) ? QString::fromStdString(initial) : QString());
    if (files.isEmpty()) return;
    for (const QString& file : files) {
        model::TMusicEntry entry;
        entry.Path = file.toStdString();
        musicModel_->Append(entry);
    }
    SelectMusicRow(musicModel_->rowCount() - 1);
    model::Settings.MusicPath = FolderOfFile(files.first());
    mp3LengthTimer_->start();
}

void TMainForm::AddDroppedMusic(const QStringList& paths, int notLocal) {
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
    for (const QString& file : files) {
        model::TMusicEntry entry;
        entry.Path = file.toStdString();
        musicModel_->Append(entry);
    }
    if (!files.isEmpty()) {
        SelectMusicRow(musicModel_->rowCount() - 1);
        model::Settings.MusicPath = FolderOfFile(files.first());
        mp3LengthTimer_->start();
    }
    QString message = tr("Added %n MP3 file(s).", nullptr, static_cast<int>(files.size()));
    if (refused > 0)
        message += QLatin1Char(' ') + tr("%n not an MP3 file, left out.", nullptr, refused);
    if (emptyFolders > 0)
        message += QLatin1Char(' ') +
                   tr("%n folder(s) without MP3 files of their own; sub-folders are not searched.",
                      nullptr, emptyFolders);
    if (notLocal > 0) message += QLatin1Char(' ') + NotLocalNote(notLocal);
    statusBar()->showMessage(message, 8000);
}

void TMainForm::ShowMusicMenu() {
    musicm_->popup(musicb_->mapToGlobal(QPoint(0, musicb_->height())));
}

void TMainForm::PlaySelectedMusic() {
    const int row = SelectedMusicRow();
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
        ReportError(tr("\"%1\" cannot be read as an MP3 file.").arg(QString::fromStdString(path)));
        return;
    }
    music::PlayMusicFile(QString::fromStdString(path));
}

void TMainForm::StopMusicClick() {
    music::StopMusic(false);
}

void TMainForm::RemoveMusic() {
    const int row = SelectedMusicRow();
    if (row < 0) return;
    musicModel_->Remove(row);
    if (musicModel_->rowCount() > 0) SelectMusicRow(std::min(row, musicModel_->rowCount() - 1));
}

void TMainForm::ClearMusic() {
    if (!Dialogs().Confirm(this, tr("Clear all music files?"))) return;
    musicModel_->Clear();
}

void TMainForm::MoveMusic(int offset) {
    const int row = SelectedMusicRow();
    if (row < 0) return;
    const int target = row + offset;
    if (target < 0 || target >= musicModel_->rowCount()) return;
    // A copy of the row (path, check mark and length) goes to its new place
    // and the old row goes away.
    const model::TMusicEntry copy = musicModel_->EntryAt(row);
    const int insertAt = offset < 0 ? target : target + 1;
    musicModel_->Insert(insertAt, copy);
    musicModel_->Remove(offset < 0 ? row + 1 : row);
    SelectMusicRow(target);
}

void TMainForm::Mp3LengthTimerTimer() {
    mp3LengthTimer_->stop();
    musicModel_->MeasureLengths();
}

}  // namespace app
