// Entity access of the host's ADS interface: acdbEntGet, acdbEntNext,
// acdbEntLast, acdbEntMake(X), acdbEntDel, acdbEntMod, acdbHandEnt and the
// table reads acdbTblSearch and acdbTblNext, on the open drawing.
#include <algorithm>
#include <map>

#include "acdbads.h"
#include "acutads.h"
#include "drawing/CurrentDrawing.h"
#include "drawing/EntityMaker.h"
#include "drawing/ResultBufferLists.h"
#include "drawing/SessionSettings.h"

using namespace tz::cad;

namespace {

// The list acdbEntGet hands out: name, type, handle, then the entity's data
// (layer first); a sub-entity names its owner in 330.
GroupList entityList(const Entity& entity) {
    GroupList list = {{-1, HandleRef{entity.handle}}, stringGroup(0, entity.type)};
    if (entity.owner != 0) list.push_back({330, HandleRef{entity.owner}});
    list.push_back(stringGroup(5, handleText(entity.handle)));
    for (const Group& group : entity.data) {
        if (group.code < 1000) list.push_back(group);  // extended data only on request
    }
    return list;
}

bool isNullName(const ads_name name) { return name == nullptr || (name[0] == 0 && name[1] == 0); }

int returnName(uint64_t handle, ads_name result) {
    makeEntityName(currentDrawing(), handle, result);
    return RTNORM;
}

// A VERTEX or SEQEND takes its layer from its polyline and nothing else from
// the session; reading the session's settings for each of the millions of
// vertices a mesh makes would cost more than making them.
bool needsSessionContext(const GroupList& groups) {
    for (const Group& group : groups) {
        if (group.code != 0 && group.code != RTDXF0) continue;
        const auto* type = std::get_if<std::wstring>(&group.value);
        return type == nullptr || !(equalsIgnoreCase(*type, L"VERTEX") || equalsIgnoreCase(*type, L"SEQEND"));
    }
    return true;
}

MakeResult makeFromResultBuffers(const resbuf* list) {
    Drawing& drawing = currentDrawing();
    GroupList groups;
    std::wstring error;
    if (!groupsFromResultBuffers(list, drawing, groups, error)) return {MakeOutcome::Rejected, 0, error};
    // Looked at before the list moves on.
    const MakeContext context = needsSessionContext(groups) ? sessionMakeContext() : MakeContext{};
    return makeFromList(drawing, std::move(groups), context);
}

// --- tables ------------------------------------------------------------------

std::wstring tableKey(const ACHAR* table) { return table != nullptr ? upperCase(table) : L""; }

size_t tableSize(const Drawing& drawing, const std::wstring& table) {
    if (table == L"LAYER") return drawing.layers().size();
    if (table == L"BLOCK") return drawing.blocks().size();
    if (table == L"LTYPE") return drawing.linetypes().size();
    if (table == L"STYLE") return drawing.textStyles().size();
    return 0;
}

std::wstring recordName(const Drawing& drawing, const std::wstring& table, size_t index) {
    if (table == L"LAYER") return drawing.layers()[index].name;
    if (table == L"BLOCK") return drawing.blocks()[index].name;
    if (table == L"LTYPE") return drawing.linetypes()[index].name;
    return drawing.textStyles()[index].name;
}

// The record as the host lists it: (0 . table) (2 . name) (70 . flags) and
// the table's own groups; a block names its first entity in -2.
GroupList recordList(const Drawing& drawing, const std::wstring& table, size_t index) {
    GroupList list = {stringGroup(0, table)};
    if (table == L"LAYER") {
        const Layer& layer = drawing.layers()[index];
        list.push_back(stringGroup(2, layer.name));
        list.push_back(intGroup(70, layer.flags));
        list.push_back(intGroup(62, layer.color));
        list.push_back(stringGroup(6, layer.linetype));
        return list;
    }
    if (table == L"BLOCK") {
        const BlockDefinition& block = drawing.blocks()[index];
        list.push_back(stringGroup(2, block.name));
        list.push_back(intGroup(70, groupInt(block.header, 70).value_or(0)));
        list.push_back(pointGroup(10, groupPoint(block.header, 10).value_or(Point3{})));
        for (uint64_t handle : block.entities) {
            const Entity* entity = drawing.find(handle);
            if (entity != nullptr && !entity->erased) {
                list.push_back({-2, HandleRef{handle}});
                break;
            }
        }
        return list;
    }
    const TableRecord& record = table == L"LTYPE" ? drawing.linetypes()[index] : drawing.textStyles()[index];
    list.push_back(stringGroup(2, record.name));
    list.insert(list.end(), record.data.begin(), record.data.end());
    return list;
}

// acdbTblNext's position per table; acdbTblSearch with setNext moves it.
std::map<std::wstring, size_t>& tablePositions() {
    static std::map<std::wstring, size_t> positions;
    return positions;
}
intptr_t& tablePositionsDrawing() {
    static intptr_t serial = 0;
    return serial;
}

size_t& tablePosition(const std::wstring& table) {
    const intptr_t serial = currentDrawing().serial();
    if (tablePositionsDrawing() != serial) {  // a new drawing starts every table afresh
        tablePositions().clear();
        tablePositionsDrawing() = serial;
    }
    return tablePositions()[table];
}

}  // namespace

struct resbuf* acdbEntGet(const ads_name entity) {
    Drawing& drawing = currentDrawing();
    const Entity* found = resolveEntityName(drawing, entity);
    if (found == nullptr || found->erased) return nullptr;
    return resultBuffersFromGroups(entityList(*found), drawing);
}

