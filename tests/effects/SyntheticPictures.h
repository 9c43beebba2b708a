// Photo-like pictures made in code: smooth gradients with a few hard-edged
// shapes, so that a wrong offset, a mirrored strip or a lost row changes
// many pixels. Two variants look unlike each other and differ in every
// channel of every pixel: variant 0 keeps its bytes at most 100, variant 1
// at least 150, so a blend of the two never equals either of them.
#pragma once

#include <cstdint>

#include "raster/Bitmap.h"

namespace effects::test_support {

inline raster::Bitmap SyntheticPicture(int width, int height, int variant) {
    raster::Bitmap picture(width, height);
    const int base = variant == 0 ? 0 : 150;
    const int span = variant == 0 ? 100 : 105;
    const int w = width > 1 ? width - 1 : 1;
    const int h = height > 1 ? height - 1 : 1;
    // Shapes in picture-relative units (per mille) so every size shows them.
    const int discX = (variant == 0 ? 330 : 640) * width / 1000;
    const int discY = (variant == 0 ? 420 : 380) * height / 1000;
    const long long discR =
        (variant == 0 ? 230LL : 180LL) * (width < height ? width : height) / 1000;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = picture.row(y);
        for (int x = 0; x < width; ++x) {
            // A sky-to-ground gradient, a diagonal sweep and a fine ripple.
            int blue = span * (h - y) / h;
            int green = span * (x + y) / (w + h);
            int red = span * x / w;
            red = (red + ((x * 7 + y * 3) % 11)) % (span + 1);
            const long long dx = x - discX, dy = y - discY;
            if (dx * dx + dy * dy <= discR * discR) {  // a sun or a ball
                red = span - (span * y) / (4 * h);
                green = span * 3 / 4;
                blue = span / 5 + (x % 5);
            }
            const bool box = variant == 0
                                 ? (x > width * 3 / 5 && y > height / 2 && y < height * 7 / 8)
                                 : (x < width / 4 && y > height * 3 / 5);
            if (box) {  // a house or a wall, with a stripe pattern on it
                red = span / 2 + ((y / 4) % 2) * (span / 3);
                green = span / 3;
                blue = span / 4 + (x * 13 % 17);
            }
            row[3 * x] = static_cast<uint8_t>(base + blue % (span + 1));
            row[3 * x + 1] = static_cast<uint8_t>(base + green % (span + 1));
            row[3 * x + 2] = static_cast<uint8_t>(base + red % (span + 1));
        }
    }
    return picture;
}

}  // namespace effects::test_support
