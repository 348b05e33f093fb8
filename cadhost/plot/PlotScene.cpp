#include "plot/PlotScene.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "FileSystem.h"
#include "drawing/EntityGeometry.h"
#include "drawing/Wildcard.h"

namespace tz::cad {

namespace {

constexpr double kDegrees = std::numbers::pi / 180;

struct LayerView {
    bool shown = false;
    int colour = 7;
};

LayerView viewOfLayer(const Drawing& drawing, const std::wstring& name, const std::wstring& pattern) {
    const Layer* layer = drawing.findLayer(name);
    const int colour = layer ? std::abs(layer->color) : 7;
    if (!pattern.empty()) return {wildcardMatch(pattern, name, true), colour};
    const bool off = layer && layer->color < 0;
    const bool frozen = layer && (layer->flags & 1) != 0;
    return {!off && !frozen, colour};
}

PlotColour colourOf(const Entity& entity, int layerColour) {
    if (std::optional<int64_t> rgb = groupInt(entity.data, 420)) return trueColour(static_cast<long>(*rgb));
    const int64_t index = groupInt(entity.data, 62).value_or(256);
    if (index == 256 || index < 0) return aciColour(layerColour);
    return aciColour(static_cast<int>(index));  // 0, by block, is black outside a block
}

std::string utf8(const std::wstring& text) { return tz::platform::toUtf8(text); }

// The plain text of MTEXT contents: paragraphs become lines, formatting codes
// and grouping braces go, escaped characters stay.
std::string plainMText(const std::wstring& contents) {
    std::wstring plain;
    for (size_t i = 0; i < contents.size(); ++i) {
        const wchar_t c = contents[i];
        if (c == L'{' || c == L'}') continue;
        if (c != L'\\' || i + 1 == contents.size()) {
            plain += c;
            continue;
        }
        const wchar_t code = contents[++i];
        switch (code) {
            case L'P': case L'X': plain += L'\n'; break;
            case L'~': plain += L' '; break;
            case L'\\': case L'{': case L'}': plain += code; break;
            case L'L': case L'l': case L'O': case L'o': case L'K': case L'k': break;  // under/overline, strike
            case L'S': {  // stacked text a^b or a/b: shown side by side
                const size_t end = contents.find(L';', i + 1);
                std::wstring stacked = contents.substr(i + 1, end == std::wstring::npos ? std::wstring::npos : end - i - 1);
                std::replace(stacked.begin(), stacked.end(), L'^', L'/');
                std::replace(stacked.begin(), stacked.end(), L'#', L'/');
                plain += stacked;
                i = end == std::wstring::npos ? contents.size() : end;
                break;
            }
            default: {  // \A1; \C3; \fArial|b0; \H2.5x; \Q15; \T1.1; \W0.8; ... up to the semicolon
                const size_t end = contents.find(L';', i + 1);
                i = end == std::wstring::npos ? contents.size() : end;
                break;
            }
        }
    }
    return utf8(plain);
}

// The TEXT entity's own anchor (`anchor`): the alignment point once it is justified.
PlotText textOf(const Entity& entity, Point3& anchor) {
    PlotText text;
    const Point3 insert = groupPoint(entity.data, 10).value_or(Point3{});
    const int64_t horizontal = groupInt(entity.data, 72).value_or(0);
    const int64_t vertical = groupInt(entity.data, 73).value_or(0);
    anchor = insert;
    if ((horizontal != 0 || vertical != 0) && horizontal != 3 && horizontal != 5) {
        anchor = groupPoint(entity.data, 11).value_or(insert);
    }
    text.x = anchor.x;
    text.y = anchor.y;
    text.height = groupReal(entity.data, 40).value_or(0);
    text.rotation = groupReal(entity.data, 50).value_or(0) * kDegrees;
    text.utf8 = utf8(groupString(entity.data, 1).value_or(L""));
    if (horizontal == 4) {  // middle: centred both ways
        text.horizontal = 1;
        text.vertical = 2;
    } else {
        text.horizontal = horizontal == 1 || horizontal == 2 ? static_cast<int>(horizontal) : 0;
        text.vertical = vertical >= 0 && vertical <= 3 ? static_cast<int>(vertical) : 0;
    }
    return text;
}

PlotText mtextOf(const Entity& entity, Point3& insert) {
    PlotText text;
    insert = groupPoint(entity.data, 10).value_or(Point3{});
    text.x = insert.x;
    text.y = insert.y;
    text.height = groupReal(entity.data, 40).value_or(0);
    if (std::optional<Point3> direction = groupPoint(entity.data, 11); direction && (direction->x || direction->y)) {
        text.rotation = std::atan2(direction->y, direction->x);
    } else {
        text.rotation = groupReal(entity.data, 50).value_or(0);  // MTEXT keeps its rotation in radians
    }
    std::wstring contents;
    for (const Group& group : entity.data) {
        if (group.code == 3) contents += std::get<std::wstring>(group.value);
    }
    contents += groupString(entity.data, 1).value_or(L"");
    text.utf8 = plainMText(contents);
    // Attachment 1..9: top, middle, bottom rows of left, centre, right.
    const int64_t attachment = std::clamp<int64_t>(groupInt(entity.data, 71).value_or(1), 1, 9);
    text.horizontal = static_cast<int>((attachment - 1) % 3);
    text.vertical = 3 - static_cast<int>((attachment - 1) / 3);  // 3 top, 2 middle, 1 bottom
    return text;
}

std::vector<const Entity*> subEntitiesOf(const Drawing& drawing, const Entity& entity, const wchar_t* type) {
    std::vector<const Entity*> found;
    for (uint64_t handle : entity.subEntities) {
        const Entity* sub = drawing.find(handle);
        if (sub && sub->type == type) found.push_back(sub);
    }
    return found;
}

// A path as the drawing holds it: 3D vertices, each with the bulge of the
// segment that starts there.
struct Path3 {
    std::vector<std::pair<Point3, double>> vertices;
    bool closed = false;
    double width = 0;
};

std::pair<Point3, double> vertexAt(const Point3& p, double bulge = 0) { return {p, bulge}; }

// Where a point of the drawing appears on the picture.
PlotVertex project(const Point3& p, PlotView view) {
    if (view == PlotView::plan) return {p.x, p.y, 0};
    // Looking from the south-west and above, along (1, 1, -1).
    return {(p.x - p.y) / std::numbers::sqrt2, (p.x + p.y + 2 * p.z) / std::sqrt(6.0), 0};
}

// The path as the picture shows it. In plan arcs stay arcs; in other views
// an arc becomes an ellipse, drawn as short chords.
PlotPath projectPath(const Path3& path, PlotView view) {
    PlotPath projected{{}, path.closed, path.width};
    const size_t count = path.vertices.size();
    for (size_t i = 0; i < count; ++i) {
        const auto& [point, bulge] = path.vertices[i];
        PlotVertex vertex = project(point, view);
        if (view == PlotView::plan) {
            vertex.bulge = bulge;
            projected.vertices.push_back(vertex);
            continue;
        }
        projected.vertices.push_back(vertex);
        if (i + 1 == count && !path.closed) break;
        const Point3& next = path.vertices[(i + 1) % count].first;
        const std::optional<PlotArc> arc = arcOfBulge(point.x, point.y, next.x, next.y, bulge);
        if (!arc) continue;
        const double sweep = arc->endAngle - arc->startAngle;
        const int steps = std::max(2, static_cast<int>(std::ceil(std::abs(sweep) / (std::numbers::pi / 36))));
        for (int k = 1; k < steps; ++k) {
            const double t = static_cast<double>(k) / steps;
            const double angle = arc->startAngle + sweep * t;
            projected.vertices.push_back(project({arc->centreX + arc->radius * std::cos(angle),
                                                  arc->centreY + arc->radius * std::sin(angle),
                                                  point.z + (next.z - point.z) * t},
                                                 view));
        }
    }
    return projected;
}

struct SceneBuilder {
    PlotScene& scene;
    PlotView view;
};

void addPath(SceneBuilder& out, const PlotColour& colour, const Path3& path) {
    if (path.vertices.size() >= 2) out.scene.items.push_back({colour, projectPath(path, out.view)});
}

void addPolyfaceMesh(SceneBuilder& scene, const PlotColour& colour, const std::vector<const Entity*>& vertices) {
    std::vector<Point3> positions;
    for (const Entity* vertex : vertices) {
        const int64_t flags = groupInt(vertex->data, 70).value_or(0);
        if (flags & 64) positions.push_back(groupPoint(vertex->data, 10).value_or(Point3{}));
    }
    for (const Entity* vertex : vertices) {
        const int64_t flags = groupInt(vertex->data, 70).value_or(0);
        if ((flags & 128) == 0 || (flags & 64) != 0) continue;  // not a face record
        std::vector<int64_t> corners;
        for (int code : {71, 72, 73, 74}) {
            const int64_t index = groupInt(vertex->data, code).value_or(0);
            if (index != 0) corners.push_back(index);
        }
        // A negative index hides the edge that starts at that corner.
        for (size_t i = 0; i < corners.size(); ++i) {
            const int64_t from = corners[i];
            const int64_t to = std::abs(corners[(i + 1) % corners.size()]);
            if (from < 0 || from > static_cast<int64_t>(positions.size()) || to > static_cast<int64_t>(positions.size())) {
                continue;
            }
            addPath(scene, colour, {{vertexAt(positions[from - 1]), vertexAt(positions[to - 1])}, false, 0});
        }
    }
}

void addPolygonMesh(SceneBuilder& scene, const PlotColour& colour, const Entity& polyline,
                    const std::vector<const Entity*>& vertices) {
    const int64_t flags = groupInt(polyline.data, 70).value_or(0);
    const int64_t rows = groupInt(polyline.data, 71).value_or(0);
    const int64_t columns = groupInt(polyline.data, 72).value_or(0);
    if (rows < 1 || columns < 1 || rows * columns > static_cast<int64_t>(vertices.size())) return;
    auto at = [&](int64_t row, int64_t column) {
        return vertexAt(groupPoint(vertices[row * columns + column]->data, 10).value_or(Point3{}));
    };
    for (int64_t row = 0; row < rows; ++row) {
        Path3 path{{}, (flags & 32) != 0, 0};
        for (int64_t column = 0; column < columns; ++column) path.vertices.push_back(at(row, column));
        addPath(scene, colour, path);
    }
    for (int64_t column = 0; column < columns; ++column) {
        Path3 path{{}, (flags & 1) != 0, 0};
        for (int64_t row = 0; row < rows; ++row) path.vertices.push_back(at(row, column));
        addPath(scene, colour, path);
    }
}

void addPolyline(SceneBuilder& scene, const PlotColour& colour, const Drawing& drawing, const Entity& polyline) {
    const int64_t flags = groupInt(polyline.data, 70).value_or(0);
    const std::vector<const Entity*> vertices = subEntitiesOf(drawing, polyline, L"VERTEX");
    if (flags & 64) return addPolyfaceMesh(scene, colour, vertices);
    if (flags & 16) return addPolygonMesh(scene, colour, polyline, vertices);
    const bool curved = (flags & 8) == 0;  // a 3D polyline has no arcs
    Path3 path{{}, (flags & 1) != 0,
               std::max(groupReal(polyline.data, 40).value_or(0), groupReal(polyline.data, 41).value_or(0))};
    for (const Entity* vertex : vertices) {
        if (groupInt(vertex->data, 70).value_or(0) & 16) continue;  // a spline's frame control point
        path.vertices.push_back(vertexAt(groupPoint(vertex->data, 10).value_or(Point3{}),
                                         curved ? groupReal(vertex->data, 42).value_or(0) : 0));
    }
    addPath(scene, colour, path);
}

void addLightweightPolyline(SceneBuilder& scene, const PlotColour& colour, const Entity& polyline) {
    Path3 path{{}, (groupInt(polyline.data, 70).value_or(0) & 1) != 0, groupReal(polyline.data, 43).value_or(0)};
    const double elevation = groupReal(polyline.data, 38).value_or(0);
    for (const Group& group : polyline.data) {
        if (group.code == 10) {
            if (const auto* p = std::get_if<Point3>(&group.value)) path.vertices.push_back(vertexAt({p->x, p->y, elevation}));
        } else if (group.code == 42 && !path.vertices.empty()) {
            if (const auto* bulge = std::get_if<double>(&group.value)) path.vertices.back().second = *bulge;
        }
    }
    addPath(scene, colour, path);
}

// Corners in order around the face; a SOLID lists its third and fourth
// corners crosswise.
void addFace(SceneBuilder& scene, const PlotColour& colour, const Entity& face, bool solid) {
    static constexpr int kFaceOrder[] = {10, 11, 12, 13};
    static constexpr int kSolidOrder[] = {10, 11, 13, 12};
    std::vector<Point3> corners;
    for (int code : solid ? kSolidOrder : kFaceOrder) corners.push_back(groupPoint(face.data, code).value_or(Point3{}));
    const int64_t hidden = solid ? 0 : groupInt(face.data, 70).value_or(0);
    if ((hidden & 15) == 0) {
        Path3 path{{}, true, 0};
        for (const Point3& corner : corners) path.vertices.push_back(vertexAt(corner));
        return addPath(scene, colour, path);
    }
    for (int edge = 0; edge < 4; ++edge) {
        if (hidden & (1 << edge)) continue;
        addPath(scene, colour, {{vertexAt(corners[edge]), vertexAt(corners[(edge + 1) % 4])}, false, 0});
    }
}

void addCircleOrArc(SceneBuilder& scene, const PlotColour& colour, const Entity& entity) {
    const std::optional<Point3> centre = groupPoint(entity.data, 10);
    const double radius = groupReal(entity.data, 40).value_or(0);
    if (!centre || !(radius > 0) || !std::isfinite(radius)) return;
    auto onCircle = [&](double angle, double bulge) {
        return vertexAt({centre->x + radius * std::cos(angle), centre->y + radius * std::sin(angle), centre->z}, bulge);
    };
    if (entity.type == L"CIRCLE") {  // two half circles
        return addPath(scene, colour, {{onCircle(0, 1), onCircle(std::numbers::pi, 1)}, true, 0});
    }
    const double start = groupReal(entity.data, 50).value_or(0) * kDegrees;
    const double sweep = arcSweep(groupReal(entity.data, 51).value_or(360) * kDegrees - start);
    // Halves of the arc: one bulge cannot describe a full circle.
    addPath(scene, colour, {{onCircle(start, std::tan(sweep / 8)), onCircle(start + sweep / 2, std::tan(sweep / 8)),
                             onCircle(start + sweep, 0)},
                            false, 0});
}

void addLeader(SceneBuilder& scene, const PlotColour& colour, const Entity& leader) {
    Path3 path;
    for (const Group& group : leader.data) {
        if (group.code == 10) {
            if (const auto* p = std::get_if<Point3>(&group.value)) path.vertices.push_back(vertexAt(*p));
        }
    }
    if (path.vertices.size() < 2) return;
    if (groupInt(leader.data, 71).value_or(1) != 0) {
        const double size = groupReal(leader.data, 40).value_or(0);
        const PlotVertex tip = project(path.vertices[0].first, scene.view);
        const PlotVertex toward = project(path.vertices[1].first, scene.view);
        scene.scene.items.push_back({colour, PlotArrow{tip.x, tip.y, toward.x, toward.y, size}});
    }
    addPath(scene, colour, path);
}

void addEntity(SceneBuilder& scene, const Drawing& drawing, const Entity& entity, const PlotColour& colour) {
    const std::wstring& type = entity.type;
    if (type == L"LINE") {
        Path3 path{{vertexAt(groupPoint(entity.data, 10).value_or(Point3{})),
                    vertexAt(groupPoint(entity.data, 11).value_or(Point3{}))},
                   false, 0};
        addPath(scene, colour, path);
    } else if (type == L"POLYLINE") {
        addPolyline(scene, colour, drawing, entity);
    } else if (type == L"LWPOLYLINE") {
        addLightweightPolyline(scene, colour, entity);
    } else if (type == L"3DFACE" || type == L"SOLID" || type == L"TRACE") {
        addFace(scene, colour, entity, type != L"3DFACE");
    } else if (type == L"CIRCLE" || type == L"ARC") {
        addCircleOrArc(scene, colour, entity);
    } else if (type == L"TEXT" || type == L"MTEXT") {
        Point3 placed;
        PlotText text = type == L"TEXT" ? textOf(entity, placed) : mtextOf(entity, placed);
        const PlotVertex anchor = project(placed, scene.view);
        text.x = anchor.x;
        text.y = anchor.y;
        scene.scene.items.push_back({colour, std::move(text)});
    } else if (type == L"LEADER") {
        addLeader(scene, colour, entity);
    } else if (type == L"POINT") {
        const PlotVertex p = project(groupPoint(entity.data, 10).value_or(Point3{}), scene.view);
        scene.scene.items.push_back({colour, PlotDot{p.x, p.y}});
    } else if (type == L"INSERT") {
        const PlotVertex p = project(groupPoint(entity.data, 10).value_or(Point3{}), scene.view);
        const std::vector<const Entity*> attributes = subEntitiesOf(drawing, entity, L"ATTRIB");
        const std::string label = attributes.empty() ? "" : utf8(groupString(attributes.front()->data, 1).value_or(L""));
        scene.scene.items.push_back({colour, PlotMarker{p.x, p.y, label}});
    }
}

void widen(std::optional<PlotBounds>& bounds, double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    if (!bounds) {
        bounds = PlotBounds{x, y, x, y};
        return;
    }
    bounds->minX = std::min(bounds->minX, x);
    bounds->minY = std::min(bounds->minY, y);
    bounds->maxX = std::max(bounds->maxX, x);
    bounds->maxY = std::max(bounds->maxY, y);
}

}  // namespace

std::optional<PlotArc> arcOfBulge(double x1, double y1, double x2, double y2, double bulge) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double chord = std::hypot(dx, dy);
    if (bulge == 0 || chord == 0 || !std::isfinite(bulge)) return std::nullopt;
    const double included = 4 * std::atan(bulge);  // signed: positive counter-clockwise
    const double radius = chord / (2 * std::sin(std::abs(included) / 2));
    // The centre lies on the chord's perpendicular bisector, left of the chord
    // for a counter-clockwise arc under a half circle; past a half circle the
    // cosine turns negative and moves it across.
    const double offset = radius * std::cos(included / 2) * (bulge > 0 ? 1.0 : -1.0);
    const double cx = (x1 + x2) / 2 - dy / chord * offset;
    const double cy = (y1 + y2) / 2 + dx / chord * offset;
    const double start = std::atan2(y1 - cy, x1 - cx);
    return PlotArc{cx, cy, radius, start, start + included};
}

