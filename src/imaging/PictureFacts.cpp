#include "imaging/PictureFacts.h"

#include <QFileInfo>
#include <QString>
#include <QUtf8StringView>

#include <libexif/exif-data.h>

#include <cstring>
#include <memory>
#include <string_view>

#include "base/Swallow.h"
#include "imaging/FileBytes.h"
#include "imaging/HeifDecoder.h"
#include "imaging/PictureSignatures.h"

namespace imaging {

namespace {

// A JPEG's EXIF segment is at most 64 KiB and comes right after the JFIF
// one in every camera's files; the head read leaves room for a few others.
constexpr size_t kJpegHeadBytes = 256 * 1024;
// HEIF files keep the Exif item wherever they like: read whole, as the
// decoder does, but a file that large is no phone photo.
constexpr int64_t kMaxHeifFactsBytes = int64_t{256} << 20;

struct ExifFree {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

// The entry's bytes, or empty when libexif kept none.
std::string_view EntryText(const ExifEntry* entry) {
    if (!entry || !entry->data || entry->size == 0) return {};
    std::string_view text(reinterpret_cast<const char*>(entry->data), entry->size);
    return text.substr(0, text.find('\0'));
}

// "YYYY:MM:DD HH:MM:SS"; cameras without a set clock write zeros or spaces.
std::optional<QDateTime> ParseExifTime(std::string_view text) {
    if (text.size() < 19) return std::nullopt;
    const QDateTime time = QDateTime::fromString(QString::fromLatin1(text.data(), 19),
                                                 QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    if (!time.isValid()) return std::nullopt;
    return time;
}

std::string Trimmed(const QString& text) {
    return text.trimmed().toStdString();
}

// The text of an ASCII tag: UTF-8 when it is, as most programs write it now,
// else Latin-1, as older cameras did.
std::string AsciiTagText(std::string_view text) {
    if (QUtf8StringView(text).isValidUtf8())
        return Trimmed(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    return Trimmed(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

// Windows' title tag: UTF-16, little-endian whatever the block's order.
std::string XpTitleText(const ExifEntry* entry) {
    if (!entry || !entry->data || entry->size < 2) return {};
    QString title;
    for (unsigned i = 0; i + 1 < entry->size; i += 2) {
        const auto unit = static_cast<char16_t>(entry->data[i] | (entry->data[i + 1] << 8));
        if (unit == 0) break;
        title += QChar(unit);
    }
    return Trimmed(title);
}

}  // namespace

std::span<const uint8_t> JpegExifBlock(std::span<const uint8_t> file) {
    if (file.size() < 4 || file[0] != 0xFF || file[1] != 0xD8) return {};
    size_t at = 2;
    while (at + 4 <= file.size()) {
        if (file[at] != 0xFF) return {};
        const uint8_t marker = file[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        // The picture data starts, or the file ends, before any EXIF block.
        if (marker == 0xDA || marker == 0xD9) return {};
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
            at += 2;
            continue;
        }
        const size_t length = (size_t{file[at + 2]} << 8) | file[at + 3];
        if (length < 2 || at + 2 + length > file.size()) return {};
        const std::span<const uint8_t> body = file.subspan(at + 4, length - 2);
        if (marker == 0xE1 && body.size() >= 6 && std::memcmp(body.data(), "Exif\0\0", 6) == 0)
            return body;
        at += 2 + length;
    }
    return {};
}

ExifFacts ReadExifFacts(std::span<const uint8_t> exif) {
    ExifFacts facts;
    if (exif.size() < 6 || std::memcmp(exif.data(), "Exif\0\0", 6) != 0) return facts;
    const std::unique_ptr<ExifData, ExifFree> data(
        exif_data_new_from_data(exif.data(), static_cast<unsigned>(exif.size())));
    if (!data) return facts;
    facts.taken = ParseExifTime(
        EntryText(exif_content_get_entry(data->ifd[EXIF_IFD_EXIF], EXIF_TAG_DATE_TIME_ORIGINAL)));
    facts.title = AsciiTagText(
        EntryText(exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_IMAGE_DESCRIPTION)));
    if (facts.title.empty())
        facts.title = XpTitleText(exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_XP_TITLE));
    return facts;
}

std::vector<uint8_t> ExifThumbnail(std::span<const uint8_t> exif) {
    if (exif.size() < 6 || std::memcmp(exif.data(), "Exif\0\0", 6) != 0) return {};
    const std::unique_ptr<ExifData, ExifFree> data(
        exif_data_new_from_data(exif.data(), static_cast<unsigned>(exif.size())));
    // libexif keeps the thumbnail only when its offset and length lie inside
    // the block.
    if (!data || data->data == nullptr || data->size < 4) return {};
    return std::vector<uint8_t>(data->data, data->data + data->size);
}

PictureFacts ReadPictureFacts(const std::string& path) {
    PictureFacts facts;
    const QFileInfo info(QString::fromStdString(path));
    if (!info.isFile()) return facts;
    // A file that cannot be read has no EXIF to give; its time still sorts it.
    base::Swallow("imaging::ReadPictureFacts", [&] {
        const std::vector<uint8_t> head = ReadFileHead(path, kJpegHeadBytes);
        const std::string_view type = SignatureExtension(head);
        ExifFacts exif;
        if (type == ".JPG") {
            exif = ReadExifFacts(JpegExifBlock(head));
        } else if ((type == ".HEIC" || type == ".AVIF") && info.size() <= kMaxHeifFactsBytes) {
            exif = ReadExifFacts(HeifExifBlock(ReadFileBytes(path)));
        }
        facts.title = std::move(exif.title);
        if (exif.taken) {
            facts.taken = exif.taken;
            facts.takenFromExif = true;
        }
    });
    if (!facts.taken) facts.taken = info.lastModified();
    return facts;
}

}  // namespace imaging
