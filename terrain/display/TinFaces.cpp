#include "display/TinFaces.h"

namespace tz::terrain::display {

std::wstring tinLayerOrDefault(const std::wstring& name) { return name.empty() ? kDefaultTinLayer : name; }

std::array<Point3, 4> faceCorners(const Triangle& triangle) {
    return {triangle.p1, triangle.p2, triangle.p3, triangle.p1};
}

}  // namespace tz::terrain::display
