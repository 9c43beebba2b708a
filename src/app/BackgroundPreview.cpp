#include "app/BackgroundPreview.h"

#include <QPainter>

#include "app/Thumbnails.h"
#include "imaging/DecoderRegistry.h"

namespace app {

namespace {
// The preview keeps the proportions of a 59 x 41 field.
constexpr int kWidth = 59;
constexpr int kHeight = 41;
// Large enough to look sharp when the window is enlarged.
constexpr int kLoadedSide = 400;
// The loader's own words for a picture that gave no thumbnail.
QString WhyNotLoaded(const QString& path) {
    try {
        imaging::DecodePictureFile(path.toStdString());
    } catch (const std::exception& problem) {
        return QString::fromStdString(problem.what());
    }
    return BackgroundPreview::tr("The picture \"%1\" could not be loaded.").arg(path);
}

}  // namespace

BackgroundPreview::BackgroundPreview(QWidget* parent) : QWidget(parent) {
    setMinimumSize(kWidth, kHeight);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

QSize BackgroundPreview::sizeHint() const {
    return QSize(kWidth * 2, kHeight * 2);
}

void BackgroundPreview::SetPath(const QString& path) {
    path_ = path;
    setToolTip(path);
    // Only the picture at the path may show: another one would look used.
    picture_ = QPixmap();
    update();
}

bool BackgroundPreview::LoadPicture(QString* error) {
    QPixmap loaded =
        LoadThumbnail(path_, QSize(kLoadedSide, kLoadedSide), raster::RGB(128, 128, 128));
    if (loaded.isNull()) {
        if (error != nullptr) *error = WhyNotLoaded(path_);
        return false;
    }
    picture_ = loaded;
    update();
    return true;
}

void BackgroundPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xd0, 0xd0, 0xd0));
    painter.fillRect(rect(), QBrush(QColor(0x90, 0x90, 0x90), Qt::DiagCrossPattern));
    if (!picture_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), picture_);
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace app
