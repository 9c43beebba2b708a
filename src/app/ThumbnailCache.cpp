#include "app/ThumbnailCache.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QStandardPaths>

namespace app {

namespace {

constexpr int kBuckets[] = {64, 128, 256};

}  // namespace

int ThumbnailBucket(int tileSize) {
    for (const int bucket : kBuckets)
        if (tileSize <= bucket) return bucket;
    return kBuckets[std::size(kBuckets) - 1];
}

QString DefaultThumbnailFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/thumbnails");
}

QString ThumbnailCacheName(const QString& folder, const QString& picturePath, int bucket) {
    const QFileInfo file(picturePath);
    if (!file.isFile()) return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(file.absoluteFilePath().toUtf8());
    hash.addData(QByteArray::number(file.size()) + '\n');
    hash.addData(QByteArray::number(file.lastModified().toMSecsSinceEpoch()) + '\n');
    hash.addData(QByteArray::number(bucket));
    return folder + QLatin1Char('/') + QString::fromLatin1(hash.result().toHex()) +
           QStringLiteral(".jpg");
}

QImage ReadCachedThumbnail(const QByteArray& bytes, int bucket) {
    // We write whole files only; one without its end marker was cut off or
    // written by someone else, and the decoder would fill its rest with grey.
    if (!bytes.startsWith("\xFF\xD8") || !bytes.endsWith("\xFF\xD9")) return {};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    reader.setDecideFormatFromContent(false);
    // The header's size is checked before any pixel is allocated.
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || size.width() > bucket || size.height() > bucket)
        return {};
    QImage picture;
    if (!reader.read(&picture) || picture.size() != size) return {};
    return picture.convertToFormat(QImage::Format_RGB32);
}

bool WriteCachedThumbnail(const QString& cacheName, const QImage& thumbnail) {
    if (cacheName.isEmpty() || thumbnail.isNull()) return false;
    if (!QDir().mkpath(QFileInfo(cacheName).absolutePath())) return false;
    QSaveFile file(cacheName);
    if (!file.open(QIODevice::WriteOnly)) return false;
    return thumbnail.save(&file, "jpeg", 88) && file.commit();
}

}  // namespace app
