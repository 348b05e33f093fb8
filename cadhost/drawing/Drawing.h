// The drawing database: entities with handles in drawing order, complex
// entities with their sub-entities, layers, block definitions, the tables
// kept for writing, the header variables read from a file, and the entity
// under construction by acdbEntMake.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "drawing/Entity.h"

namespace tz::cad {

// What acdbEntMake has started and not yet finished: a POLYLINE or an INSERT
// with attributes waiting for its SEQEND, a block definition waiting for ENDBLK.
struct PendingConstruction {
    std::optional<Entity> complexEntity;  // its sub-entities are in `subEntities` below
    std::vector<Entity> subEntities;
    std::optional<BlockDefinition> block;
};

class Drawing {
public:
    Drawing();
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

    // A number no other drawing of this process has: entity names carry it so
    // that a name from a drawing that was replaced is refused.
    intptr_t serial() const { return serial_; }

    // Handles: every new object takes the next one; a drawing read from a file
    // keeps the file's handles and goes on after the highest.
    uint64_t allocateHandle() { return nextHandle_++; }
    uint64_t handleSeed() const { return nextHandle_; }
    void reserveHandle(uint64_t used) {
        if (used >= nextHandle_) nextHandle_ = used + 1;
    }

    // --- entities -------------------------------------------------------
    Entity* find(uint64_t handle);
    const Entity* find(uint64_t handle) const;
    // Stores the entity (its handle must be new) without placing it anywhere.
    Entity& store(Entity entity);
    // Places a stored top-level entity at the end of the drawing's own entities
    // or, when entity.block is set, of that block definition.
    void append(uint64_t handle);
    // The drawing's own top-level entities in drawing order, erased ones included.
    const std::vector<uint64_t>& entityOrder() const { return order_; }
    size_t entityCount() const { return entities_.size(); }

    // acdbEntNext's walk: the first live entity; the one after `handle`
    // (stepping into sub-entities and out again after the SEQEND; inside a
    // block definition the walk stays in that block).
    std::optional<uint64_t> firstEntity() const;
    std::optional<uint64_t> nextEntity(uint64_t handle) const;
    // The last live top-level entity of the drawing.
    std::optional<uint64_t> lastEntity() const;

    // Erases a live top-level entity or restores an erased one (acdbEntDel
    // toggles). False for sub-entities and unknown handles.
    bool toggleErased(uint64_t handle);

    // --- layers ---------------------------------------------------------
    const std::vector<Layer>& layers() const { return layers_; }
    Layer* findLayer(std::wstring_view name);
    const Layer* findLayer(std::wstring_view name) const;
    // The layer of this name, added with default properties when missing.
    Layer& ensureLayer(std::wstring_view name);

    // --- linetypes and text styles (kept to be written back) -------------
    std::vector<TableRecord>& linetypes() { return linetypes_; }
    const std::vector<TableRecord>& linetypes() const { return linetypes_; }
    std::vector<TableRecord>& textStyles() { return textStyles_; }
    const std::vector<TableRecord>& textStyles() const { return textStyles_; }
    static const TableRecord* findRecord(const std::vector<TableRecord>& table, std::wstring_view name);

    // --- blocks ---------------------------------------------------------
    const std::vector<BlockDefinition>& blocks() const { return blocks_; }
    const BlockDefinition* findBlock(std::wstring_view name) const;
    const BlockDefinition* findBlockByRecord(uint64_t recordHandle) const;
    // Adds the definition, or replaces the one of the same name (its old
    // entities are dropped; block references now show the new definition).
    void defineBlock(BlockDefinition block);
    // Whether block `from` is `target` or inserts it, directly or through
    // the blocks it inserts (`target` itself is not looked into).
    bool blockLeadsTo(std::wstring_view from, std::wstring_view target) const;
    // Takes a top-level entity out of a block definition, and out of the drawing.
    void removeFromBlock(std::wstring_view name, uint64_t handle);

    // --- header variables read from a file ("$LUNITS" -> its groups) --------
    std::map<std::wstring, GroupList>& header() { return header_; }
    const std::map<std::wstring, GroupList>& header() const { return header_; }

    // --- acdbEntMake's unfinished work --------------------------------------
    PendingConstruction& pending() { return pending_; }
    // Drops a stored entity and its sub-entities, placed nowhere (the parts
    // of a block definition that is given up).
    void forget(uint64_t handle);

private:
    const std::vector<uint64_t>* containerOf(const Entity& entity) const;
    std::optional<uint64_t> nextTopLevel(const Entity& entity) const;

    intptr_t serial_;
    uint64_t nextHandle_ = 0x20;
    std::unordered_map<uint64_t, Entity> entities_;
    std::vector<uint64_t> order_;
    std::unordered_map<uint64_t, size_t> orderIndex_;
    std::vector<Layer> layers_;
    std::vector<TableRecord> linetypes_;
    std::vector<TableRecord> textStyles_;
    std::vector<BlockDefinition> blocks_;
    // Layers and blocks by name, letters compared without case: drawings
    // with tens of thousands of either are looked up once per entity, and
    // looking up takes no copy of the name.
    struct FoldedHash {
        using is_transparent = void;
        size_t operator()(std::wstring_view name) const;
    };
    struct FoldedEqual {
        using is_transparent = void;
        bool operator()(std::wstring_view a, std::wstring_view b) const { return equalsIgnoreCase(a, b); }
    };
    using NameIndex = std::unordered_map<std::wstring, size_t, FoldedHash, FoldedEqual>;
    NameIndex layerIndex_, blockIndex_;
    std::map<std::wstring, GroupList> header_;
    PendingConstruction pending_;
};

}  // namespace tz::cad
