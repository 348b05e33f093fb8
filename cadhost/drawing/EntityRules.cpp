#include "drawing/EntityRules.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "adscodes.h"
#include "drawing/DxfGroupReader.h"
#include "drawing/DxfText.h"
#include "drawing/GroupCodes.h"

namespace tz::cad {

using namespace std::literals;

namespace {

struct EntityKind {
    std::wstring_view type;  // a view, so that its length is known without counting
    std::initializer_list<int> required;
};

// The groups without which the host refuses an entity list.
const EntityKind kKinds[] = {
    {L"POINT", {10}},           {L"LINE", {10, 11}},      {L"3DFACE", {10, 11, 12}},
    {L"CIRCLE", {10, 40}},      {L"ARC", {10, 40, 50, 51}}, {L"TEXT", {10, 40, 1}},
    {L"MTEXT", {10, 1}},        {L"LWPOLYLINE", {10}},    {L"POLYLINE", {}},
    {L"VERTEX", {10}},          {L"SEQEND", {}},          {L"INSERT", {2, 10}},
    {L"ATTRIB", {10, 40, 1, 2}}, {L"ATTDEF", {10, 40, 2}}, {L"LEADER", {10}},
};

const EntityKind* findKind(std::wstring_view type) {
    for (const EntityKind& kind : kKinds) {
        if (type == kind.type) return &kind;
    }
    return nullptr;
}

bool finite(const Point3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

bool isTextKind(std::wstring_view type) {
    return type == L"TEXT"sv || type == L"MTEXT"sv || type == L"ATTRIB"sv || type == L"ATTDEF"sv;
}

void putDefault(GroupList& data, Group group) {
    if (findGroup(data, group.code) == nullptr) data.push_back(std::move(group));
}

// A light-weight polyline's vertices in the full form the host hands out:
// every 10 followed by its 40, 41 and 42 (0 when not given), the count in 90.
std::wstring normalizeLightweightPolyline(GroupList& data) {
    GroupList head;
    GroupList vertices;
    GroupList tail;
    bool inVertex = false;
    Group widths[3];
    auto closeVertex = [&] {
        if (!inVertex) return;
        for (const Group& g : widths) vertices.push_back(g);
        inVertex = false;
    };
    size_t count = 0;
    for (Group& group : data) {
        switch (group.code) {
            case 10: {
                closeVertex();
                Point3 p = std::get<Point3>(group.value);
                p.z = 0;  // the polyline's elevation (38) holds the height
                vertices.push_back(pointGroup(10, p));
                widths[0] = realGroup(40, 0.0);
                widths[1] = realGroup(41, 0.0);
                widths[2] = realGroup(42, 0.0);
                inVertex = true;
                ++count;
                break;
            }
            case 40:
            case 41:
            case 42:
                if (inVertex) widths[group.code - 40] = group;  // widths before any vertex mean nothing
                break;
            case 91: break;  // vertex identifiers are not kept
            case 210: tail.push_back(group); break;
            default:
                if (inVertex && group.code != 90 && group.code != 70 && group.code != 43 && group.code != 38 &&
                    group.code != 39) {
                    tail.push_back(group);
                } else {
                    head.push_back(group);
                }
        }
    }
    closeVertex();
    if (std::optional<int64_t> given = groupInt(head, 90); given && *given != static_cast<int64_t>(count)) {
        return L"the vertex count (90) does not match the vertices given";
    }
    removeGroups(head, 90);
    GroupList result;
    auto layer = std::find_if(head.begin(), head.end(), [](const Group& g) { return g.code == 8; });
    if (layer != head.end()) {
        result.push_back(*layer);
        head.erase(layer);
    }
    result.push_back(intGroup(90, static_cast<int64_t>(count)));
    if (findGroup(head, 70) == nullptr) result.push_back(intGroup(70, 0));
    result.insert(result.end(), head.begin(), head.end());
    result.insert(result.end(), vertices.begin(), vertices.end());
    result.insert(result.end(), tail.begin(), tail.end());
    data = std::move(result);
    return L"";
}

std::wstring normalizeKind(Drawing& drawing, std::wstring_view type, GroupList& data, const MakeContext& context,
                           const Entity* parent) {
    if (type == L"3DFACE"sv) {
        if (findGroup(data, 13) == nullptr) data.push_back(pointGroup(13, *groupPoint(data, 12)));
    } else if (type == L"LWPOLYLINE"sv) {
        return normalizeLightweightPolyline(data);
    } else if (type == L"POLYLINE"sv) {
        const int64_t flags = groupInt(data, 70).value_or(0);
        // The header's point holds only the elevation of a 2D polyline; a 3D
        // polyline's vertices hold everything.
        Point3 base = groupPoint(data, 10).value_or(Point3{});
        base = (flags & 8) ? Point3{} : Point3{0, 0, base.z};
        setGroup(data, pointGroup(10, base));
        setGroup(data, intGroup(66, 1));
        putDefault(data, intGroup(70, 0));
    } else if (type == L"VERTEX"sv) {
        int64_t flags = groupInt(data, 70).value_or(0);
        if (parent != nullptr && (groupInt(parent->data, 70).value_or(0) & 8)) flags |= 32;
        setGroup(data, intGroup(70, flags));
    } else if (type == L"INSERT"sv) {
        const std::wstring name = *groupString(data, 2);
        const BlockDefinition* block = drawing.findBlock(name);
        if (block == nullptr && context.mendReferences && isValidSymbolName(name)) {
            BlockDefinition empty;
            empty.name = name;
            empty.header = {stringGroup(8, L"0"), intGroup(70, 0), pointGroup(10, {})};
            empty.recordHandle = drawing.allocateHandle();
            drawing.defineBlock(std::move(empty));
            block = drawing.findBlock(name);
        }
        if (block == nullptr) return L"the block \"" + name + L"\" is not defined";
        setGroup(data, stringGroup(2, block->name));
    } else if (type == L"MTEXT"sv) {
        putDefault(data, realGroup(40, context.textSize));
        putDefault(data, intGroup(71, 1));
    } else if (type == L"ATTDEF"sv) {
        putDefault(data, stringGroup(1, L""));
        putDefault(data, stringGroup(3, L""));
        putDefault(data, intGroup(70, 0));
    } else if (type == L"ATTRIB"sv) {
        putDefault(data, intGroup(70, 0));
    } else if (type == L"LEADER"sv) {
        const size_t count = countGroups(data, 10);
        if (count < 2) return L"a leader needs at least two points";
        removeGroups(data, 76);
        data.push_back(intGroup(76, static_cast<int64_t>(count)));
        putDefault(data, stringGroup(3, L"Standard"));
        putDefault(data, intGroup(71, 1));
        putDefault(data, intGroup(72, 0));
        putDefault(data, intGroup(73, findGroup(data, 340) != nullptr ? 0 : 3));
    }
    if (isTextKind(type) && *groupReal(data, 40) <= 0) return L"the text height must be positive";
    if (type == L"CIRCLE"sv || type == L"ARC"sv) {
        if (*groupReal(data, 40) <= 0) return L"the radius must be positive";
    }
    return L"";
}

}  // namespace

bool isKnownEntityType(std::wstring_view type) { return findKind(type) != nullptr; }

bool isValidSymbolName(std::wstring_view name) {
    if (name.empty() || name.size() > 255) return false;
    for (wchar_t c : name) {
        if (c < 32) return false;
        switch (c) {
            case L'<': case L'>': case L'/': case L'\\': case L'"': case L':': case L';': case L'?':
            case L'*': case L'|': case L',': case L'=': case L'`': return false;
            default: break;
        }
    }
    return true;
}

std::wstring checkGroupValues(GroupList& groups) {
    for (Group& group : groups) {
        const int type = groupValueType(group.code);
        // Only a refusal needs the words; a mesh makes millions of vertices.
        auto where = [&] { return L"group " + std::to_wstring(group.code); };
        switch (type) {
            case RTSTR:
                if (!std::holds_alternative<std::wstring>(group.value)) return where() + L" needs a string";
                break;
            case RT3DPOINT:
                if (!std::holds_alternative<Point3>(group.value)) return where() + L" needs a point";
                if (!finite(std::get<Point3>(group.value))) return where() + L" holds a coordinate that is no number";
                break;
            case RTREAL:
                if (const auto* integer = std::get_if<int64_t>(&group.value)) {
                    group.value = static_cast<double>(*integer);
                }
                if (!std::holds_alternative<double>(group.value)) return where() + L" needs a real";
                if (!std::isfinite(std::get<double>(group.value))) return where() + L" holds no number";
                break;
            case RTSHORT:
            case RTLONG: {
                const auto* integer = std::get_if<int64_t>(&group.value);
                if (integer == nullptr) return where() + L" needs an integer";
                const int64_t limit = type == RTSHORT ? 32767 : 2147483647;
                if (*integer > limit || *integer < -limit - 1) return where() + L" is out of range";
                break;
            }
            case RTENAME:
                if (!std::holds_alternative<HandleRef>(group.value)) return where() + L" needs an entity name";
                break;
            default: return L"no such group code: " + std::to_wstring(group.code);
        }
    }
    return L"";
}

// A value longer than the DXF reader takes would make a drawing that saves
// but never opens again. Only MTEXT's text is written in parts.
std::wstring checkTextLengths(std::wstring_view type, const GroupList& groups) {
    constexpr size_t limit = DxfGroupReader::kMaxLineLength;
    constexpr size_t mostWrittenPerUnit = 14;  // two \U+XXXX escapes
    for (const Group& group : groups) {
        const auto* text = std::get_if<std::wstring>(&group.value);
        if (text == nullptr || text->size() * mostWrittenPerUnit <= limit) continue;
        if (type == L"MTEXT"sv && (group.code == 1 || group.code == 3)) continue;
        if (encodeDxfText(*text).size() > limit) {
            return L"group " + std::to_wstring(group.code) + L" holds a text longer than a drawing file takes (" +
                   std::to_wstring(limit) + L" characters as written)";
        }
    }
    return L"";
}

std::wstring prepareEntityData(Drawing& drawing, std::wstring_view type, GroupList& data, const MakeContext& context,
                               const Entity* parent) {
    const EntityKind* kind = findKind(type);
    if (kind == nullptr) return L"unknown entity type \"" + std::wstring(type) + L"\"";

    // Groups the drawing derives itself; an 102 group brackets application data.
    size_t kept = 0;
    bool inApplicationGroup = false;
    for (Group& group : data) {
        if (group.code == 102) {
            const auto* text = std::get_if<std::wstring>(&group.value);
            inApplicationGroup = text != nullptr && !text->empty() && text->front() == L'{';
            continue;
        }
        if (inApplicationGroup) continue;
        if (group.code == -1 || group.code == -2 || group.code == 0 || group.code == 5 || group.code == 100 ||
            group.code == 330 || group.code == 360 || group.code == RTDXF0) {
            continue;
        }
        if (&data[kept] != &group) data[kept] = std::move(group);
        ++kept;
    }
    data.erase(data.begin() + static_cast<std::ptrdiff_t>(kept), data.end());
    if (std::wstring problem = checkGroupValues(data); !problem.empty()) return problem;
    if (std::wstring problem = checkTextLengths(type, data); !problem.empty()) return problem;

    // Extended data comes last and starts with its application's name.
    auto firstExtended =
        std::find_if(data.begin(), data.end(), [](const Group& g) { return isExtendedDataCode(g.code); });
    if (firstExtended != data.end()) {
        if (firstExtended->code != 1001) return L"extended data must start with an application name (1001)";
        if (std::any_of(firstExtended, data.end(), [](const Group& g) { return !isExtendedDataCode(g.code); })) {
            return L"extended data must come after the entity's own groups";
        }
    }

    for (int code : kind->required) {
        if (findGroup(data, code) == nullptr) {
            return L"a " + std::wstring(type) + L" needs group " + std::to_wstring(code);
        }
    }

    // The layer named in the list (kept as a copy: the list changes below),
    // or the default, which outlives this call and needs no copy.
    std::wstring namedLayer;
    std::wstring_view layerName =
        context.inheritedLayer != nullptr ? *context.inheritedLayer : context.currentLayer;
    bool inherited = context.inheritedLayer != nullptr;  // a complex entity's, checked when it was made
    if (std::optional<std::wstring> named = groupString(data, 8)) {
        namedLayer = std::move(*named);
        layerName = namedLayer;
        inherited = false;
    }
    if (!inherited && !isValidSymbolName(layerName)) {
        return L"invalid layer name \"" + std::wstring(layerName) + L"\"";
    }
    if (std::optional<int64_t> color = groupInt(data, 62); color && (*color < 0 || *color > 256)) {
        return L"the colour (62) must lie between 0 and 256";
    }
    if (std::optional<std::wstring> linetype = groupString(data, 6)) {
        const TableRecord* record = Drawing::findRecord(drawing.linetypes(), *linetype);
        if (record == nullptr && !context.mendReferences) {
            return L"the linetype \"" + *linetype + L"\" is not loaded";
        }
        if (record == nullptr) {
            removeGroups(data, 6);
        } else {
            setGroup(data, stringGroup(6, record->name));
        }
    }
    if (isTextKind(type)) {
        const std::wstring style = groupString(data, 7).value_or(L"Standard");
        const TableRecord* record = Drawing::findRecord(drawing.textStyles(), style);
        if (record == nullptr && context.mendReferences) record = Drawing::findRecord(drawing.textStyles(), L"Standard");
        if (record == nullptr) return L"the text style \"" + style + L"\" does not exist";
        setGroup(data, stringGroup(7, record->name));
    }
    if (std::wstring problem = normalizeKind(drawing, type, data, context, parent); !problem.empty()) return problem;

    // The layer goes first, under the layer's own spelling.
    removeGroups(data, 8);
    const Layer& layer = drawing.ensureLayer(layerName);
    data.insert(data.begin(), stringGroup(8, layer.name));
    return L"";
}

}  // namespace tz::cad
