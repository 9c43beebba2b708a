#include "imaging/Orientation.h"

#include <algorithm>
#include <cstring>

#include <libexif/exif-data.h>

namespace imaging {

namespace {

// Source pixel of upright pixel (x, y) is (ax*x + bx*y + cx, ay*x + by*y + cy).
struct Mapping {
    int ax, bx, cx;
    int ay, by, cy;
};

Mapping MappingFor(int orientation, int w, int h) {
    switch (orientation) {
        case 2:
            return {-1, 0, w - 1, 0, 1, 0};
        case 3:
            return {-1, 0, w - 1, 0, -1, h - 1};
        case 4:
            return {1, 0, 0, 0, -1, h - 1};
        case 5:
            return {0, 1, 0, 1, 0, 0};
        case 6:
            return {0, 1, 0, -1, 0, h - 1};
        case 7:
            return {0, -1, w - 1, -1, 0, h - 1};
        case 8:
            return {0, -1, w - 1, 1, 0, 0};
        default:
            return {1, 0, 0, 0, 1, 0};
    }
}

}  // namespace

raster::Bitmap Reorient(raster::Bitmap stored, int orientation) {
    if (orientation < 2 || orientation > 8 || stored.isEmpty()) return stored;
    const int w = stored.width(), h = stored.height();
    raster::Bitmap out = SwapsAxes(orientation) ? raster::Bitmap(h, w) : raster::Bitmap(w, h);
    const Mapping m = MappingFor(orientation, w, h);
    // Tiles keep both the reads and the writes of a quarter turn in cache.
    constexpr int kTile = 64;
    for (int ty = 0; ty < out.height(); ty += kTile) {
        const int yEnd = std::min(out.height(), ty + kTile);
        for (int tx = 0; tx < out.width(); tx += kTile) {
            const int xEnd = std::min(out.width(), tx + kTile);
            for (int y = ty; y < yEnd; ++y) {
                uint8_t* dst = out.row(y) + 3 * tx;
                for (int x = tx; x < xEnd; ++x, dst += 3) {
                    const int sx = m.ax * x + m.bx * y + m.cx;
                    const int sy = m.ay * x + m.by * y + m.cy;
                    std::memcpy(dst, stored.row(sy) + 3 * sx, 3);
                }
            }
        }
    }
    return out;
}

std::vector<uint8_t> ReorientPlane(std::vector<uint8_t> plane, int width, int height,
                                   int orientation) {
    if (plane.empty() || orientation < 2 || orientation > 8) return plane;
    // Through a grey bitmap: the planes are small next to the picture.
    raster::Bitmap grey(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* p = grey.row(y);
        const uint8_t* in = plane.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 0; x < width; ++x, p += 3) p[0] = in[x];
    }
    const raster::Bitmap upright = Reorient(std::move(grey), orientation);
    std::vector<uint8_t> out;
    out.reserve(plane.size());
    for (int y = 0; y < upright.height(); ++y) {
        const uint8_t* p = upright.row(y);
        for (int x = 0; x < upright.width(); ++x, p += 3) out.push_back(p[0]);
    }
    return out;
}

int ExifOrientation(std::span<const uint8_t> exif) {
    if (exif.size() < 6 || std::memcmp(exif.data(), "Exif\0\0", 6) != 0) return 1;
    ExifData* data = exif_data_new_from_data(exif.data(), static_cast<unsigned>(exif.size()));
    if (!data) return 1;
    int orientation = 1;
    const ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (entry && entry->format == EXIF_FORMAT_SHORT && entry->components >= 1 && entry->size >= 2)
        orientation = exif_get_short(entry->data, exif_data_get_byte_order(data));
    exif_data_unref(data);
    return orientation >= 1 && orientation <= 8 ? orientation : 1;
}

}  // namespace imaging
