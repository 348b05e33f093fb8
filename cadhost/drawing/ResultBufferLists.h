// Entity lists between result buffers and the drawing's groups: a chain of
// result buffers whose types are the DXF group codes (RTDXF0 standing for 0),
// values as groupValueType says.
#pragma once

#include <string>

#include "adsdef.h"
#include "drawing/Drawing.h"

namespace tz::cad {

// The groups of the list. Entity names become handles of `drawing`; a name
// that does not resolve, a code that is no group code or a missing string
// is refused: false, with the reason in `error`.
bool groupsFromResultBuffers(const resbuf* list, Drawing& drawing, GroupList& groups, std::wstring& error);

// A new list (released with acutRelRb) of the groups; handles become names
// of `drawing`. Null when a buffer cannot be made.
resbuf* resultBuffersFromGroups(const GroupList& groups, const Drawing& drawing);

}  // namespace tz::cad
