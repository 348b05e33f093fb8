// A tile with its prototypes resolved: the built-in type it comes down to,
// every attribute it ends up with (its own over its prototypes') and its
// children in order. Dialogs are trees of these.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dcl/DclSyntax.h"

namespace tz::cad::dcl {

// What a tile does at run time; several built-in types share a kind.
enum class TileKind {
    Dialog,
    Cluster,       // row, column, boxed_row, boxed_column, concatenation, paragraph
    RadioCluster,  // radio_row, radio_column, boxed_radio_row, boxed_radio_column
    Button,
    EditBox,
    Toggle,
    RadioButton,
    Text,  // text, text_part
    Spacer,
    ListBox,
    PopupList,
    Slider,
    Image,
    ImageButton,
    Settings,  // default_dcl_settings: audit settings, no part of a dialog
};

// The kind of a built-in tile type (dialog, edit_box, ...), or nullopt when
// `type` names none.
std::optional<TileKind> builtInKind(const std::wstring& type);

// True for kinds that hold other tiles.
bool holdsChildren(TileKind kind);

struct Tile {
    std::wstring type;  // the built-in type, e.g. "edit_box"
    TileKind kind = TileKind::Spacer;
    std::map<std::wstring, AttributeValue> attributes;
    std::vector<Tile> children;
    int line = 0;  // where the tile was written

    bool has(const std::wstring& name) const { return attributes.count(name) != 0; }
    // The attribute's text, or `fallback` when the tile has none.
    std::wstring text(const std::wstring& name, const std::wstring& fallback = L"") const;
    // True when the attribute is the word true.
    bool isTrue(const std::wstring& name) const;
};

}  // namespace tz::cad::dcl
