// Reads DCL text into its definitions (DclSyntax). The grammar:
//
//   file       := { "@include" STRING | definition }
//   definition := NAME ":" NAME "{" body "}" [";"]
//   body       := { NAME "=" value ";"            an attribute
//                 | ":" NAME ( "{" body "}" | ";" )   an anonymous child
//                 | NAME ";" }                       a child that is a named definition
//   value      := STRING | NUMBER | NAME
#pragma once

#include <string_view>
#include <variant>

#include "dcl/DclSyntax.h"

namespace tz::cad::dcl {

// Tiles nested deeper than this are refused, so a hostile file cannot exhaust the stack.
constexpr int kMaxNestingDepth = 200;

// The definitions of `text`, or the first error found (its file left empty).
std::variant<DclSyntax, DclError> parseDcl(std::wstring_view text);

}  // namespace tz::cad::dcl