PlotScene buildPlotScene(const Drawing& drawing, const std::wstring& layerPattern, PlotView view) {
    PlotScene scene;
    SceneBuilder builder{scene, view};
    for (uint64_t handle : drawing.entityOrder()) {
        const Entity* entity = drawing.find(handle);
        if (entity == nullptr || entity->erased || entity->block != 0 || entity->isSubEntity()) continue;
        if (groupInt(entity->data, 67).value_or(0) == 1) continue;  // paper space
        const LayerView layer = viewOfLayer(drawing, groupString(entity->data, 8).value_or(L"0"), layerPattern);
        if (!layer.shown) continue;
        addEntity(builder, drawing, *entity, colourOf(*entity, layer.colour));
    }
    return scene;
}

std::optional<PlotBounds> sceneBounds(const PlotScene& scene) {
    std::optional<PlotBounds> bounds;
    for (const PlotItem& item : scene.items) {
        if (const auto* path = std::get_if<PlotPath>(&item.shape)) {
            const size_t count = path->vertices.size();
            for (size_t i = 0; i < count; ++i) {
                const PlotVertex& v = path->vertices[i];
                widen(bounds, v.x, v.y);
                if (i + 1 == count && !path->closed) break;
                const PlotVertex& next = path->vertices[(i + 1) % count];
                if (std::optional<PlotArc> arc = arcOfBulge(v.x, v.y, next.x, next.y, v.bulge)) {
                    for (int k = 1; k < 32; ++k) {
                        const double angle = arc->startAngle + (arc->endAngle - arc->startAngle) * k / 32;
                        widen(bounds, arc->centreX + arc->radius * std::cos(angle),
                              arc->centreY + arc->radius * std::sin(angle));
                    }
                }
            }
        } else if (const auto* text = std::get_if<PlotText>(&item.shape)) {
            widen(bounds, text->x, text->y);
        } else if (const auto* arrow = std::get_if<PlotArrow>(&item.shape)) {
            widen(bounds, arrow->tipX, arrow->tipY);
        } else if (const auto* dot = std::get_if<PlotDot>(&item.shape)) {
            widen(bounds, dot->x, dot->y);
        } else if (const auto* marker = std::get_if<PlotMarker>(&item.shape)) {
            widen(bounds, marker->x, marker->y);
        }
    }
    return bounds;
}

}  // namespace tz::cad
