// Small pictures for the image list's panel, the per-image dialog, the open
// dialog's preview and the background preview, through the program's own
// picture loading, so every format the show can use previews the same way.
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>

#include <cstdint>

#include "raster/Bitmap.h"

namespace app {

// Colours of the settings record are 0x00BBGGRR.
QColor ColorFromSetting(uint32_t bgr);
uint32_t SettingFromColor(const QColor& color);

// A copy of a 24-bit bitmap as a Qt image.
QImage ImageFromBitmap(const raster::Bitmap& bitmap);

// The picture shrunk into box (never enlarged), transparent parts filled
// with fill (0x00BBGGRR). A null pixmap when the file cannot be read.
QPixmap LoadThumbnail(const QString& path, QSize box, uint32_t fill);
// The same as an image, which any thread may read; a null image when the file
// cannot be read.
QImage LoadThumbnailImage(const QString& path, QSize box, uint32_t fill);

}  // namespace app
