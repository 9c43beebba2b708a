// The storyboard's thumbnails kept on disk between runs, under the user's
// cache folder: one JPEG file per picture and tile size, named by a hash of
// the picture's path, size and time, so a changed picture is a new name and
// its old file merely goes unused. The files are outside data: anyone can
// replace them, so a file that is not a small JPEG of the right size is a miss.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace app {

// The tile sizes thumbnails are made for: a tile takes the smallest one that
// covers it, so a slider drag does not decode every picture again.
int ThumbnailBucket(int tileSize);

// The folder the storyboard keeps its thumbnails in by default.
QString DefaultThumbnailFolder();

// The cache file of a picture at a bucket, from what identifies its content;
// an empty name when the picture is not a readable file.
QString ThumbnailCacheName(const QString& folder, const QString& picturePath, int bucket);

// A cache file's bytes as a thumbnail of at most bucket x bucket pixels; a
// null image for anything else (garbled, cut off, another format, too big).
QImage ReadCachedThumbnail(const QByteArray& bytes, int bucket);

// Writes a thumbnail under its cache name through a temporary file, so a
// reader never sees half a file; false when it could not be written.
bool WriteCachedThumbnail(const QString& cacheName, const QImage& thumbnail);

}  // namespace app
