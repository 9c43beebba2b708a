#include "app/PictureFileDialog.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

#include "app/PictureFormats.h"
#include "app/Thumbnails.h"

namespace app {

namespace {
constexpr int kPreviewWidth = 200;
constexpr int kPreviewHeight = 150;
}  // namespace

PictureFileDialog::PictureFileDialog(QWidget* parent, const QString& initialFolder,
                                     bool severalFiles)
    : QFileDialog(parent, severalFiles ? tr("Add Images") : tr("Select Background Picture")) {
    // Qt's own dialog, so the preview can sit inside it.
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(severalFiles ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    setNameFilter(PictureFileFilter());
    if (QFileInfo(initialFolder).isDir()) setDirectory(initialFolder);

    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("picturePreview"));
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setMinimumSize(kPreviewWidth, kPreviewHeight);
    preview_->setFrameShape(QFrame::StyledPanel);
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(preview_, 1, grid->columnCount(), grid->rowCount() - 1, 1);
    connect(this, &QFileDialog::currentChanged, this, &PictureFileDialog::ShowPreview);
}

void PictureFileDialog::ShowPreview(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        preview_->clear();
        return;
    }
    const qreal ratio = devicePixelRatioF();
    QPixmap thumbnail = LoadThumbnail(path, QSize(kPreviewWidth, kPreviewHeight) * ratio,
                                      SettingFromColor(palette().window().color()));
    thumbnail.setDevicePixelRatio(ratio);
    if (thumbnail.isNull())
        preview_->setText(tr("No preview"));
    else
        preview_->setPixmap(thumbnail);
}

}  // namespace app
