#include "mesh/MeshLines.h"

namespace tz::terrain::mesh {

SkirtFeet skirtFeet(const std::vector<GridPair>& pairs, double base) {
    return {{pairs.front().a.x, pairs.front().a.y, base}, {pairs.back().b.x, pairs.back().b.y, base}};
}

std::vector<MeshPiece> gridLinePieces(const std::vector<GridPair>& pairs, const std::optional<SkirtFeet>& feet) {
    std::vector<MeshPiece> pieces;
    if (pairs.empty()) return pieces;
    pieces.push_back({pairs[0].a, {}});
    if (feet) pieces.back().vertices.push_back({feet->first, true});
    pieces.back().vertices.push_back({pairs[0].a, false});
    pieces.back().vertices.push_back({pairs[0].b, false});
    for (std::size_t i = 1; i < pairs.size(); ++i) {
        const Point3& previousEnd = pairs[i - 1].b;
        if (pairs[i].a.x != previousEnd.x || pairs[i].a.y != previousEnd.y) {
            pieces.push_back({pairs[i].a, {}});
            pieces.back().vertices.push_back({pairs[i].a, false});
        }
        pieces.back().vertices.push_back({pairs[i].b, false});
    }
    if (feet) pieces.back().vertices.push_back({feet->last, true});
    return pieces;
}

std::optional<MeshPiece> skirtBaseLine(const std::vector<Point3>& columnFeet) {
    if (columnFeet.empty()) return std::nullopt;
    MeshPiece base{columnFeet[0], {}};
    for (std::size_t i = 0; i < columnFeet.size(); i += 2) base.vertices.push_back({columnFeet[i], false});
    return base;
}

}  // namespace tz::terrain::mesh
