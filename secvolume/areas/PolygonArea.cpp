#include "PolygonArea.h"

#include <algorithm>
#include <cmath>

namespace tz::secvolume {

double polygonArea(const std::vector<Point3>& vertices) {
    if (vertices.empty()) return 0;
    double smallestX = vertices.front().x, smallestY = vertices.front().y;
    for (const Point3& v : vertices) {
        smallestX = std::min(smallestX, v.x);
        smallestY = std::min(smallestY, v.y);
    }
    const double shiftX = smallestX < 0 ? std::fabs(smallestX) : 0;
    const double shiftY = smallestY < 0 ? std::fabs(smallestY) : 0;
    double sum = 0;
    const std::size_t n = vertices.size();
    for (std::size_t k = 0; k < n; ++k) {
        const Point3& a = vertices[k];
        const Point3& b = vertices[(k + 1) % n];
        const double ax = a.x + shiftX, ay = a.y + shiftY, bx = b.x + shiftX, by = b.y + shiftY;
        sum += ax * by - bx * ay;
    }
    return 0.5 * sum;
}

}  // namespace tz::secvolume
