#include "imaging/DecoderRegistry.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "imaging/FfmpegDecoder.h"
#include "imaging/FileBytes.h"
#include "imaging/HeifDecoder.h"
#include "imaging/JpegDecoder.h"
#include "imaging/PcxReader.h"
#include "imaging/PictureError.h"
#include "imaging/PictureSignatures.h"
#include "imaging/PsdReader.h"
#include "imaging/QtDecoder.h"
#include "imaging/RawDecoder.h"

namespace imaging {

namespace {

template <const char* QtFormat>
DecodedImage ViaQt(const std::string& fileName, const DecodeRequest&) {
    return DecodeWithQt(fileName, QtFormat);
}

template <RasterFormat Format>
DecodedImage ViaFfmpeg(const std::string& fileName, const DecodeRequest&) {
    return DecodeWithFfmpeg(fileName, Format);
}

// PCX pictures of 8-bit planes are ours; the older bit-plane kinds FFmpeg's.
DecodedImage ViaPcxReader(const std::string& fileName, const DecodeRequest& request) {
    if (IsPcxOfByteSamples(ReadFileHead(fileName, 128))) return DecodePcx(fileName, request);
    return DecodeWithFfmpeg(fileName, RasterFormat::Pcx);
}

constexpr char kPng[] = "png", kGif[] = "gif", kBmp[] = "bmp", kTiff[] = "tiff", kWebp[] = "webp",
               kIco[] = "ico", kCur[] = "cur", kPbm[] = "pbm", kPgm[] = "pgm", kPpm[] = "ppm",
               kXpm[] = "xpm", kXbm[] = "xbm";

const std::vector<DecoderInfo> kDecoders = {
    {".JPG", "JPEG", DecodeJpeg},
    {".JPEG", "JPEG", DecodeJpeg},
    {".JPE", "JPEG", DecodeJpeg},
    {".JFIF", "JPEG", DecodeJpeg},
    {".GIF", "GIF", ViaQt<kGif>},
    {".PNG", "PNG", ViaQt<kPng>},
    {".BMP", "BMP", ViaQt<kBmp>},
    {".DIB", "BMP", ViaQt<kBmp>},
    {".TIF", "TIFF", ViaQt<kTiff>},
    {".TIFF", "TIFF", ViaQt<kTiff>},
    {".WEBP", "WebP", ViaQt<kWebp>},
    {".ICO", "Icon", ViaQt<kIco>},
    {".CUR", "Cursor", ViaQt<kCur>},
    {".PBM", "Portable bitmap", ViaQt<kPbm>},
    {".PGM", "Portable graymap", ViaQt<kPgm>},
    {".PPM", "Portable pixmap", ViaQt<kPpm>},
    {".PNM", "Portable anymap", ViaQt<kPpm>},
    {".XPM", "X pixmap", ViaQt<kXpm>},
    {".XBM", "X bitmap", ViaQt<kXbm>},
    {".HEIC", "HEIF", DecodeHeif},
    {".HEIF", "HEIF", DecodeHeif},
    {".HIF", "HEIF", DecodeHeif},
    {".AVIF", "AVIF", DecodeHeif},
    {".DNG", "Camera RAW", DecodeRaw, ".TIF"},
    {".CR2", "Camera RAW", DecodeRaw, ".TIF"},
    {".CR3", "Camera RAW", DecodeRaw},
    {".NEF", "Camera RAW", DecodeRaw, ".TIF"},
    {".ARW", "Camera RAW", DecodeRaw, ".TIF"},
    {".ORF", "Camera RAW", DecodeRaw, ".TIF"},
    {".RW2", "Camera RAW", DecodeRaw, ".TIF"},
    {".RAF", "Camera RAW", DecodeRaw},
    {".PCX", "PCX", ViaPcxReader},
    {".TGA", "Targa", ViaFfmpeg<RasterFormat::Targa>},
    {".TARGA", "Targa", ViaFfmpeg<RasterFormat::Targa>},
    {".SGI", "SGI", ViaFfmpeg<RasterFormat::Sgi>},
    {".RGB", "SGI", ViaFfmpeg<RasterFormat::Sgi>},
    {".RGBA", "SGI", ViaFfmpeg<RasterFormat::Sgi>},
    {".BW", "SGI", ViaFfmpeg<RasterFormat::Sgi>},
    {".PSD", "Photoshop", DecodePsd},
    {".PCD", "Photo-CD", ViaFfmpeg<RasterFormat::PhotoCd>},
    {".RAS", "Sun raster", ViaFfmpeg<RasterFormat::SunRaster>},
    {".SUN", "Sun raster", ViaFfmpeg<RasterFormat::SunRaster>},
    {".IM1", "Sun raster", ViaFfmpeg<RasterFormat::SunRaster>},
    {".IM8", "Sun raster", ViaFfmpeg<RasterFormat::SunRaster>},
    {".IM24", "Sun raster", ViaFfmpeg<RasterFormat::SunRaster>},
    {".IM32", "Sun raster", ViaFfmpeg<RasterFormat::SunRaster>},
    {".XWD", "XWD", ViaFfmpeg<RasterFormat::Xwd>},
    {".WMF", "Windows metafile", nullptr},
    {".EMF", "Enhanced metafile", nullptr},
};

std::string Upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

}  // namespace

std::string UpperExtension(const std::string& fileName) {
    // The extension belongs to the last path element only.
    const size_t slash = fileName.find_last_of('/');
    const size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return Upper(std::string_view(fileName).substr(dot));
}

const DecoderInfo* FindDecoder(std::string_view extension) {
    const std::string key = Upper(extension);
    for (const DecoderInfo& info : kDecoders)
        if (info.extension == key) return &info;
    return nullptr;
}

const std::vector<DecoderInfo>& RegisteredDecoders() {
    return kDecoders;
}

const DecoderInfo& ChooseDecoder(const std::string& fileName) {
    std::error_code error;
    const auto status = std::filesystem::status(fileName, error);
    if (error || !std::filesystem::exists(status))
        throw PictureError(PictureError::Kind::NotFound, fileName, "the file does not exist");
    if (!std::filesystem::is_regular_file(status))
        throw PictureError(PictureError::Kind::NotFound, fileName, "it is not a file");
    const auto size = std::filesystem::file_size(fileName, error);
    if (error)
        throw PictureError(PictureError::Kind::Unreadable, fileName, "the file cannot be read");
    if (size == 0) throw PictureError(PictureError::Kind::Empty, fileName, "the file is empty");

    const std::string_view byContent = SignatureExtension(ReadFileHead(fileName, kSignatureBytes));
    const std::string extension = UpperExtension(fileName);
    const DecoderInfo* byName = FindDecoder(extension);
    const bool nameRefines = byName && !byContent.empty() && byName->container == byContent;
    const DecoderInfo* info = byContent.empty() || nameRefines ? byName : FindDecoder(byContent);
    if (!info)
        throw PictureError(PictureError::Kind::UnknownExtension, fileName,
                           extension.empty()
                               ? "the content is not a known picture format and the file name "
                                 "has no extension"
                               : "the content is not a known picture format and no picture "
                                 "decoder is registered for \"" +
                                     extension + "\"");
    if (!info->decode)
        throw PictureError(PictureError::Kind::Unsupported, fileName,
                           "WMF and EMF pictures are not supported on this platform");
    return *info;
}

DecodedImage DecodePictureFile(const std::string& fileName, const DecodeRequest& request) {
    return ChooseDecoder(fileName).decode(fileName, request);
}

}  // namespace imaging
