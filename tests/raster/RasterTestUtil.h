// Pixel masks for checking shapes by eye: '#' marks a covered pixel.
#pragma once

#include <string>
#include <vector>

#include "raster/Region.h"

namespace raster {

inline std::vector<std::string> MaskOf(const Region& region, int width, int height) {
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) row += region.contains(x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

}  // namespace raster
