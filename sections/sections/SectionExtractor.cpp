#include "SectionExtractor.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "profile/CutCorridor.h"
#include "profile/EdgeCrossing.h"
#include "profile/EdgeList.h"
#include "tin/TinLookup.h"

namespace tz::sections {

namespace {

using tz::terrain::profile::EdgeCrossing;
using tz::terrain::profile::EdgeCrossingFinder;
using tz::terrain::profile::EdgeList;

constexpr double kLowestGround = 0.1;  // ground at or below this is taken as no ground

// The first triangle's edges are all kept; every later edge only when no
// equal edge (either direction) is kept yet. Edges that cannot cross a
// section line are left out: they would give no crossing.
EdgeList distinctEdges(const TinTable& tin, const std::vector<SectionLine>& lines) {
    std::vector<tz::terrain::profile::PlanSegment> cuts;
    cuts.reserve(lines.size());
    for (const SectionLine& line : lines) cuts.push_back({line.startX, line.startY, line.endX, line.endY});
    const auto corridor = tz::terrain::profile::CutCorridor::around(cuts);
    EdgeList edges;
    for (std::size_t i = 0; i < tin.triangles.size(); ++i) {
        if (!corridor.mayCrossAnEdgeOf(tin.triangles[i])) continue;
        for (int k = 0; k < 3; ++k) {
            const auto edge = tz::terrain::profile::triangleEdge(tin.triangles[i], k);
            if (!corridor.mayCross(edge)) continue;
            if (i == 0)
                edges.append(edge);
            else
                edges.appendIfNew(edge);
        }
    }
    return edges;
}

void appendLine(std::string& text, const char* format, double a, double b = 0) {
    char line[1024];
    const int n = std::snprintf(line, sizeof line, format, a, b);
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof line) {
        text.append(line, static_cast<std::size_t>(n));
        return;
    }
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), format, a, b);
    text.append(big.data(), static_cast<std::size_t>(n));
}

struct OffsetCrossing {
    double offset, elevation;
};

}  // namespace

ExtractedSections extractSections(const TinTable& tin, const std::vector<SectionLine>& lines) {
    ExtractedSections result;
    if (lines.empty()) {
        result.outcome = SectionsOutcome::noSectionLines;
        return result;
    }
    const EdgeList edges = distinctEdges(tin, lines);
    const EdgeCrossingFinder finder(edges.edges());
    std::vector<Point3> ends;
    ends.reserve(2 * lines.size());
    for (const SectionLine& line : lines) {
        ends.push_back({line.startX, line.startY, 0});
        ends.push_back({line.endX, line.endY, 0});
    }
    const TinLookup lookup = TinLookup::forPoints(tin, ends);
    std::vector<EdgeCrossing> found;
    std::vector<OffsetCrossing> crossings;
    bool lastCrossed = false;
    for (const SectionLine& line : lines) {
        const Point3 start{line.startX, line.startY, 0}, end{line.endX, line.endY, 0};
        const double startOffset = -line.originDistance;
        const double endOffset = tz::geom::distance(start, end) - line.originDistance;
        const std::optional<double> startGround = lookup.lastElevation(start.x, start.y);
        const std::optional<double> endGround = lookup.lastElevation(end.x, end.y);

        found.clear();
        finder.crossings(start, end, found);
        crossings.clear();
        for (const EdgeCrossing& c : found)
            crossings.push_back({tz::geom::distance(c.point, start) - line.originDistance, c.elevation});
        std::stable_sort(crossings.begin(), crossings.end(),
                         [](const OffsetCrossing& a, const OffsetCrossing& b) { return a.offset < b.offset; });

        if (!crossings.empty()) {
            appendLine(result.text, "%lf\n", line.station);
            if (startGround && *startGround > kLowestGround)
                appendLine(result.text, "%lf %lf\n", startOffset, *startGround);
            // A lone crossing is both the first and the last crossing line.
            if (crossings.size() == 1) crossings.push_back(crossings.front());
            for (const OffsetCrossing& c : crossings) appendLine(result.text, "%lf %lf\n", c.offset, c.elevation);
        }
        if (endGround && *endGround > kLowestGround) appendLine(result.text, "%lf %lf\n", endOffset, *endGround);
        result.text += "X\n";
        lastCrossed = !found.empty();
    }
    result.outcome = lastCrossed ? SectionsOutcome::done : SectionsOutcome::lastLineCrossesNoEdge;
    return result;
}

}  // namespace tz::sections
