// A DCL file as written: definitions of tiles, each naming its prototype (a
// built-in tile type or another definition), with attributes and children.
// Prototypes are resolved later (TileResolver), once every definition of the
// file is known, so a definition may use one written further down.
#pragma once

#include <string>
#include <vector>

namespace tz::cad::dcl {

// An attribute's value as written: a quoted string (stored without its quotes
// and with escapes resolved), a number, or a bare word (true, left, ...).
struct AttributeValue {
    enum class Kind { String, Number, Word };
    Kind kind = Kind::String;
    std::wstring text;
};

struct Attribute {
    std::wstring name;
    AttributeValue value;
    int line = 0;
};

// One tile as written. Three forms:
//   name : prototype { ... }   a definition (top level only)
//   : prototype { ... }        an anonymous child
//   name;                      a child that is the named definition itself
struct TileSpec {
    std::wstring name;       // definition name, or the name a reference uses
    std::wstring prototype;  // empty for a reference
    bool isReference = false;
    std::vector<Attribute> attributes;
    std::vector<TileSpec> children;
    int line = 0;
};

struct DclSyntax {
    std::vector<TileSpec> definitions;
    // Files named by @include "file" lines, in order, with their lines.
    std::vector<std::pair<std::wstring, int>> includes;
};

// What went wrong where; `file` is the name the file was asked for by.
struct DclError {
    std::wstring file;
    int line = 0;
    std::wstring message;

    // "dtm.dcl, line 12: expected ..." (no line part when line is 0).
    std::wstring describe() const;
};

}  // namespace tz::cad::dcl
