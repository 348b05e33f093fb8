#include "drawing/EntityMaker.h"

#include <cmath>

#include "adscodes.h"

namespace tz::cad {

using namespace std::literals;

namespace {

MakeResult rejected(std::wstring reason) { return {MakeOutcome::Rejected, 0, std::move(reason)}; }
MakeResult continued() { return {MakeOutcome::Continued, 0, L""}; }

void discardComplex(Drawing& drawing) {
    drawing.pending().complexEntity.reset();
    drawing.pending().subEntities.clear();
}

uint64_t openBlockRecord(Drawing& drawing) {
    return drawing.pending().block ? drawing.pending().block->recordHandle : 0;
}

// The groups of a table record or block header, without those the drawing derives.
GroupList withoutDerivedGroups(GroupList list) {
    std::erase_if(list, [](const Group& g) {
        return g.code == -1 || g.code == 5 || g.code == 100 || g.code == 102 || g.code == 330 || g.code == 360;
    });
    return list;
}

MakeResult makeLayer(Drawing& drawing, GroupList list) {
    list = withoutDerivedGroups(std::move(list));
    if (std::wstring problem = checkGroupValues(list); !problem.empty()) return rejected(problem);
    std::optional<std::wstring> name = groupString(list, 2);
    if (!name) name = groupString(list, 8);
    if (!name) return rejected(L"a LAYER needs its name (2 or 8)");
    if (!isValidSymbolName(*name)) return rejected(L"invalid layer name \"" + *name + L"\"");
    const std::optional<int64_t> color = groupInt(list, 62);
    if (color && (*color == 0 || *color < -255 || *color > 255)) {
        return rejected(L"a layer's colour (62) must lie between 1 and 255 (negative: off)");
    }
    const TableRecord* linetype = nullptr;
    if (std::optional<std::wstring> linetypeName = groupString(list, 6)) {
        linetype = Drawing::findRecord(drawing.linetypes(), *linetypeName);
        if (linetype == nullptr) return rejected(L"the linetype \"" + *linetypeName + L"\" is not loaded");
    }
    Layer& layer = drawing.ensureLayer(*name);
    if (color) layer.color = static_cast<int>(*color);
    if (linetype) layer.linetype = linetype->name;
    if (std::optional<int64_t> flags = groupInt(list, 70)) layer.flags = static_cast<int>(*flags);
    if (std::optional<int64_t> weight = groupInt(list, 370)) layer.lineweight = static_cast<int>(*weight);
    return {MakeOutcome::Made, 0, L""};
}

MakeResult beginBlock(Drawing& drawing, GroupList list) {
    if (drawing.pending().block) return rejected(L"a block definition is already open");
    discardComplex(drawing);
    list = withoutDerivedGroups(std::move(list));
    if (std::wstring problem = checkGroupValues(list); !problem.empty()) return rejected(problem);
    const std::optional<std::wstring> name = groupString(list, 2);
    if (!name) return rejected(L"a BLOCK needs its name (2)");
    if (!isValidSymbolName(*name) || name->front() == L'*') return rejected(L"invalid block name \"" + *name + L"\"");
    BlockDefinition block;
    block.name = *name;
    removeGroups(list, 2);
    removeGroups(list, 3);
    const std::wstring layerName = groupString(list, 8).value_or(L"0");
    if (!isValidSymbolName(layerName)) return rejected(L"invalid layer name \"" + layerName + L"\"");
    removeGroups(list, 8);
    block.header.push_back(stringGroup(8, drawing.ensureLayer(layerName).name));
    if (findGroup(list, 70) == nullptr) list.push_back(intGroup(70, 0));
    if (findGroup(list, 10) == nullptr) list.push_back(pointGroup(10, {}));
    block.header.insert(block.header.end(), list.begin(), list.end());
    block.recordHandle = drawing.allocateHandle();
    drawing.pending().block = std::move(block);
    return continued();
}

MakeResult endBlock(Drawing& drawing) {
    if (!drawing.pending().block) return rejected(L"no block definition is open");
    discardComplex(drawing);
    BlockDefinition block = std::move(*drawing.pending().block);
    drawing.pending().block.reset();
    // A block may not insert itself, directly or through other blocks: it
    // could never be drawn, and no CAD program would open the drawing.
    for (uint64_t handle : block.entities) {
        const Entity* entity = drawing.find(handle);
        if (entity == nullptr || entity->type != L"INSERT") continue;
        const std::wstring inserted = groupString(entity->data, 2).value_or(L"");
        if (drawing.blockLeadsTo(inserted, block.name)) {
            for (uint64_t made : block.entities) drawing.forget(made);
            return rejected(L"the block \"" + block.name + L"\" would contain itself");
        }
    }
    drawing.defineBlock(std::move(block));
    return {MakeOutcome::Made, 0, L""};
}

// The layer of a complex entity, which its sub-entities take unless told otherwise.
const std::wstring* layerOf(const Entity& entity) {
    const Group* layer = findGroup(entity.data, 8);
    return layer != nullptr ? std::get_if<std::wstring>(&layer->value) : nullptr;
}

// The groups prepareEntityData gives a VERTEX whose list holds nothing but
// a finite point (10) and maybe its flags (70), as mesh and contour runs make
// millions of them: its polyline's layer, the point, the flags (with 32 on a
// 3D polyline). Empty for any other list, which takes the general way.
GroupList plainVertexData(Drawing& drawing, const GroupList& list, const Entity& polyline) {
    if (list.empty() || list.size() > 2 || list.front().code != 10) return {};
    const Point3* point = std::get_if<Point3>(&list.front().value);
    const std::wstring* layerName = layerOf(polyline);
    if (point == nullptr || layerName == nullptr || !std::isfinite(point->x) || !std::isfinite(point->y) ||
        !std::isfinite(point->z)) {
        return {};
    }
    int64_t flags = 0;
    if (list.size() == 2) {
        const int64_t* given = list[1].code == 70 ? std::get_if<int64_t>(&list[1].value) : nullptr;
        if (given == nullptr || *given < -32768 || *given > 32767) return {};
        flags = *given;
    }
    if (groupInt(polyline.data, 70).value_or(0) & 8) flags |= 32;
    GroupList data;
    data.reserve(3);
    data.push_back(stringGroup(8, drawing.ensureLayer(*layerName).name));
    data.push_back(pointGroup(10, *point));
    data.push_back(intGroup(70, flags));
    return data;
}

MakeResult addSubEntity(Drawing& drawing, std::wstring type, GroupList list, MakeContext context) {
    PendingConstruction& pending = drawing.pending();
    const std::wstring_view parentType = type == L"VERTEX"sv ? L"POLYLINE"sv : L"INSERT"sv;
    if (!pending.complexEntity || pending.complexEntity->type != parentType) {
        return rejected(L"a " + type + L" needs an open " + std::wstring(parentType));
    }
    Entity sub;
    if (type == L"VERTEX"sv) sub.data = plainVertexData(drawing, list, *pending.complexEntity);
    sub.type = std::move(type);
    if (sub.data.empty()) {
        context.inheritedLayer = layerOf(*pending.complexEntity);
        sub.data = std::move(list);
        if (std::wstring problem = prepareEntityData(drawing, sub.type, sub.data, context, &*pending.complexEntity);
            !problem.empty()) {
            return rejected(problem);
        }
    }
    pending.subEntities.push_back(std::move(sub));
    return continued();
}

MakeResult finishComplex(Drawing& drawing, GroupList list, MakeContext context) {
    PendingConstruction& pending = drawing.pending();
    if (!pending.complexEntity) return rejected(L"a SEQEND needs an open POLYLINE or INSERT");
    Entity main = std::move(*pending.complexEntity);
    std::vector<Entity> subs = std::move(pending.subEntities);
    discardComplex(drawing);
    if (main.type == L"POLYLINE"sv && subs.empty()) return rejected(L"a polyline needs at least one vertex");

    context.inheritedLayer = layerOf(main);
    Entity end;
    end.type = L"SEQEND";
    end.data = std::move(list);
    if (std::wstring problem = prepareEntityData(drawing, L"SEQEND", end.data, context, &main); !problem.empty()) {
        return rejected(problem);
    }

    main.handle = drawing.allocateHandle();
    main.block = openBlockRecord(drawing);
    if (subs.empty()) {
        removeGroups(main.data, 66);  // an INSERT whose attributes never came
    } else {
        subs.push_back(std::move(end));
        main.subEntities.reserve(subs.size());
        for (Entity& sub : subs) {
            sub.handle = drawing.allocateHandle();
            sub.owner = main.handle;
            sub.indexInOwner = main.subEntities.size();
            sub.block = main.block;
            main.subEntities.push_back(sub.handle);
            drawing.store(std::move(sub));
        }
    }
    const uint64_t handle = main.handle;
    drawing.store(std::move(main));
    drawing.append(handle);
    return {MakeOutcome::Made, handle, L""};
}

MakeResult makeEntity(Drawing& drawing, const std::wstring& type, GroupList list, const MakeContext& context) {
    if (!isKnownEntityType(type)) return rejected(L"unknown entity type \"" + type + L"\"");
    discardComplex(drawing);
    Entity entity;
    entity.type = type;
    entity.data = std::move(list);
    if (std::wstring problem = prepareEntityData(drawing, type, entity.data, context, nullptr); !problem.empty()) {
        return rejected(problem);
    }
    const bool opensComplex =
        type == L"POLYLINE"sv || (type == L"INSERT"sv && groupInt(entity.data, 66).value_or(0) == 1);
    if (opensComplex) {
        drawing.pending().complexEntity = std::move(entity);
        return continued();
    }
    if (type == L"INSERT"sv) removeGroups(entity.data, 66);
    entity.handle = drawing.allocateHandle();
    entity.block = openBlockRecord(drawing);
    const uint64_t handle = entity.handle;
    drawing.store(std::move(entity));
    drawing.append(handle);
    return {MakeOutcome::Made, handle, L""};
}

}  // namespace

MakeResult makeFromList(Drawing& drawing, GroupList list, const MakeContext& context) {
    std::optional<std::wstring> typeName;
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->code != 0 && it->code != RTDXF0) continue;
        auto* text = std::get_if<std::wstring>(&it->value);
        if (text == nullptr) return rejected(L"the entity type (0) must be a string");
        typeName = std::move(*text);
        for (wchar_t& c : *typeName) c = upperLetter(c);
        list.erase(it);
        break;
    }
    if (!typeName) return rejected(L"the list names no entity type (0)");
    std::wstring& type = *typeName;
    if (type == L"LAYER"sv) return makeLayer(drawing, std::move(list));
    if (type == L"BLOCK"sv) return beginBlock(drawing, std::move(list));
    if (type == L"ENDBLK"sv) return endBlock(drawing);
    if (type == L"VERTEX"sv || type == L"ATTRIB"sv) return addSubEntity(drawing, std::move(type), std::move(list), context);
    if (type == L"SEQEND"sv) return finishComplex(drawing, std::move(list), context);
    return makeEntity(drawing, type, std::move(list), context);
}

}  // namespace tz::cad
