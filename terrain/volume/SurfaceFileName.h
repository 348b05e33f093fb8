// The TIN file that a surface name or a project's point file selects.
#pragma once

#include <string>

namespace tz::terrain::volume {

// The name with its extension (from the last "." of its file name on)
// replaced by ".tin": ground.dat gives ground.tin, ground.new.tin stays
// ground.new.tin. A name without an extension gets ".tin" appended; a "."
// in a folder name (before the last "/" or "\") is not an extension.
// An empty name gives ".tin".
std::wstring tinFileName(const std::wstring& name);

}  // namespace tz::terrain::volume
