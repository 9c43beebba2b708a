#include "imaging/PictureSignatures.h"

#include <algorithm>
#include <array>

namespace imaging {

namespace {

struct Mark {
    size_t offset = 0;
    std::string_view bytes;  // empty: no second mark
};

struct Signature {
    std::array<Mark, 2> marks;  // both must match
    std::string_view extension;
};

using namespace std::string_view_literals;

// Checked in order, so the two-byte marks (SGI, BMP) come after the longer
// ones. Icons and cursors are left out: their four bytes are also the start
// of an ordinary uncompressed Targa file, so for them the name decides.
const Signature kSignatures[] = {
    {{{{0, "\xFF\xD8\xFF"sv}}}, ".JPG"},
    {{{{0, "\x89PNG\r\n\x1A\n"sv}}}, ".PNG"},
    {{{{0, "GIF87a"sv}}}, ".GIF"},
    {{{{0, "GIF89a"sv}}}, ".GIF"},
    {{{{0, "RIFF"sv}, {8, "WEBP"sv}}}, ".WEBP"},
    // ISO base media files: the brand after "ftyp" tells HEIF, AVIF and
    // Canon's CR3 apart.
    {{{{4, "ftypheic"sv}}}, ".HEIC"},
    {{{{4, "ftypheix"sv}}}, ".HEIC"},
    {{{{4, "ftyphevc"sv}}}, ".HEIC"},
    {{{{4, "ftyphevx"sv}}}, ".HEIC"},
    {{{{4, "ftypheim"sv}}}, ".HEIC"},
    {{{{4, "ftypheis"sv}}}, ".HEIC"},
    {{{{4, "ftypmif1"sv}}}, ".HEIC"},
    {{{{4, "ftypmsf1"sv}}}, ".HEIC"},
    {{{{4, "ftypavif"sv}}}, ".AVIF"},
    {{{{4, "ftypavis"sv}}}, ".AVIF"},
    {{{{4, "ftypcrx "sv}}}, ".CR3"},
    // Camera RAW files with marks of their own, before the TIFF they are
    // built on; other RAW files carry TIFF's and are told by their name.
    {{{{0, "II*\0"sv}, {8, "CR\x02"sv}}}, ".CR2"},
    {{{{0, "IIRO"sv}}}, ".ORF"},
    {{{{0, "IIRS"sv}}}, ".ORF"},
    {{{{0, "IIU\0"sv}}}, ".RW2"},
    {{{{0, "FUJIFILMCCD-RAW"sv}}}, ".RAF"},
    {{{{0, "II*\0"sv}}}, ".TIF"},
    {{{{0, "MM\0*"sv}}}, ".TIF"},
    {{{{0, "8BPS"sv}}}, ".PSD"},
    {{{{0, "\x59\xA6\x6A\x95"sv}}}, ".RAS"},
    {{{{0, "\x01\xDA"sv}}}, ".SGI"},
    {{{{0x800, "PCD_IPI"sv}}}, ".PCD"},
    {{{{0, "\0\0"sv}, {4, "\0\0\0\x07"sv}}}, ".XWD"},
    {{{{0, "\xD7\xCD\xC6\x9A"sv}}}, ".WMF"},
    {{{{0, "\1\0\0\0"sv}, {40, " EMF"sv}}}, ".EMF"},
    {{{{0, "/* XPM */"sv}}}, ".XPM"},
    {{{{0, "#define "sv}}}, ".XBM"},
    {{{{0, "P1"sv}}}, ".PBM"},
    {{{{0, "P4"sv}}}, ".PBM"},
    {{{{0, "P2"sv}}}, ".PGM"},
    {{{{0, "P5"sv}}}, ".PGM"},
    {{{{0, "P3"sv}}}, ".PPM"},
    {{{{0, "P6"sv}}}, ".PPM"},
    // PCX: the manufacturer byte, a known version (1 was never used), RLE.
    {{{{0, "\x0A\x00\x01"sv}}}, ".PCX"},
    {{{{0, "\x0A\x02\x01"sv}}}, ".PCX"},
    {{{{0, "\x0A\x03\x01"sv}}}, ".PCX"},
    {{{{0, "\x0A\x04\x01"sv}}}, ".PCX"},
    {{{{0, "\x0A\x05\x01"sv}}}, ".PCX"},
    {{{{0, "BM"sv}}}, ".BMP"},
};

bool Matches(const Mark& mark, std::span<const uint8_t> head) {
    if (mark.bytes.empty()) return true;
    if (head.size() < mark.offset + mark.bytes.size()) return false;
    return std::equal(mark.bytes.begin(), mark.bytes.end(), head.begin() + mark.offset,
                      [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; });
}

}  // namespace

std::string_view SignatureExtension(std::span<const uint8_t> head) {
    for (const Signature& signature : kSignatures)
        if (std::all_of(signature.marks.begin(), signature.marks.end(),
                        [head](const Mark& mark) { return Matches(mark, head); }))
            return signature.extension;
    return {};
}

}  // namespace imaging
