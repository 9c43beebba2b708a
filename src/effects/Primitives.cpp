#include "effects/Primitives.h"

namespace effects {

void ClipReveal(Bitmap& dest, const Bitmap& source, const OptRegion& region) {
    if (region) dest.selectClip(&*region);
    Copy(dest, 0, 0, dest.width(), dest.height(), source, 0, 0);
    dest.selectClip(nullptr);
}

void Union(OptRegion& a, const OptRegion& b) {
    if (a && b) a->unite(*b);
}

void Intersect(OptRegion& a, const OptRegion& b) {
    if (a && b) a->intersect(*b);
}

void Xor(OptRegion& a, const OptRegion& b) {
    if (a && b) a->xorWith(*b);
}

namespace {

Region PolygonOf(const int* values, size_t count) {
    std::vector<raster::Point> points;
    points.reserve(count / 2);
    for (size_t i = 0; i + 1 < count; i += 2) points.push_back({values[i], values[i + 1]});
    return Region::polygon(points);
}

}  // namespace

Region PolyRgn(std::initializer_list<int> coordinates) {
    return PolygonOf(coordinates.begin(), coordinates.size());
}

Region PolyRgn(const std::vector<int>& coordinates) {
    return PolygonOf(coordinates.data(), coordinates.size());
}

}  // namespace effects
