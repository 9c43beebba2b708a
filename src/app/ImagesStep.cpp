// The Images step: the image list, its thumbnail and its commands.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QStatusBar>

#include "app/MainForm.h"
#include "app/MediaListModels.h"
#include "app/PictureFormats.h"
#include "app/ThumbnailPanel.h"
#include "app/UserDialogs.h"
#include "model/FileIo.h"
#include "model/MediaPaths.h"
#include "model/Settings.h"

namespace app {

namespace {

// How many pictures the show takes from a folder: its own JPEG, GIF and BMP
// files.
size_t PicturesInFolder(const std::string& folder) {
    std::vector<std::string> pictures;
    model::ExpandImageFolder(folder, pictures);
    return pictures.size();
}

// A folder the show would take nothing from is easily mistaken for one
// whose sub-folders hold the pictures.
QString EmptyFoldersNote(int count) {
    return TMainForm::tr(
        "%n folder(s) without JPEG, GIF or BMP files of their own; sub-folders are not searched.",
        nullptr, count);
}

}  // namespace

int TMainForm::SelectedImageRow() const {
    const QModelIndexList rows = imageList_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TMainForm::SelectImageRow(int row) {
    if (row < 0 || row >= imageModel_->rowCount()) return;
    const QSignalBlocker quiet(imageList_->selectionModel());
    const QModelIndex index = imageModel_->index(row, 0);
    imageList_->setCurrentIndex(index);
    imageList_->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    imageList_->scrollTo(index);
}

void TMainForm::UpdateCountLabel() {
    countLabel_->setText(QString::fromStdString(model::CountLabelText(imageModel_->List())));
}

void TMainForm::ImageListClick() {
    if (QGuiApplication::keyboardModifiers() & Qt::ControlModifier) return;
    const int row = SelectedImageRow();
    if (row < 0) return;
    const std::string text = imageModel_->PathAt(row).toStdString();
    fsPanel_->HideOverlay();
    if (model::FolderExists(text)) {
        fsPanel_->ShowOverlay(tr("Images in folder: %1").arg(PicturesInFolder(text)));
        return;
    }
    // A picture that is missing or cannot be read leaves the thumbnail as it
    // was, covered by a line that says why.
    std::string path = text;
    if (!model::ResolveMediaPath(path)) {
        fsPanel_->ShowOverlay(tr("The picture was not found."));
        return;
    }
    fsPanel_->ShowPictureOf(QString::fromStdString(path), model::Settings.BackgroundColor);
}

void TMainForm::Image1Click() {
    const int row = SelectedImageRow();
    if (row < 0) return;
    std::string path = imageModel_->PathAt(row).toStdString();
    if (!model::ResolveMediaPath(path) && !model::FolderExists(path)) {
        ReportError(tr("\"%1\" was not found.").arg(QString::fromStdString(path)));
        return;
    }
    Dialogs().OpenUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void TMainForm::AddImageFiles() {
    const std::string& initial = model::Settings.PicturePath;
    const QStringList files = Dialogs().OpenPictureFiles(
        this, model::FolderExists(initial) ? QString::fromStdString(initial) : QString());
    if (!files.isEmpty()) {
        int skipped = 0;
        for (const QString& file : files) {
            if (imageModel_->Contains(file))
                ++skipped;
            else
                imageModel_->Append({file.toStdString(), true});
        }
        model::Settings.PicturePath = FolderOfFile(files.first());
        SelectImageRow(imageModel_->rowCount() - 1);
        ImageListClick();
        if (skipped > 0)
            statusBar()->showMessage(
                tr("%n file(s) already in the list were not added again.", nullptr, skipped), 8000);
    }
    UpdateCountLabel();
}

void TMainForm::AddImageFolder() {
    // The folder pictures were last taken from is preselected.
    QString folder = QString::fromStdString(model::Settings.PicturePath);
    if (!Dialogs().SelectFolder(this, tr("Select a folder that includes image files:"), QString(),
                                folder))
        return;
    model::Settings.PicturePath = folder.toStdString();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    if (imageModel_->Contains(folder)) {
        statusBar()->showMessage(tr("The folder %1 is already in the list.").arg(folder), 8000);
    } else {
        imageModel_->Append({folder.toStdString(), true});
        if (PicturesInFolder(folder.toStdString()) == 0)
            statusBar()->showMessage(EmptyFoldersNote(1), 8000);
    }
    UpdateCountLabel();
}

void TMainForm::AddDroppedImages(const QStringList& paths, int notLocal) {
    int added = 0, already = 0, refused = 0, emptyFolders = 0;
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
        imageModel_->Append({path.toStdString(), true});
        ++added;
        if (firstFile.isEmpty() && info.isFile()) firstFile = path;
        if (info.isDir() && PicturesInFolder(path.toStdString()) == 0) ++emptyFolders;
    }
    if (!firstFile.isEmpty()) model::Settings.PicturePath = FolderOfFile(firstFile);
    if (added > 0) {
        SelectImageRow(imageModel_->rowCount() - 1);
        ImageListClick();
    }
    UpdateCountLabel();
    QStringList message;
    message << tr("Added %n item(s).", nullptr, added);
    if (already > 0) message << tr("%n already listed.", nullptr, already);
    if (emptyFolders > 0) message << EmptyFoldersNote(emptyFolders);
    if (refused > 0) message << tr("%n not a picture or folder, left out.", nullptr, refused);
    if (notLocal > 0) message << NotLocalNote(notLocal);
    statusBar()->showMessage(message.join(QLatin1Char(' ')), 8000);
}

void TMainForm::RemoveImage() {
    const int row = SelectedImageRow();
    if (row < 0) return;
    imageModel_->Remove(row);
    if (imageModel_->rowCount() > 0) SelectImageRow(std::min(row, imageModel_->rowCount() - 1));
    fsPanel_->ClearPicture();
    fsPanel_->HideOverlay();
    ImageListClick();
    UpdateCountLabel();
}

void TMainForm::ClearImages() {
    if (!Dialogs().Confirm(this, tr("Clear all images?"))) return;
    imageModel_->Clear();
    fsPanel_->ClearPicture();
    fsPanel_->HideOverlay();
    UpdateCountLabel();
}

void TMainForm::MoveImage(int offset) {
    const int row = SelectedImageRow();
    if (row < 0) return;
    if (!imageModel_->Move(row, row + offset)) return;
    SelectImageRow(row + offset);
}

}  // namespace app
