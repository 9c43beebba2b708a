// EXIF blocks written byte by byte, and JPEG files carrying them, for the
// tests of captions and sorting by the date a picture was taken: no camera
// file is kept in the repository, and no EXIF tool is needed to make one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_exif {

using Bytes = std::vector<uint8_t>;

struct ExifTags {
    std::string taken;        // DateTimeOriginal, "YYYY:MM:DD HH:MM:SS"; empty for none
    std::string description;  // ImageDescription; empty for none
};

// An APP1 payload ("Exif\0\0" and a TIFF structure) with IFD0 holding the
// description and a pointer to an EXIF IFD holding the date.
inline Bytes ExifBlock(const ExifTags& tags, bool bigEndian = false) {
    Bytes tiff;
    const auto put = [&](Bytes& b, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
            b.push_back(static_cast<uint8_t>(value >> shift));
        }
    };
    const auto ascii = [](const std::string& text) {
        Bytes b(text.begin(), text.end());
        b.push_back(0);
        return b;
    };
    const Bytes description = ascii(tags.description);
    const Bytes taken = ascii(tags.taken);
    const bool hasDescription = !tags.description.empty();
    const bool hasTaken = !tags.taken.empty();
    const uint32_t ifd0Entries = (hasDescription ? 1 : 0) + (hasTaken ? 1 : 0);
    const uint32_t ifd0Size = 2 + 12 * ifd0Entries + 4;
    const uint32_t exifIfd = 8 + ifd0Size;
    const uint32_t exifIfdSize = hasTaken ? 2 + 12 + 4 : 0;
    const uint32_t data = exifIfd + exifIfdSize;

    tiff = bigEndian ? Bytes{'M', 'M', 0, 42} : Bytes{'I', 'I', 42, 0};
    put(tiff, 8, 4);
    put(tiff, ifd0Entries, 2);
    // Entries in tag order; ASCII values live in the data area after the IFDs.
    if (hasDescription) {
        put(tiff, 0x010E, 2);
        put(tiff, 2, 2);
        put(tiff, static_cast<uint32_t>(description.size()), 4);
        put(tiff, data, 4);
    }
    if (hasTaken) {
        put(tiff, 0x8769, 2);  // the EXIF IFD
        put(tiff, 4, 2);
        put(tiff, 1, 4);
        put(tiff, exifIfd, 4);
    }
    put(tiff, 0, 4);
    if (hasTaken) {
        put(tiff, 1, 2);
        put(tiff, 0x9003, 2);  // DateTimeOriginal
        put(tiff, 2, 2);
        put(tiff, static_cast<uint32_t>(taken.size()), 4);
        put(tiff, data + (hasDescription ? static_cast<uint32_t>(description.size()) : 0), 4);
        put(tiff, 0, 4);
    }
    if (hasDescription) tiff.insert(tiff.end(), description.begin(), description.end());
    if (hasTaken) tiff.insert(tiff.end(), taken.begin(), taken.end());

    Bytes block = {'E', 'x', 'i', 'f', 0, 0};
    block.insert(block.end(), tiff.begin(), tiff.end());
    return block;
}

// The JPEG with an APP1 segment holding 'exif' right after its start, where
// cameras put it (after a JFIF segment when 'afterJfif').
inline Bytes WithExif(const Bytes& jpeg, const Bytes& exif, bool afterJfif = false) {
    size_t at = 2;
    if (afterJfif && jpeg.size() > 6 && jpeg[2] == 0xFF && jpeg[3] == 0xE0)
        at += 2 + ((size_t{jpeg[4]} << 8) | jpeg[5]);
    Bytes out(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(at));
    const size_t length = exif.size() + 2;
    out.insert(out.end(), {0xFF, 0xE1, static_cast<uint8_t>(length >> 8),
                           static_cast<uint8_t>(length & 0xFF)});
    out.insert(out.end(), exif.begin(), exif.end());
    out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(at), jpeg.end());
    return out;
}

}  // namespace testing_exif
