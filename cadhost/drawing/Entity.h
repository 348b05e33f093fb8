// An entity of the drawing and the table records that entities refer to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "drawing/Group.h"

namespace tz::cad {

struct Entity {
    uint64_t handle = 0;
    std::wstring type;  // upper-case DXF type: "LINE", "POLYLINE", "VERTEX", ...
    // Every group after the type and the handle, in the order acdbEntGet hands
    // them out: the layer (8) first. Groups the drawing derives itself (-1, 0,
    // 5, 330 and, for the kinds the drawing knows, the 100 subclass markers)
    // are not kept here.
    GroupList data;
    // A sub-entity (VERTEX, ATTRIB, SEQEND) names its POLYLINE or INSERT here,
    // and its place among the owner's sub-entities (so that walking a long
    // polyline step by step stays linear).
    uint64_t owner = 0;
    size_t indexInOwner = 0;
    // The block record of the block definition holding the entity; 0 for the
    // drawing's own entities (model and paper space).
    uint64_t block = 0;
    // A complex entity's VERTEX or ATTRIB entities in order, its SEQEND last.
    std::vector<uint64_t> subEntities;
    bool erased = false;
    // Entities of kinds the drawing does not know keep the file's groups as
    // read (code and value text, subclass markers included) and are written
    // back from them; `data` then holds the same groups converted, for
    // acdbEntGet and selection filters.
    bool verbatim = false;
    std::vector<std::pair<int, std::wstring>> fileGroups;

    bool isSubEntity() const { return owner != 0; }
};

// A layer of the LAYER table. A negative colour means the layer is off.
struct Layer {
    std::wstring name;
    int color = 7;
    int flags = 0;  // 1 frozen, 4 locked
    std::wstring linetype = L"Continuous";
    int lineweight = -3;  // default
};

// A record of a table the drawing keeps only to write it back (LTYPE, STYLE):
// its name and its groups after the name.
struct TableRecord {
    std::wstring name;
    GroupList data;
};

// A block definition: the BLOCK entity's groups (8 layer, 70 flags, 10 base
// point, 4 description, ...) and the entities between BLOCK and ENDBLK.
struct BlockDefinition {
    std::wstring name;
    GroupList header;
    std::vector<uint64_t> entities;  // top-level entities in order
    uint64_t recordHandle = 0;       // identifies the block; its entities name it in Entity::block
};

}  // namespace tz::cad
