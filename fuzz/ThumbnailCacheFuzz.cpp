// The storyboard's disk cache: a file there may have been cut off, replaced
// or written by anything; reading it gives a thumbnail or nothing.
#include <QByteArray>
#include <QImage>

#include <cstdlib>

#include "app/ThumbnailCache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QImage thumbnail = app::ReadCachedThumbnail(bytes, 128);
    if (!thumbnail.isNull() && (thumbnail.width() > 128 || thumbnail.height() > 128)) std::abort();
    return 0;
}
