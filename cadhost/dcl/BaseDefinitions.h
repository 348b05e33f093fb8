// The host's base definitions: the prototypes every dialog file may use
// without including anything (ok_cancel, errtile, spacer_1, ...).
#pragma once

#include <string>
#include <string_view>

#include "dcl/DclSyntax.h"

namespace tz::cad::dcl {

// The base definitions as DCL text.
std::wstring_view baseDefinitionsText();

// The base definitions parsed once; they are part of the host and always parse.
const DclSyntax& baseDefinitions();

// The name base definitions go by in messages.
inline const std::wstring kBaseDefinitionsName = L"(base definitions)";

}  // namespace tz::cad::dcl
