#include "app/BackgroundPreview.h"

#include <QPainter>

#include <algorithm>

#include "app/Thumbnails.h"
#include "imaging/BlurredFill.h"
#include "imaging/DecoderRegistry.h"
#include "imaging/FitArithmetic.h"
#include "imaging/PictureLoader.h"
#include "raster/Blit.h"

namespace app {

namespace {
// The show is seen on a 4:3 screen, whatever the frame's pixels. The
// smallest field leaves the Options step room on a small screen.
constexpr int kWidth = 40;
constexpr int kHeight = 30;
// Large enough to look sharp when the window is enlarged.
constexpr int kLoadedSide = 720;
// The loader's own words for a picture that gave no thumbnail.
base::Fault WhyNotLoaded(const QString& path) {
    try {
        imaging::DecodePictureFile(path.toStdString());
    } catch (const std::exception& problem) {
        return base::MakeFault(problem.what(), base::FaultKind::BadData);
    }
    return base::MakeFault(
        BackgroundPreview::tr("The picture \"%1\" could not be loaded.").arg(path).toStdString(),
        base::FaultKind::BadData);
}

}  // namespace

BackgroundPreview::BackgroundPreview(QWidget* parent) : QWidget(parent) {
    setMinimumSize(kWidth, kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize BackgroundPreview::sizeHint() const {
    return QSize(kWidth * 4, kHeight * 4);
}

QRect BackgroundPreview::FieldRect() const {
    const int fieldWidth = std::min(width(), height() * kWidth / kHeight);
    const int fieldHeight = fieldWidth * kHeight / kWidth;
    return QRect((width() - fieldWidth) / 2, 0, fieldWidth, fieldHeight);
}

void BackgroundPreview::SetPath(const QString& path) {
    path_ = path;
    setToolTip(path);
    // Only the picture at the path may show: another one would look used.
    picture_ = QPixmap();
    update();
}

base::Status BackgroundPreview::LoadPicture() {
    QPixmap loaded =
        LoadThumbnail(path_, QSize(kLoadedSide, kLoadedSide), raster::RGB(128, 128, 128));
    if (loaded.isNull()) return WhyNotLoaded(path_);
    picture_ = loaded;
    update();
    return {};
}

void BackgroundPreview::ShowBlurred(const QString& picturePath) {
    blurred_ = QPixmap();
    raster::Bitmap picture;
    if (!picturePath.isEmpty())
        imaging::LoadPictureScaled(picture, picturePath.toStdString(), kLoadedSide, kLoadedSide, 0);
    if (!picture.isEmpty()) {
        // The field's shape at the loaded size, the picture fitted into it.
        const imaging::Size field{kLoadedSide, kLoadedSide * kHeight / kWidth};
        raster::Bitmap frame = imaging::BlurredFill(
            picture, {}, 0,
            imaging::FillFrame{field.width, field.height, field.width, field.height});
        const imaging::Size fit =
            imaging::ScaleToBox(imaging::Size{picture.width(), picture.height()}, field);
        const int x = (field.width - fit.width) / 2, y = (field.height - fit.height) / 2;
        raster::StretchDraw(frame, raster::Rect{x, y, x + fit.width, y + fit.height}, picture,
                            raster::StretchMode::Halftone);
        blurred_ = QPixmap::fromImage(ImageFromBitmap(frame));
    }
    update();
}

void BackgroundPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect field = FieldRect();
    painter.fillRect(field, QColor(0xd0, 0xd0, 0xd0));
    painter.fillRect(field, QBrush(QColor(0x90, 0x90, 0x90), Qt::DiagCrossPattern));
    const QPixmap& shown = blurred_.isNull() ? picture_ : blurred_;
    if (!shown.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(field, shown);
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(field.adjusted(0, 0, -1, -1));
}

}  // namespace app
