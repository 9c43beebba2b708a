#include "imaging/ImageHeaders.h"

#include <cstring>

namespace imaging {

namespace {

uint32_t Le16(std::span<const uint8_t> b, size_t at) {
    return b[at] | (b[at + 1] << 8);
}
uint32_t Be16(std::span<const uint8_t> b, size_t at) {
    return (b[at] << 8) | b[at + 1];
}
uint32_t Be32(std::span<const uint8_t> b, size_t at) {
    return (static_cast<uint32_t>(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}
bool HasText(std::span<const uint8_t> b, size_t at, const char* text) {
    const size_t n = std::strlen(text);
    return b.size() >= at + n && std::memcmp(b.data() + at, text, n) == 0;
}

std::optional<HeaderSize> Pcx(std::span<const uint8_t> b) {
    if (b.size() < 128 || b[0] != 0x0A || b[1] > 5 || b[2] > 1) return std::nullopt;
    const uint8_t bpp = b[3];
    if (bpp != 1 && bpp != 2 && bpp != 4 && bpp != 8) return std::nullopt;
    const uint32_t xmin = Le16(b, 4), ymin = Le16(b, 6), xmax = Le16(b, 8), ymax = Le16(b, 10);
    if (xmax < xmin || ymax < ymin) return std::nullopt;
    return HeaderSize{xmax - xmin + 1, ymax - ymin + 1};
}

std::optional<HeaderSize> Targa(std::span<const uint8_t> b) {
    if (b.size() < 18 || b[1] > 1) return std::nullopt;
    const uint8_t type = b[2], bpp = b[16];
    const bool knownType =
        type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
    const bool knownDepth = bpp == 8 || bpp == 15 || bpp == 16 || bpp == 24 || bpp == 32;
    if (!knownType || !knownDepth) return std::nullopt;
    // Colour-mapped pictures need a map (true-colour ones may carry one too).
    if ((type == 1 || type == 9) && b[1] != 1) return std::nullopt;
    const HeaderSize size{Le16(b, 12), Le16(b, 14)};
    if (size.width == 0 || size.height == 0) return std::nullopt;
    return size;
}

std::optional<HeaderSize> Sgi(std::span<const uint8_t> b) {
    if (b.size() < 512 || Be16(b, 0) != 474 || b[2] > 1 || (b[3] != 1 && b[3] != 2))
        return std::nullopt;
    const uint32_t dimension = Be16(b, 4);
    if (dimension != 2 && dimension != 3) return std::nullopt;
    return HeaderSize{Be16(b, 6), Be16(b, 8)};
}

std::optional<HeaderSize> Photoshop(std::span<const uint8_t> b) {
    if (b.size() < 26 || !HasText(b, 0, "8BPS") || Be16(b, 4) != 1) return std::nullopt;
    return HeaderSize{Be32(b, 18), Be32(b, 14)};
}

std::optional<HeaderSize> PhotoCd(std::span<const uint8_t> b) {
    // An overview (thumbnail) file, or an image pac whose size tells which
    // resolutions it holds; the decoder reads the base picture, or the
    // sixteen-base one when the file is larger.
    if (b.size() >= 8192 && HasText(b, 0, "PCD_OPA")) return HeaderSize{192, 128};
    if (b.size() < 786432 || !HasText(b, 0x800, "PCD_IPI")) return std::nullopt;
    if (b.size() <= 788480) return HeaderSize{768, 512};
    return HeaderSize{3072, 2048};
}

std::optional<HeaderSize> SunRaster(std::span<const uint8_t> b) {
    if (b.size() < 32 || Be32(b, 0) != 0x59A66A95u) return std::nullopt;
    return HeaderSize{Be32(b, 4), Be32(b, 8)};
}

std::optional<HeaderSize> Xwd(std::span<const uint8_t> b) {
    if (b.size() < 100 || Be32(b, 0) < 100 || Be32(b, 4) != 7) return std::nullopt;
    if (Be32(b, 8) > 2) return std::nullopt;  // XYBitmap, XYPixmap or ZPixmap
    return HeaderSize{Be32(b, 16), Be32(b, 20)};
}

}  // namespace

const char* FormatName(RasterFormat format) {
    switch (format) {
        case RasterFormat::Pcx:
            return "PCX";
        case RasterFormat::Targa:
            return "Targa";
        case RasterFormat::Sgi:
            return "SGI";
        case RasterFormat::Photoshop:
            return "Photoshop";
        case RasterFormat::PhotoCd:
            return "Photo-CD";
        case RasterFormat::SunRaster:
            return "Sun raster";
        case RasterFormat::Xwd:
            return "XWD";
    }
    return "?";
}

std::optional<HeaderSize> PeekHeaderSize(RasterFormat format, std::span<const uint8_t> bytes) {
    switch (format) {
        case RasterFormat::Pcx:
            return Pcx(bytes);
        case RasterFormat::Targa:
            return Targa(bytes);
        case RasterFormat::Sgi:
            return Sgi(bytes);
        case RasterFormat::Photoshop:
            return Photoshop(bytes);
        case RasterFormat::PhotoCd:
            return PhotoCd(bytes);
        case RasterFormat::SunRaster:
            return SunRaster(bytes);
        case RasterFormat::Xwd:
            return Xwd(bytes);
    }
    return std::nullopt;
}

}  // namespace imaging
