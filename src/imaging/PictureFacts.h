// What a picture file says about itself beyond its pixels: when it was taken
// and its title, for captions and for sorting a show by date.
//
// The facts come from the file's EXIF block (a JPEG's APP1 segment, a HEIF
// file's Exif item), which is outside data: every offset and count in it is
// checked by libexif against the block, and the segment walk stops at the
// end of the bytes it was given.
#pragma once

#include <QDateTime>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace imaging {

struct ExifFacts {
    // DateTimeOriginal, the moment the shutter was pressed, as the camera's
    // clock showed it (EXIF keeps no time zone).
    std::optional<QDateTime> taken;
    // ImageDescription, else the XP title, trimmed; empty when there is none.
    std::string title;
};

// The EXIF block of a JPEG ("Exif\0\0" onward), from the segments in front
// of the picture data; empty when the bytes are no JPEG or it has none.
std::span<const uint8_t> JpegExifBlock(std::span<const uint8_t> file);

// The facts of an EXIF block that starts "Exif\0\0"; none for anything else.
ExifFacts ReadExifFacts(std::span<const uint8_t> exif);

// The small JPEG a camera puts in the EXIF block for browsers (160 x 120 by
// the camera file standard), as its bytes; empty when there is none. The
// bytes are outside data still: decode them as any JPEG.
std::vector<uint8_t> ExifThumbnail(std::span<const uint8_t> exif);

struct PictureFacts {
    // When the picture was taken: its EXIF date, else the file's last
    // modification; nullopt only for a file that cannot be looked at.
    std::optional<QDateTime> taken;
    bool takenFromExif = false;
    std::string title;
};

// The facts of a picture file (JPEG, or HEIF through libheif); other types
// and unreadable files give the file's time alone. Never throws.
PictureFacts ReadPictureFacts(const std::string& path);

}  // namespace imaging
