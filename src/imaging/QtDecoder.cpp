#include "imaging/QtDecoder.h"

#include <cstring>
#include <optional>

#include <QImage>
#include <QImageReader>

#include "imaging/FileBytes.h"
#include "imaging/MissingData.h"
#include "imaging/PictureError.h"

namespace imaging {

namespace {

// Enough for the largest picture we accept in Qt's widest pixel format
// (16 bits per channel with alpha).
constexpr int kAllocationLimitMb =
    static_cast<int>(raster::Bitmap::kMaxPixels * 8 / (1024 * 1024)) + 1;

// Qt answers a conversion it has no memory for with a null image; reading
// from it would pass off a black picture as the file's.
QImage Converted(const QImage& image, QImage::Format format, const std::string& fileName) {
    QImage converted = image.convertToFormat(format);
    if (converted.isNull())
        throw PictureError(PictureError::Kind::TooLarge, fileName,
                           "there is not enough memory to convert the picture");
    return converted;
}

DecodedImage FromQImage(const QImage& image, const std::string& fileName) {
    DecodedImage result;
    result.natural = Size{image.width(), image.height()};
    result.pixels = raster::Bitmap(image.width(), image.height());
    const size_t rowBytes = static_cast<size_t>(image.width()) * 3;
    if (!image.hasAlphaChannel()) {
        const QImage bgr = Converted(image, QImage::Format_BGR888, fileName);
        for (int y = 0; y < bgr.height(); ++y)
            std::memcpy(result.pixels.row(y), bgr.constScanLine(y), rowBytes);
        return result;
    }
    // Format_ARGB32 is 0xAARRGGBB per pixel, not premultiplied.
    const QImage argb = Converted(image, QImage::Format_ARGB32, fileName);
    result.alpha.resize(static_cast<size_t>(image.width()) * static_cast<size_t>(image.height()));
    bool opaque = true;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        uint8_t* out = result.pixels.row(y);
        uint8_t* alpha =
            result.alpha.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width());
        for (int x = 0; x < argb.width(); ++x, out += 3) {
            const QRgb p = in[x];
            out[0] = static_cast<uint8_t>(qBlue(p));
            out[1] = static_cast<uint8_t>(qGreen(p));
            out[2] = static_cast<uint8_t>(qRed(p));
            alpha[x] = static_cast<uint8_t>(qAlpha(p));
            opaque = opaque && alpha[x] == 255;
        }
    }
    if (opaque) result.alpha.clear();
    return result;
}

// Qt's readers that hand back what they read of a cut-off file as if it were
// the whole picture.
std::optional<StructuredFormat> SilentOnMissingData(const char* qtFormat) {
    const QByteArray format(qtFormat);
    if (format == "bmp") return StructuredFormat::Bmp;
    if (format == "gif") return StructuredFormat::Gif;
    return std::nullopt;
}

}  // namespace

DecodedImage DecodeWithQt(const std::string& fileName, const char* qtFormat) {
    // Qt's default limit (128 MB) would refuse pictures well below our own.
    static const bool limitRaised = (QImageReader::setAllocationLimit(kAllocationLimitMb), true);
    (void)limitRaised;
    // Some formats come from plugins; without one every file would look
    // mislabelled.
    static const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    if (!readable.contains(QByteArray(qtFormat)))
        throw PictureError(PictureError::Kind::Unsupported, fileName,
                           "this system has no reader for " +
                               QByteArray(qtFormat).toUpper().toStdString() + " pictures");
    QImageReader reader(QString::fromStdString(fileName), qtFormat);
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead()) {
        if (reader.error() == QImageReader::FileNotFoundError ||
            reader.error() == QImageReader::DeviceError)
            throw PictureError(PictureError::Kind::Unreadable, fileName,
                               "the file cannot be opened");
        throw PictureError(
            PictureError::Kind::WrongContent, fileName,
            "the content is not in " + QByteArray(qtFormat).toUpper().toStdString() + " format");
    }
    const QSize declared = reader.size();
    if (declared.isValid() &&
        static_cast<int64_t>(declared.width()) * declared.height() > raster::Bitmap::kMaxPixels)
        throw PictureError(PictureError::Kind::TooLarge, fileName,
                           std::to_string(declared.width()) + " x " +
                               std::to_string(declared.height()) +
                               " pixels is above the limit of 100 megapixels");
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw PictureError(PictureError::Kind::Corrupt, fileName,
                           "broken picture data: " + reader.errorString().toStdString());
    if (static_cast<int64_t>(image.width()) * image.height() > raster::Bitmap::kMaxPixels)
        throw PictureError(PictureError::Kind::TooLarge, fileName,
                           "the picture is above the limit of 100 megapixels");
    if (const auto format = SilentOnMissingData(qtFormat))
        if (const auto complete = CheckComplete(*format, ReadFileBytes(fileName)); !complete)
            throw PictureError(PictureError::Kind::Damaged, fileName,
                               "the picture is damaged: " + complete.message());
    return FromQImage(image, fileName);
}

}  // namespace imaging
