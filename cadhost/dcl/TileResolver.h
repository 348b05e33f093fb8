// Turns written definitions into tile trees by resolving prototypes: a tile
// starts as a copy of its prototype (a built-in type or another definition,
// followed down to a built-in type) and then takes its own attributes over
// them and adds its own children after the prototype's.
#pragma once

#include <map>
#include <string>
#include <variant>

#include "dcl/DclSyntax.h"
#include "dcl/Tile.h"

namespace tz::cad::dcl {

// The definitions a file can use by name, each with the file it was written in
// (for messages). Later additions hide earlier ones of the same name, so a
// file may redefine a base definition.
class DefinitionScope {
public:
    struct Entry {
        const TileSpec* definition = nullptr;
        std::wstring file;
    };
    void add(const TileSpec& definition, const std::wstring& file) { entries_[definition.name] = Entry{&definition, file}; }
    const Entry* find(const std::wstring& name) const;

private:
    std::map<std::wstring, Entry> entries_;
};

// A resolution producing more tiles than this is refused: prototypes that use
// each other several times over would otherwise grow without bound.
constexpr size_t kMaxResolvedTiles = 100000;

// The tile tree of the definition `definition` written in `file`. Errors: an unknown
// type or definition, a prototype cycle, children in a tile that holds none,
// a dialog inside another tile, attribute values of the wrong form.
std::variant<Tile, DclError> resolveDefinition(const DefinitionScope& scope, const TileSpec& definition,
                                               const std::wstring& file);

}  // namespace tz::cad::dcl
