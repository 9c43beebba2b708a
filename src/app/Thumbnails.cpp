#include "app/Thumbnails.h"

#include "imaging/PictureLoader.h"

namespace app {

QColor ColorFromSetting(uint32_t bgr) {
    return QColor(raster::RedOf(bgr), raster::GreenOf(bgr), raster::BlueOf(bgr));
}

uint32_t SettingFromColor(const QColor& color) {
    return raster::RGB(static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()),
                       static_cast<uint8_t>(color.blue()));
}

QImage ImageFromBitmap(const raster::Bitmap& bitmap) {
    if (bitmap.isEmpty()) return {};
    return QImage(bitmap.bits(), bitmap.width(), bitmap.height(),
                  static_cast<qsizetype>(bitmap.stride()), QImage::Format_BGR888)
        .copy();
}

QImage LoadThumbnailImage(const QString& path, QSize box, uint32_t fill) {
    raster::Bitmap picture;
    imaging::LoadPictureScaled(picture, path.toStdString(), box.width(), box.height(), fill);
    return ImageFromBitmap(picture);
}

QPixmap LoadThumbnail(const QString& path, QSize box, uint32_t fill) {
    const QImage picture = LoadThumbnailImage(path, box, fill);
    return picture.isNull() ? QPixmap() : QPixmap::fromImage(picture);
}

}  // namespace app
