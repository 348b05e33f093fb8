// An entity of the drawing and the table records that entities refer to.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "drawing/Group.h"

namespace tz::cad {

// An entity's upper-case DXF type: "LINE", "POLYLINE", "VERTEX", ... Meshes
// and contours make millions of entities of a handful of types, so each
// type's text is kept once for the whole process and an entity holds only a
// pointer to it (a text of its own would take its own block of memory: a
// wide "VERTEX" is too long to fit inside the string).
class EntityType {
public:
    EntityType();  // no type yet: the empty text
    EntityType(std::wstring_view text);
    EntityType(const std::wstring& text) : EntityType(std::wstring_view(text)) {}
    EntityType(const wchar_t* text) : EntityType(std::wstring_view(text)) {}

    const std::wstring& text() const { return *text_; }
    operator const std::wstring&() const { return *text_; }
    operator std::wstring_view() const { return *text_; }

    bool operator==(std::wstring_view other) const { return *text_ == other; }
    bool operator==(const wchar_t* other) const { return *text_ == other; }

private:
    const std::wstring* text_;
};

inline std::wstring operator+(const wchar_t* text, const EntityType& type) { return text + type.text(); }
inline std::wstring operator+(const EntityType& type, const wchar_t* text) { return type.text() + text; }

// The groups of an entity of a kind the drawing does not know, as the file
// had them (code and value text): written back as read, never changed.
using FileGroups = std::vector<std::pair<int, std::wstring>>;

struct Entity {
    uint64_t handle = 0;
    EntityType type;
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
    // read (subclass markers included) and are written back from them;
    // `data` then holds the same groups converted, for acdbEntGet and
    // selection filters. Held by pointer: all other entities have none, and
    // a drawing holds millions of them.
    bool verbatim = false;
    std::shared_ptr<const FileGroups> fileGroups;

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