int acdbEntNext(const ads_name entity, ads_name result) {
    if (result == nullptr) return RTERROR;
    Drawing& drawing = currentDrawing();
    std::optional<uint64_t> next;
    if (isNullName(entity)) {
        next = drawing.firstEntity();
    } else {
        const Entity* current = resolveEntityName(drawing, entity);
        if (current == nullptr) return RTERROR;
        next = drawing.nextEntity(current->handle);
    }
    if (!next) return RTERROR;
    return returnName(*next, result);
}

int acdbEntLast(ads_name result) {
    if (result == nullptr) return RTERROR;
    std::optional<uint64_t> last = currentDrawing().lastEntity();
    if (!last) return RTERROR;
    return returnName(*last, result);
}

int acdbEntMake(const struct resbuf* list) {
    return makeFromResultBuffers(list).outcome == MakeOutcome::Rejected ? RTERROR : RTNORM;
}

int acdbEntMakeX(const struct resbuf* list, ads_name result) {
    const MakeResult made = makeFromResultBuffers(list);
    if (made.outcome == MakeOutcome::Rejected) return RTERROR;
    // Parts of an unfinished complex entity, layers and blocks have no name yet.
    if (result != nullptr) {
        if (made.handle != 0) {
            makeEntityName(currentDrawing(), made.handle, result);
        } else {
            result[0] = result[1] = 0;
        }
    }
    return RTNORM;
}

int acdbEntDel(const ads_name entity) {
    Drawing& drawing = currentDrawing();
    const Entity* found = resolveEntityName(drawing, entity);
    if (found == nullptr || !drawing.toggleErased(found->handle)) return RTERROR;
    return RTNORM;
}

int acdbEntMod(const struct resbuf* list) {
    Drawing& drawing = currentDrawing();
    GroupList groups;
    std::wstring error;
    if (!groupsFromResultBuffers(list, drawing, groups, error)) return RTERROR;
    const Group* nameGroup = findGroup(groups, -1);
    if (nameGroup == nullptr) return RTERROR;
    Entity* entity = drawing.find(std::get<HandleRef>(nameGroup->value).handle);
    if (entity == nullptr || entity->erased || entity->verbatim) return RTERROR;
    if (std::optional<std::wstring> type = groupString(groups, 0); type && upperCase(*type) != entity->type) {
        return RTERROR;
    }
    const Entity* parent = entity->owner != 0 ? drawing.find(entity->owner) : nullptr;
    MakeContext context = sessionMakeContext();
    // Groups named in the list replace those of the same code (all of them,
    // where the code repeats, in the list's order); the others stay. The
    // data changes only when the result is a good entity.
    GroupList changes;
    for (Group& group : groups) {
        if (group.code != -1 && group.code != 0 && group.code != 5 && group.code != 330) changes.push_back(group);
    }
    GroupList data = entity->data;
    for (size_t i = 0; i < changes.size(); ++i) {
        const int code = changes[i].code;
        if (std::any_of(changes.begin(), changes.begin() + static_cast<std::ptrdiff_t>(i),
                        [code](const Group& g) { return g.code == code; })) {
            continue;  // this code was handled with its first group
        }
        auto first = std::find_if(data.begin(), data.end(), [code](const Group& g) { return g.code == code; });
        const size_t position = first == data.end() ? data.size() : static_cast<size_t>(first - data.begin());
        removeGroups(data, code);
        GroupList replacement;
        for (const Group& group : changes) {
            if (group.code == code) replacement.push_back(group);
        }
        data.insert(data.begin() + static_cast<std::ptrdiff_t>(std::min(position, data.size())), replacement.begin(),
                    replacement.end());
    }
    if (!prepareEntityData(drawing, entity->type, data, context, parent).empty()) return RTERROR;
    // The attributes-follow flag is the entity's own to keep: cleared on
    // an INSERT with attributes, other readers would drop them.
    if (entity->type == L"INSERT") {
        if (entity->subEntities.empty()) removeGroups(data, 66);
        else setGroup(data, intGroup(66, 1));
    }
    // A reference inside a block may not come to insert that block, as
    // making the block may not either.
    if (entity->type == L"INSERT" && entity->block != 0) {
        const BlockDefinition* owner = drawing.findBlockByRecord(entity->block);
        const std::wstring inserted = groupString(data, 2).value_or(L"");
        if (owner != nullptr && drawing.blockLeadsTo(inserted, owner->name)) return RTERROR;
    }
    entity->data = std::move(data);
    return RTNORM;
}

int acdbHandEnt(const ACHAR* handle, ads_name entity) {
    if (handle == nullptr || entity == nullptr) return RTERROR;
    Drawing& drawing = currentDrawing();
    const uint64_t value = parseHandle(handle);
    if (value == 0 || drawing.find(value) == nullptr) return RTERROR;
    return returnName(value, entity);
}

struct resbuf* acdbTblSearch(const ACHAR* table, const ACHAR* name, int setNext) {
    if (name == nullptr) return nullptr;
    const Drawing& drawing = currentDrawing();
    const std::wstring key = tableKey(table);
    const size_t count = tableSize(drawing, key);
    for (size_t i = 0; i < count; ++i) {
        if (!equalsIgnoreCase(recordName(drawing, key, i), name)) continue;
        if (setNext) tablePosition(key) = i + 1;
        return resultBuffersFromGroups(recordList(drawing, key, i), drawing);
    }
    return nullptr;
}

struct resbuf* acdbTblNext(const ACHAR* table, int rewind) {
    const Drawing& drawing = currentDrawing();
    const std::wstring key = tableKey(table);
    size_t& position = tablePosition(key);
    if (rewind) position = 0;
    if (position >= tableSize(drawing, key)) return nullptr;
    return resultBuffersFromGroups(recordList(drawing, key, position++), drawing);
}
